# Large sources are mapped, and a run still writes over them. Through polyshift-cli.exe under
# Wine, on a file of about 400 KB: a run into another folder gives the right bytes and leaves
# the source alone; with --overwrite, and with an output folder that names the source's own
# folder another way (other case, "\" for "/"), the result replaces the source.
# Run with -DBIN=<build>/bin -DWINE_RUN=<Wine script> -DWORK=<scratch>.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/in ${WORK}/out)
string(REPEAT "a line of text, long enough\n" 14000 lf)
string(REPLACE "\n" "\r\n" crlf "${lf}")
file(WRITE ${WORK}/in/big.txt "${lf}")

include(${CMAKE_CURRENT_LIST_DIR}/windows_cli.cmake)

# expect(FILE TEXT WHAT): FILE holds TEXT, and the last run succeeded. Compared by hashes, as
# file(READ) drops carriage returns.
function(expect file text what)
  file(SHA256 ${WORK}/${file} got)
  string(SHA256 want "${text}")
  if(NOT status EQUAL 0 OR NOT got STREQUAL want)
    file(SIZE ${WORK}/${file} length)
    message(FATAL_ERROR "${what}: status ${status}, ${file} holds ${length} bytes\n${out}")
  endif()
endfunction()

cli(run -y -o out -f eolfix:0 in/big.txt)
expect(out/big.txt "${crlf}" "a run into another folder")
expect(in/big.txt "${lf}" "the source of a run into another folder")

cli(run --overwrite -f eolfix:0 in/big.txt)
expect(in/big.txt "${crlf}" "a run with --overwrite")

cli(run -y -o IN -f eolfix:2 in/big.txt)
expect(in/big.txt "${lf}" "a run into the source's folder named in capitals")

cli(run -y -o .\\in -f eolfix:0 in/big.txt)
expect(in/big.txt "${crlf}" "a run into the source's folder named with a backslash")

file(GLOB left RELATIVE ${WORK}/in ${WORK}/in/*)
if(NOT left STREQUAL "big.txt")
  message(FATAL_ERROR "files left beside the source: ${left}")
endif()
