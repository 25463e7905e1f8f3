#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace korvale::testing {

// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes. Tests keep their state files here, never beside the build's binaries.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("korvale-test-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string u8path() const { return path_.u8string(); }

  // The bytes of a file in the directory; empty when it is missing.
  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace korvale::testing
