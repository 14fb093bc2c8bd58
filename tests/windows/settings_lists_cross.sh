#!/usr/bin/env bash
# A settings list saved by either build runs on the other: its functions (kept by title), its
# table and its options come through, and the results are those of the saving build.
# Linux saves UTF-8; Windows saves Shift JIS with CR LF when every value fits, as here.
# Usage: settings_lists_cross.sh LINUX_CLI WINE_RUN WINDOWS_CLI WORK_FOLDER
set -euo pipefail
linux_cli=$1 wine_run=$2 windows_cli=$3 work=$4
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
rm -rf "$work"
mkdir -p "$work/in" "$work/expected" "$work/from-linux" "$work/out"
cd "$work"
cp "$examples/rulebook-strings/notice.txt" in/
cp "$examples/rulebook-strings/tables/strings.tbl" .
windows() { "$wine_run" "$windows_cli" "$@"; }
chain=(-t strings.tbl -f rulebook:1 -f eolfix:0)

"$linux_cli" run -y -o expected "${chain[@]}" in/notice.txt >/dev/null

# Saved on Linux (full Linux paths, which Wine's drive Z: reaches), run on Windows.
"$linux_cli" save -s linux.pzl -o from-linux "${chain[@]}" in/notice.txt
windows run -y -s linux.pzl >/dev/null
cmp expected/notice.txt from-linux/notice.txt

# Saved on Windows, run on Linux with the output folder, table and file given again (the
# list's Windows paths mean nothing there): the chain and the options come from the list.
windows save -s windows.pzl -o out --overwrite "${chain[@]}" in/notice.txt
if ! grep -q $'\r$' windows.pzl || iconv -f UTF-8 -t UTF-8 windows.pzl >/dev/null 2>&1; then
  echo "windows.pzl is not Shift JIS with CR LF:"; cat -A windows.pzl; exit 1
fi
cp in/notice.txt mine.txt
"$linux_cli" run -y -s windows.pzl -t strings.tbl mine.txt >/dev/null 2>&1 || true
cmp expected/notice.txt mine.txt  # --overwrite came through: the source itself was converted
echo "settings lists cross both ways"
