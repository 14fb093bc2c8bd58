#!/usr/bin/env bash
# Every example folder through its chain twice, with the Linux polyshift-cli and with
# polyshift-cli.exe under Wine; every output must be the same, byte for byte.
# Usage: examples_match_linux.sh LINUX_CLI WINE_RUN WINDOWS_CLI WORK_FOLDER
set -euo pipefail
linux_cli=$1 wine_run=$2 windows_cli=$3 work=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
# run-examples takes one program: the Windows one goes through Wine.
printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine_run" "$windows_cli" > "$work/windows-cli"
chmod +x "$work/windows-cli"
for side in linux windows; do
  cli=$linux_cli
  [ "$side" = windows ] && cli=$work/windows-cli
  if ! "$root/scripts/run-examples" "$cli" "$work/$side" > "$work/$side.log" 2>&1; then
    echo "the examples failed with the $side command line:"
    cat "$work/$side.log"
    exit 1
  fi
done
files=$(find "$work/linux" -type f | wc -l)
if [ "$files" -lt 20 ]; then
  echo "only $files results from the Linux CLI"
  exit 1
fi
diff -r "$work/linux" "$work/windows"
echo "$files results alike"
