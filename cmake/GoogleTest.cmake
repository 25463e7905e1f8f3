# Natively the system GoogleTest is used; a cross build compiles Debian's GoogleTest sources
# (/usr/src/googletest) with the cross compiler so the tests run as Windows programs under Wine.
include(GoogleTest)
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# korvale_test(name sources... LIBS libs...): one test program, one ctest entry; under a cross
# build ctest runs it through CMAKE_CROSSCOMPILING_EMULATOR (Wine).
function(korvale_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  korvale_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  korvale_wine_serial(${name})
endfunction()

# korvale_wine_serial(tests...): under a cross build every test runs in the one Wine prefix and
# wineserver; two at a time disturb each other, so ctest -j runs them one after another.
function(korvale_wine_serial)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
