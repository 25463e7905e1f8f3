# Every result must be the same bits with every compiler: no fused multiply-add contraction, and
# on 32-bit x86 the SSE2 unit instead of the x87 stack, whose 80-bit registers round twice.
if(NOT MSVC)
  add_compile_options(-ffp-contract=off)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
endif()
