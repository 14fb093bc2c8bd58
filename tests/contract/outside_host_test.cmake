# A host written as an outside author would (outside_host.c) runs every function of our
# plug-ins that needs no table over one file; polyshift-cli runs the same functions one at a
# time. Both must give the same bytes and the same new names. The host lives in a folder of
# its own, with our plug-ins in its own plugin/ folder and nothing else of ours beside it (nor,
# under Wine, on the search path), and loads each plug-in by its absolute path: a plug-in that
# imported anything of ours would not load there. It also runs rulebook's XfmRegExp in a text
# object of its own making, which must give what polyshift-cli's regular-expression tool gives.
# Run with -DBIN=<build>/bin -DCLI=<polyshift-cli> -DRUNTIME=<the runtime library>
# -DSUFFIX=<the plug-ins' suffix> -DHOST=<the outside host> -DINPUT=<a text file>
# -DWORK=<a scratch folder>, and under Wine -DWINE_RUN=<the build's Wine script>.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/program/plugin ${WORK}/outside/plugin ${WORK}/host)
file(COPY ${CLI} ${RUNTIME} DESTINATION ${WORK}/program)
get_filename_component(cliName ${CLI} NAME)
set(cli ${WORK}/program/${cliName})
file(GLOB ours ${BIN}/plugin/*${SUFFIX})
file(COPY ${ours} DESTINATION ${WORK}/program/plugin)
file(COPY ${HOST} DESTINATION ${WORK}/outside)
file(COPY ${ours} DESTINATION ${WORK}/outside/plugin)
configure_file(${INPUT} ${WORK}/in.txt COPYONLY)

get_filename_component(hostName ${HOST} NAME)
set(pluginFolder ${WORK}/outside/plugin)
if(WINE_RUN)
  string(REPLACE "/" "\\" pluginFolder "Z:${pluginFolder}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env POLYSHIFT_WINEPATH=none
                        ${WINE_RUN} ${WORK}/outside/${hostName} ${pluginFolder} in.txt host
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_VARIABLE lines
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the outside host failed with ${status}:\n${lines}\n${errors}")
endif()
string(REPLACE "\r" "" lines "${lines}")
string(REGEX MATCHALL "[^\n]+" lines "${lines}")
set(regexpLines ${lines})
list(FILTER regexpLines INCLUDE REGEX "^regexp ")
list(FILTER lines EXCLUDE REGEX "^regexp ")
list(LENGTH lines count)
if(count LESS 20)
  message(FATAL_ERROR "the outside host ran only ${count} functions:\n${lines}")
endif()

if(NOT regexpLines MATCHES "^regexp rulebook [0-9]+$")
  message(FATAL_ERROR "the outside host ran no XfmRegExp of rulebook: '${regexpLines}'")
endif()
execute_process(COMMAND ${WINE_RUN} ${cli} regex -e "s/([0-9]+)/<$1>/g" -o cli-regexp in.txt
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
file(READ ${WORK}/in.txt input HEX)
file(READ ${WORK}/host/regexp.out expected HEX)
file(READ ${WORK}/cli-regexp/in.txt got HEX)
if(NOT got STREQUAL expected)
  message(FATAL_ERROR "XfmRegExp gave the outside host other bytes than polyshift-cli regex")
endif()
if(got STREQUAL input)
  message(FATAL_ERROR "the command s/([0-9]+)/<$1>/g changed nothing in ${INPUT}")
endif()

foreach(line IN LISTS lines)
  string(REPLACE " " ";" fields "${line}")
  list(GET fields 0 function)
  list(GET fields 1 outcome)
  string(REPLACE ":" "-" tag "${function}")
  file(MAKE_DIRECTORY ${WORK}/cli-${tag})
  execute_process(COMMAND ${WINE_RUN} ${cli} run -y -o cli-${tag} -f ${function} in.txt
                  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(outcome STREQUAL "converted")
    list(GET fields 3 name)
    if(name STREQUAL "-")
      set(name in.txt)
    endif()
    file(READ ${WORK}/host/${tag}.out expected HEX)
  else()
    set(name in.txt)
    set(expected "${input}")
  endif()
  if(NOT EXISTS ${WORK}/cli-${tag}/${name})
    file(GLOB made RELATIVE ${WORK} ${WORK}/cli-${tag}/*)
    message(FATAL_ERROR "${function}: polyshift-cli wrote '${made}', the host named '${name}'")
  endif()
  file(READ ${WORK}/cli-${tag}/${name} got HEX)
  if(NOT got STREQUAL expected)
    message(FATAL_ERROR "${function}: polyshift-cli's bytes differ from the outside host's")
  endif()
endforeach()
message(STATUS "${count} functions agree")
