#!/usr/bin/env bash
# The Windows zip as a user gets it: unpacked into an empty folder and run under a Wine prefix
# made for it alone, with no path to the build. Its command line converts an example folder to
# the same bytes as the Linux command line does; its window starts on an example file, lists
# the file and the plug-ins' functions, closes, and leaves polyshift.ini beside itself.
# Usage: zip_fresh_prefix.sh ZIP LINUX_CLI WINDOW_PROBE WORK_FOLDER
# The window's part needs a display (DISPLAY), as scripts/test-windows provides.
set -euo pipefail
zip=$(realpath "$1") linux_cli=$(realpath "$2") probe=$(realpath "$3") work=$(realpath -m "$4")
root=$(cd "$(dirname "$0")/../../.." && pwd)
example=$root/examples/unibridge-to-utf8
input=report-sjis.txt

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
unset WINEPATH
window_pid=""
cleanup() {
  [ -z "$window_pid" ] || kill "$window_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "zip: $*"
  exit 1
}

unzip -q "$zip" -d "$work/unpacked"
tops=("$work"/unpacked/*)
[ ${#tops[@]} -eq 1 ] && [ -d "${tops[0]}" ] || fail "the zip holds more than one top folder"
folder=${tops[0]}
for file in polyshift-cli.exe polyshift-runtime.dll polyshift.htm README.txt plugin/encswap.dll; do
  [ -f "$folder/$file" ] || fail "$file is missing"
done
if find "$folder" -iname '*probe*' -o -iname '*test*' | grep -q .; then
  fail "test files were packed: $(find "$folder" -iname '*probe*' -o -iname '*test*')"
fi

started=$SECONDS
wineboot --init >/dev/null 2>&1 || fail "Wine could not make a prefix"
wine regedit "$root/tests/windows/wine-test-prefix.reg" >/dev/null 2>&1
echo "fresh prefix ready in $((SECONDS - started)) s"

# The command line over one example folder, against the Linux command line's result.
read -r -a chain < "$example/chain"
for side in linux windows; do
  mkdir -p "$work/$side"
  cli=("$linux_cli")
  [ "$side" = linux ] || cli=(wine "$folder/polyshift-cli.exe")
  (cd "$example" && "${cli[@]}" run -y -o "$work/$side" "${chain[@]}" "$input") \
    > "$work/$side.log" 2>&1 || { cat "$work/$side.log"; fail "the $side command line failed"; }
done
[ -s "$work/linux/$input" ] || fail "the Linux command line wrote no $input"
diff -r "$work/linux" "$work/windows" || fail "the zip's command line gave other bytes"
echo "polyshift-cli.exe from the zip converts $input as on Linux"

if [ ! -f "$folder/polyshift.exe" ]; then
  echo "no polyshift.exe in the zip: its window is not checked"
  exit 0
fi
[ -f "$folder/polyshift.ico" ] || fail "polyshift.ico is missing"
[ -n "${DISPLAY:-}" ] || fail "no display for the window: DISPLAY is not set"
(cd "$work" && exec wine "$folder/polyshift.exe" "Z:${example//\//\\}\\$input") \
  > "$work/window.log" 2>&1 &
window_pid=$!
wine "$probe" --program polyshift.exe --wait 90 await 1001 items 1001 await 1000 close \
  > "$work/probe.out" 2>&1 ||
  { cat "$work/probe.out" "$work/window.log"; fail "the probe failed on the zip's window"; }
grep -Eq "^item 1001 0 .*$input\$" "$work/probe.out" ||
  { cat "$work/probe.out"; fail "the window did not list $input"; }
grep -Eq '^count 1000 [1-9][0-9]*$' "$work/probe.out" ||
  { cat "$work/probe.out"; fail "the window lists no function: the plug-ins were not loaded"; }
wait "$window_pid" || fail "polyshift.exe ended with status $?"
window_pid=""
[ -f "$folder/polyshift.ini" ] || fail "polyshift.ini was not written beside polyshift.exe"
functions=$(sed -n 's/^count 1000 //p' "$work/probe.out")
echo "polyshift.exe from the zip lists $input and $functions functions, and writes polyshift.ini"
