#!/usr/bin/env bash
# scripts/check-windows-imports, which scripts/package-windows runs on the zip's folder: our
# programs and plug-ins pass; a plug-in DLL in plugin\ that imports the program's runtime
# library is refused and named; the same DLL at the top, beside that library, passes.
# Usage: package_imports_test.sh SOURCE_DIR BIN IMPORTING_DLL WORK_FOLDER
set -euo pipefail
source_dir=$1 bin=$2 importing=$3 work=$4
check=$source_dir/scripts/check-windows-imports
rm -rf "$work"
mkdir -p "$work/plugin"
cp "$bin/polyshift-cli.exe" "$bin/polyshift-runtime.dll" "$work/"
cp "$bin"/plugin/*.dll "$work/plugin/"
"$check" "$work" || { echo "the build's programs and plug-ins were refused"; exit 1; }

cp "$importing" "$work/plugin/importing.dll"
if "$check" "$work" 2> "$work/refused.txt"; then
  echo "a plug-in that imports polyshift-runtime.dll was let through"
  exit 1
fi
grep -q '^plugin/importing.dll needs polyshift-runtime.dll' "$work/refused.txt" ||
  { echo "the refusal does not name the plug-in and its import:"; cat "$work/refused.txt"; exit 1; }
[ "$(wc -l < "$work/refused.txt")" -eq 1 ] ||
  { echo "more than the one plug-in was refused:"; cat "$work/refused.txt"; exit 1; }

mv "$work/plugin/importing.dll" "$work/importing.dll"
"$check" "$work" || { echo "a library beside the runtime library was refused"; exit 1; }
echo "plug-ins that import anything but Windows' own libraries are refused"
