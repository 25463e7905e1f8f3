# The hardening Debian builds its packages with, for the Linux release builds: checked buffer
# functions, stack protection, and relocations read-only and bound at start-up. The sanitizer and
# fuzz builds keep their own flags, and Windows its own.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_BUILD_TYPE STREQUAL "Release" AND
   NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  add_compile_options(-D_FORTIFY_SOURCE=2 -fstack-protector-strong)
  add_link_options(-Wl,-z,relro,-z,now)
endif()

# The Linux release programs, like the Windows ones, keep only what they call: every function and
# datum in a section of its own, and the sections nothing reaches left out.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_BUILD_TYPE STREQUAL "Release")
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
endif()
