# korvale_library(name SOURCES files... [DEPENDS targets...]): one folder's library, korvale_<name>,
# with the alias korvale::<name> that everything else links through. Headers are included from
# the project root ("core/text_value.h").
function(korvale_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(korvale_${name} ${ARG_SOURCES})
  add_library(korvale::${name} ALIAS korvale_${name})
  target_include_directories(korvale_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(korvale_${name} PUBLIC ${ARG_DEPENDS})
  korvale_warnings(korvale_${name})
endfunction()
