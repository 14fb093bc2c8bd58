# An outside author's plug-in beside ours: polyshift-cli.exe lists it, runs it in a chain
# with eolfix, and takes the name it gives the result. Run with -DBIN=<build>/bin
# -DPLUGIN=<the outside DLL> -DWINE_RUN=<the build's Wine script> -DWORK=<a scratch folder>.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/program/plugin ${WORK}/out)
file(COPY ${BIN}/polyshift-cli.exe ${BIN}/polyshift-runtime.dll DESTINATION ${WORK}/program)
file(GLOB ours ${BIN}/plugin/*.dll)
file(COPY ${ours} ${PLUGIN} DESTINATION ${WORK}/program/plugin)
file(WRITE ${WORK}/letter.txt "Dear reader,\nhello\n")

function(cli)
  execute_process(COMMAND ${WINE_RUN} ${WORK}/program/polyshift-cli.exe ${ARGN}
                  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "polyshift-cli ${ARGN}: status ${status}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

cli(list)
get_filename_component(name ${PLUGIN} NAME_WE)
foreach(expected "${name}.dll v.1.2.3.4" "${name}:0\tOutside capitals" "eolfix:0\t")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "'list' does not show '${expected}':\n${out}")
  endif()
endforeach()

cli(run -y -o out -f ${name}:0 -f eolfix:0 letter.txt)
if(NOT EXISTS ${WORK}/out/letter.up)
  file(GLOB made ${WORK}/out/*)
  message(FATAL_ERROR "the outside plug-in's new name was not taken: ${made}")
endif()
file(READ ${WORK}/out/letter.up result HEX)
string(HEX "DEAR READER,\r\nHELLO\r\n" expected)
if(NOT result STREQUAL expected)
  message(FATAL_ERROR "out/letter.up holds ${result}, not ${expected}")
endif()

# Plug-ins read paths in code page 932. A name it holds is handed over in it; a name it lacks
# some characters of is asked as a stand-in, and the plug-in's edit lands on the real name.
# An edit of a character the code page lacks is not carried back: the name stays.
set(holds "表ソ")
set(lacks "a😀é")
file(MAKE_DIRECTORY ${WORK}/names ${WORK}/named)
foreach(stem IN ITEMS "${holds}" "${lacks}")
  file(WRITE "${WORK}/names/${stem}.txt" "x")
endforeach()
file(WRITE "${WORK}/names/x.${lacks}" "x")
cli(run -y -o named -f ${name}:0 names)
foreach(made IN ITEMS "${holds}.up" "${lacks}.up" "x.${lacks}")
  if(NOT EXISTS "${WORK}/named/${made}")
    file(GLOB found ${WORK}/named/*)
    message(FATAL_ERROR "'${made}' was not written: ${found}")
  endif()
endforeach()
