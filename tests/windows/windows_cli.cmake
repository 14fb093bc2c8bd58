# cli(ARGUMENTS...): runs BIN/polyshift-cli.exe under Wine (WINE_RUN) in WORK, and sets
# `status` and `out` (standard output and error together) in the caller.
function(cli)
  execute_process(COMMAND ${WINE_RUN} ${BIN}/polyshift-cli.exe ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(status ${status} PARENT_SCOPE)
  set(out "${out}${err}" PARENT_SCOPE)
endfunction()
