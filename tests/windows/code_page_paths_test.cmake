# Plug-ins read the table's path and the names they rename in code page 932. Through
# polyshift-cli.exe under Wine: a table in a folder with a Japanese name is read, and pictile
# renames a bitmap whose name ends in a character whose second UTF-8 byte is a Shift JIS lead
# byte ("ぁ" is E3 81 81), which a plug-in reading the UTF-8 bytes would take for half a character.
# A table whose path code page 932 cannot hold goes by its short name or is skipped with a
# message that names it; either way nothing is written under a mangled name.
# Run with -DBIN=<build>/bin -DEXAMPLES=<examples> -DWINE_RUN=<Wine script> -DWORK=<scratch>.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/表 ${WORK}/a😀é ${WORK}/in ${WORK}/out)
file(COPY ${EXAMPLES}/rulebook-strings/tables/strings.tbl DESTINATION ${WORK}/表)
file(COPY ${EXAMPLES}/rulebook-strings/tables/strings.tbl DESTINATION ${WORK}/a😀é)
file(COPY ${EXAMPLES}/rulebook-strings/notice.txt DESTINATION ${WORK}/in)
file(COPY_FILE ${EXAMPLES}/pictile/tile-16x16-565.bmp ${WORK}/in/ぁ.bmp)

include(${CMAKE_CURRENT_LIST_DIR}/windows_cli.cmake)

cli(run -y -o out -t 表/strings.tbl -f rulebook:1 in/notice.txt)
file(READ ${WORK}/in/notice.txt before HEX)
file(READ ${WORK}/out/notice.txt after HEX)
if(NOT status EQUAL 0 OR before STREQUAL after)
  message(FATAL_ERROR "the table in 表 was not applied (status ${status}):\n${out}")
endif()

cli(run -y -o out -f pictile:0 in/ぁ.bmp)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/out/ぁ.ico")
  file(GLOB made ${WORK}/out/*)
  message(FATAL_ERROR "ぁ.bmp did not become ぁ.ico (status ${status}): ${made}\n${out}")
endif()

file(REMOVE ${WORK}/out/notice.txt)
cli(run -y -o out -t a😀é/strings.tbl -f rulebook:1 in/notice.txt)
file(READ ${WORK}/out/notice.txt after HEX)
if(before STREQUAL after)
  string(FIND "${out}" "a😀é" named)
  if(named EQUAL -1)
    message(FATAL_ERROR "a table it could not hand over was skipped without naming it:\n${out}")
  endif()
  message(STATUS "the table was skipped with: ${out}")
else()
  message(STATUS "the table was read by its short name")
endif()
file(GLOB made RELATIVE ${WORK}/out ${WORK}/out/*)
list(SORT made)
if(NOT made STREQUAL "notice.txt;ぁ.ico")
  message(FATAL_ERROR "unexpected results: ${made}")
endif()
