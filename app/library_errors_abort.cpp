// GCC's library reports a misuse of its containers (an index past the end, a string longer than
// it can hold) by throwing std::logic_error and its kin, whose texts are kept in the library's old
// reference-counted string: linked statically, that brings some 50 KB of code into korvale-calc
// for errors it never catches. Nothing in the program catches them, so they end it through
// std::terminate today; ending it here does the same without the weight. Running out of memory
// is still std::bad_alloc, as callers expect.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>
#include <typeinfo>

namespace std {

void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}
void __throw_bad_cast() {
  abort();
}
void __throw_bad_typeid() {
  abort();
}
void __throw_bad_exception() {
  abort();
}
void __throw_logic_error(const char*) {
  abort();
}
void __throw_domain_error(const char*) {
  abort();
}
void __throw_invalid_argument(const char*) {
  abort();
}
void __throw_length_error(const char*) {
  abort();
}
void __throw_out_of_range(const char*) {
  abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
  abort();
}
void __throw_runtime_error(const char*) {
  abort();
}
void __throw_range_error(const char*) {
  abort();
}
void __throw_overflow_error(const char*) {
  abort();
}
void __throw_underflow_error(const char*) {
  abort();
}

}  // namespace std
