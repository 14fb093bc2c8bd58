#!/usr/bin/env bash
# The window keeps its settings between starts in an ini file named after the program, beside
# it: a copy of polyshift.exe named kept.exe starts with a file, OverWrite is ticked and the
# window closed; kept.ini then holds OverWrite=1 and the window's placement, and the next start
# shows the box ticked again.
# Usage: window_settings_kept.sh BIN WINE_RUN WINDOW_PROBE INPUT WORK_FOLDER
# Needs a display (DISPLAY), as scripts/test-windows provides.
set -euo pipefail
bin=$1 wine_run=$2 probe=$3 input=$4 work=$5
if [ -z "${DISPLAY:-}" ]; then
  echo "no display: DISPLAY is not set (scripts/test-windows starts an X server for this test)"
  exit 1
fi
rm -rf "$work"
mkdir -p "$work"
cp "$bin/polyshift.exe" "$work/kept.exe"
cp "$bin"/*.dll "$work/"
cp -r "$bin/plugin" "$work/plugin"
name=$(basename "$input")

# window RUN COMMAND...: starts kept.exe on the input, runs the probe's commands, closes it;
# the probe's lines go to RUN.out.
window() {
  local run=$1
  shift
  (cd "$work" && exec "$wine_run" kept.exe "Z:${input//\//\\}") > "$work/$run.log" 2>&1 &
  local pid=$!
  # Only kept.exe's window: tests of the window in-process show windows of the same title.
  if ! "$wine_run" "$probe" --program kept.exe --wait 60 "$@" close \
       > "$work/$run.out" 2> "$work/$run.err"; then
    kill "$pid" 2>/dev/null || true
    echo "$run: the probe failed"
    cat "$work/$run.out" "$work/$run.err" "$work/$run.log"
    exit 1
  fi
  wait "$pid" || { echo "$run: kept.exe ended with status $?"; cat "$work/$run.log"; exit 1; }
}

# expect RUN LINE: the probe said LINE (a pattern) in RUN.
expect() {
  grep -Eq "^$2\$" "$work/$1.out" && return
  echo "$1: the probe did not say \"$2\"; it said:"
  cat "$work/$1.out"
  exit 1
}

window first await 1001 items 1001 await 1000 checked 1013 click 1013 checked 1013
expect first "item 1001 0 .*$name"
expect first "count 1000 [1-9][0-9]*"
expect first "checked 1013 0"
expect first "checked 1013 1"
expect first "closed"

ini=$work/kept.ini
[ -f "$ini" ] || { echo "kept.ini was not written beside kept.exe:"; ls "$work"; exit 1; }
[ ! -e "$work/polyshift.ini" ] || { echo "polyshift.ini was written instead of kept.ini"; exit 1; }
grep -Eq $'^OverWrite=1\r?$' "$ini" || { echo "kept.ini has no OverWrite=1:"; cat "$ini"; exit 1; }
# The placement: 44 bytes as 88 letters A to P, starting with the record's length, 44.
grep -Eq $'^Window=MCAAAAAA[A-P]{80}\r?$' "$ini" ||
  { echo "kept.ini has no window placement:"; cat "$ini"; exit 1; }

window second await 1001 checked 1013
expect second "checked 1013 1"
echo "kept.ini kept OverWrite and the window's placement between two starts"
