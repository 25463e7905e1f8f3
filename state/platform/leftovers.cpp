#include "state/platform/leftovers.h"

#include <chrono>
#include <filesystem>

namespace korvale::platform {

void removeLeftoverTemporaries(const std::string& target) noexcept {
  namespace fs = std::filesystem;
  constexpr auto kMinimumAge = std::chrono::minutes(1);
  try {
    const fs::path path = fs::u8path(target);
    const std::string prefix = path.filename().u8string() + ".tmp-";
    const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const auto now = fs::file_time_type::clock::now();
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
      const std::string name = entry.path().filename().u8string();
      if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
      if (!entry.is_regular_file(error) || entry.is_symlink(error)) continue;
      const auto written = entry.last_write_time(error);
      if (error || now - written < kMinimumAge) continue;
      fs::remove(entry.path(), error);
    }
  } catch (...) {
    // Tidying up is a courtesy; the save goes on without it.
  }
}

}  // namespace korvale::platform
