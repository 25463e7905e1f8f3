# korvale_warnings(target): the project's warning level, fatal when KORVALE_WERROR is on (CI).
function(korvale_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8 $<$<BOOL:${KORVALE_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             $<$<BOOL:${KORVALE_WERROR}>:-Werror>)
  endif()
endfunction()
