#pragma once

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace korvale::testing {

// The account file-permission cases run as: "nobody" when the tests run as root (as CI does, and
// root writes where no user can), the current user otherwise.
struct UnprivilegedUser {
  uid_t uid;
  gid_t gid;
  gid_t alsoIn = static_cast<gid_t>(-1);  // a further group the account belongs to, if any
};

inline UnprivilegedUser unprivilegedUser() {
  if (::geteuid() != 0) return {::geteuid(), ::getegid()};
  const passwd* nobody = ::getpwnam("nobody");
  return nobody != nullptr ? UnprivilegedUser{nobody->pw_uid, nobody->pw_gid}
                           : UnprivilegedUser{65534, 65534};
}

// Makes a path (not what is below it, nor a link's target) belong to an account, by default that
// one. Only root can give a path away; for anyone else this changes nothing.
inline void handOver(const std::filesystem::path& path, uid_t uid = unprivilegedUser().uid) {
  if (::geteuid() == 0) (void)!::lchown(path.c_str(), uid, unprivilegedUser().gid);
}

// Runs `action` in a forked child as that account (or, under root, another one) and returns the
// text it returned, or what went wrong: "exception: ...", "cannot drop privileges", "child
// died". The child leaves its outcome in a file of its own.
inline std::string asUnprivilegedUser(const std::function<std::string()>& action,
                                      UnprivilegedUser user = unprivilegedUser()) {
  char outcome[] = "/tmp/korvale-outcome-XXXXXX";
  const int fd = ::mkstemp(outcome);
  if (fd < 0) return "no outcome file";
  (void)!::fchown(fd, user.uid, user.gid);
  ::close(fd);
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(30);  // an action that never ends (a walk round a loop of links) ends the child
    std::string result;
    if (::geteuid() == 0 &&
        (::setgroups(user.alsoIn == static_cast<gid_t>(-1) ? 0 : 1, &user.alsoIn) != 0 ||
         ::setresgid(user.gid, user.gid, user.gid) != 0 ||
         ::setresuid(user.uid, user.uid, user.uid) != 0)) {
      result = "cannot drop privileges";
    } else {
      try {
        result = action();
      } catch (const std::exception& error) {
        result = std::string("exception: ") + error.what();
      }
    }
    std::ofstream(outcome, std::ios::binary) << result;
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  std::ifstream in(outcome, std::ios::binary);
  std::string result(std::istreambuf_iterator<char>(in), {});
  std::remove(outcome);
  return WIFEXITED(status) ? result : "child died";
}

}  // namespace korvale::testing
#endif
