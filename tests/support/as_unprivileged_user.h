#pragma once

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace korvale::testing {

// The account permission cases run as: "nobody" when the tests run as root (as CI does, and root
// writes where no user can), the current user otherwise.
struct UnprivilegedUser {
  uid_t uid;
  gid_t gid;
};

inline UnprivilegedUser unprivilegedUser() {
  if (::geteuid() != 0) return {::geteuid(), ::getegid()};
  const passwd* nobody = ::getpwnam("nobody");
  return nobody != nullptr ? UnprivilegedUser{nobody->pw_uid, nobody->pw_gid}
                           : UnprivilegedUser{65534, 65534};
}

// Makes a path (not what is below it) belong to that account, so that it can be written there.
inline void handOver(const std::filesystem::path& path) {
  const UnprivilegedUser user = unprivilegedUser();
  if (::lchown(path.c_str(), user.uid, user.gid) != 0) throw std::runtime_error("lchown failed");
}

// Runs `action` in a forked child as that account and returns the text it returned, or what
// went wrong: "exception: ...", "cannot drop privileges", "child died".
inline std::string asUnprivilegedUser(const std::function<std::string()>& action) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    std::string result;
    const UnprivilegedUser user = unprivilegedUser();
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(user.gid, user.gid, user.gid) != 0 ||
         ::setresuid(user.uid, user.uid, user.uid) != 0)) {
      result = "cannot drop privileges";
    } else {
      try {
        result = action();
      } catch (const std::exception& error) {
        result = std::string("exception: ") + error.what();
      }
    }
    std::size_t written = 0;
    while (written < result.size()) {
      const ssize_t done = ::write(pipeEnds[1], result.data() + written, result.size() - written);
      if (done <= 0) break;
      written += static_cast<std::size_t>(done);
    }
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string result;
  char buffer[512];
  for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    result.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? result : "child died";
}

}  // namespace korvale::testing
#endif
