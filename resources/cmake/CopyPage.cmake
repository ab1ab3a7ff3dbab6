# Copies one page into the build tree (cmake -P).
#   -DSRC=<UTF-8 source>  -DDST=<output file>  -DICONV=<iconv program>
# A page whose head declares charset shift_jis is converted from UTF-8 to
# CP932 (code page 932), the encoding the program reads its pages in. The
# conversion fails when a character has no CP932 form, and also when a
# character would only come back as a different one (for example U+301C or
# U+00A5, which glibc maps to other code points), so that the installed page
# always says exactly what its source says. Other files are copied unchanged.

foreach(var SRC DST ICONV)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CopyPage.cmake: ${var} is not set")
  endif()
endforeach()

get_filename_component(dst_dir "${DST}" DIRECTORY)
file(MAKE_DIRECTORY "${dst_dir}")

file(READ "${SRC}" text)
string(TOLOWER "${text}" lower)
string(REGEX MATCH "charset[ \t]*=[ \t]*[\"']?shift_jis" declares_sjis "${lower}")

if(NOT declares_sjis)
  file(COPY_FILE "${SRC}" "${DST}")
  return()
endif()

set(tmp "${DST}.cp932.tmp")
set(back "${DST}.utf8.tmp")
file(REMOVE "${tmp}" "${back}")

execute_process(
  COMMAND "${ICONV}" -f UTF-8 -t CP932 "${SRC}"
  OUTPUT_FILE "${tmp}"
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "${SRC}: cannot be converted to CP932 (iconv: ${rc})\n${err}")
endif()

execute_process(
  COMMAND "${ICONV}" -f CP932 -t UTF-8 "${tmp}"
  OUTPUT_FILE "${back}"
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
if(rc EQUAL 0)
  file(SHA256 "${SRC}" h_src)
  file(SHA256 "${back}" h_back)
endif()
file(REMOVE "${back}")
if(NOT rc EQUAL 0 OR NOT h_src STREQUAL h_back)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "${SRC}: holds a character that CP932 cannot keep "
                      "(it would come back changed); use another character")
endif()

file(RENAME "${tmp}" "${DST}")
