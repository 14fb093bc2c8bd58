#!/usr/bin/env bash
# The window in a fresh folder: a copy of polyshift.exe (named fresh.exe, with the program's
# runtime library beside it) whose plugin\ folder holds only our eight plug-in DLLs, started
# with nothing of the build on Wine's search path, lists every function of those DLLs: as
# many as polyshift-cli.exe of the build lists.
# Usage: fresh_folder_window.sh BIN WINE_RUN WINDOW_PROBE WORK_FOLDER
# Needs a display (DISPLAY), as scripts/test-windows provides.
set -euo pipefail
bin=$1 wine_run=$2 probe=$3 work=$4
if [ -z "${DISPLAY:-}" ]; then
  echo "no display: DISPLAY is not set (scripts/test-windows starts an X server for this test)"
  exit 1
fi
rm -rf "$work"
mkdir -p "$work/plugin"
cp "$bin/polyshift.exe" "$work/fresh.exe"
cp "$bin/polyshift-runtime.dll" "$work/"
cp "$bin"/plugin/*.dll "$work/plugin/"
plugins=$(find "$work/plugin" -name '*.dll' | wc -l)
[ "$plugins" -eq 8 ] || { echo "the build has $plugins plug-in DLLs, not eight"; exit 1; }

expected=$("$wine_run" "$bin/polyshift-cli.exe" list | tr -d '\r' | grep -cE '^[a-z0-9]+:[0-9]+'$'\t')
[ "$expected" -gt 0 ] || { echo "polyshift-cli.exe list shows no function"; exit 1; }

(cd "$work" && POLYSHIFT_WINEPATH=none exec "$wine_run" fresh.exe) > "$work/window.log" 2>&1 &
pid=$!
if ! POLYSHIFT_WINEPATH=none "$wine_run" "$probe" --program fresh.exe --wait 60 await 1000 \
     count 1000 close > "$work/probe.out" 2> "$work/probe.err"; then
  kill "$pid" 2>/dev/null || true
  echo "the probe failed"
  cat "$work/probe.out" "$work/probe.err" "$work/window.log"
  exit 1
fi
wait "$pid" || { echo "fresh.exe ended with status $?"; cat "$work/window.log"; exit 1; }
listed=$(sed -n 's/^count 1000 //p' "$work/probe.out" | tr -d '\r' | tail -n 1)
if [ "$listed" != "$expected" ]; then
  echo "the fresh window lists ${listed:-no} functions, polyshift-cli.exe lists $expected"
  cat "$work/probe.out"
  exit 1
fi
echo "fresh.exe lists all $listed functions of the eight plug-in DLLs"
