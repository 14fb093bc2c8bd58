# Reads the export table of one Windows library with objdump and fails unless its names are
# exactly the expected ones, no more and no fewer.
#   cmake -DOBJDUMP=... -DLIBRARY=x.dll -DEXPECTED="a;b;c" -P check_exports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE table RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${LIBRARY}")
endif()
# The names follow the heading "[Ordinal/Name Pointer] Table", one "[ n] name" per line.
string(FIND "${table}" "[Ordinal/Name Pointer] Table" at)
set(exported)
if(at GREATER -1)
  string(SUBSTRING "${table}" ${at} -1 table)
  string(REGEX MATCHALL "\n[ \t]*\\[[ 0-9]+\\] [^\n]+" lines "${table}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\n[ \t]*\\[[ 0-9]+\\] " "" name "${line}")
    list(APPEND exported "${name}")
  endforeach()
endif()
list(SORT exported)
list(SORT EXPECTED)
if(NOT exported STREQUAL EXPECTED)
  message(FATAL_ERROR "${LIBRARY} exports\n  ${exported}\nbut should export exactly\n  ${EXPECTED}")
endif()
message(STATUS "${LIBRARY}: ${exported}")
