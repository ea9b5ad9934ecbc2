#!/usr/bin/env bash
# Peak memory of a purge of many files in one folder, by purge's command-line
# mode, against find -printf listing the same folder in the same run.
# Usage: bench/purge_memory.sh [FILES=200000] [FOLDER]
# Without FOLDER it works in a fresh folder under /dev/shm when there is one
# (memory does not depend on the disk, and a RAM disk makes 200,000 purges
# quick), else under the temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target purge torvix program_text >/dev/null
files=${1:-200000}
folder=${2:-}
if [[ -z $folder ]]; then
  base=/dev/shm
  [[ -d $base && -w $base ]] || base=${TMPDIR:-/tmp}
  folder=$(mktemp -d "$base/purge-memory-bench.XXXXXX")
  trap 'rm -rf "$folder"' EXIT
fi
mkdir -p "$folder/one"
python3 - "$folder/one" "$files" <<'PY'
import os, sys
folder, files = sys.argv[1], int(sys.argv[2])
for i in range(files):
    with open(os.path.join(folder, f"file-{i:07d}.txt"), "wb") as f:
        f.write(b"k" * (1 + i % 200))
PY
# An operation file: all files of the folder, one random overwrite, read-only
# and sensitive files allowed.
printf '8.27\r\n0\r\n0\r\nC:\\one\\\r\n*.*\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n' >"$folder/op.kzs"

peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
reference=$(peak_kb find "$folder/one" -type f -printf '%s\n')
ours=$(KESTRANE_DRIVES="C=$folder" peak_kb "$build_dir/bin/purge" --purge 'C:\op.kzs' --yes)
left=$(find "$folder/one" -type f | wc -l)
echo "$files files in one folder under $folder ($left left after the purge)"
echo "find -printf peak:   $((reference / 1024)) MB"
awk -v ours="$ours" -v ref="$reference" 'BEGIN {
  printf "purge --purge peak: %d MB   ratio to find %.1f   share of the 64 MB budget %.2f (target: 1 or less)\n",
         ours / 1024, ours / ref, ours / 1024 / 64 }'
