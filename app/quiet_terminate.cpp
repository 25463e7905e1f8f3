// An exception nobody catches ends a program through std::terminate, whose default handler in
// GCC's library prints the exception's type by name, and so brings the library's demangler (some
// 50 KB) into every statically linked Windows program. None of these programs ends that way by
// design; where one does, ending at once is all there is to do. Defined here, the plain handler
// takes the library's place.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx
