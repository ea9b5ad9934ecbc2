#!/usr/bin/env bash
# One large file purged by purge's command-line mode with one random
# overwrite, against dd overwriting the same file in place and flushing:
# kept (the overwrite alone), and deleted (against dd followed by rm and a
# sync, since freeing a large file's blocks takes its own time).
# Files over a megabyte are purged alone, not gathered with others: this
# shows that gathering small files costs a large one nothing.
# Usage: bench/large_file_purge.sh [GiB=1] [ROUNDS=3] [FOLDER]
# Without FOLDER it works in a fresh folder under the temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
gib=${1:-1}
rounds=${2:-3}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target purge torvix program_text >/dev/null
folder=${3:-}
if [[ -z $folder ]]; then
  folder=$(mktemp -d "${TMPDIR:-/tmp}/large-purge-bench.XXXXXX")
  trap 'rm -rf "$folder"' EXIT
fi
file=$folder/large.dat
seconds() { local start=$EPOCHREALTIME; "$@" >/dev/null 2>&1; echo "$EPOCHREALTIME - $start" | bc; }
overwrite() { dd if=/dev/zero of="$file" bs=1M count=$((gib * 1024)) conv=notrunc,fdatasync status=none; }
overwrite_and_delete() { overwrite && rm "$file" && sync; }
purge() {
  KESTRANE_DRIVES="C=$folder" "$build_dir/bin/purge" --purge-files 'C:\large.dat' --type 1 \
    --passes 1 --yes "$@"
}
dd_kept=() purge_kept=() dd_deleted=() purge_deleted=()
for ((round = 1; round <= rounds; ++round)); do
  overwrite
  dd_kept+=("$(seconds overwrite)")
  purge_kept+=("$(seconds purge --keep-files)")
  dd_deleted+=("$(seconds overwrite_and_delete)")
  overwrite
  purge_deleted+=("$(seconds purge)")
  if [[ -e $file ]]; then
    echo "the purge left the file behind" >&2
    exit 1
  fi
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "one file of $gib GiB under $folder, $rounds rounds (seconds; median last)"
report() {
  local what=$1 reference_label=$2
  local -n reference=$3 ours=$4
  local ref_median ours_median
  ref_median=$(median "${reference[@]}")
  ours_median=$(median "${ours[@]}")
  printf '%-28s %s  (%s)\n' "$reference_label:" "${reference[*]}" "$ref_median"
  printf '%-28s %s  (%s)\n' "purge, $what:" "${ours[*]}" "$ours_median"
  awk -v ref="$ref_median" -v ours="$ours_median" -v what="$what" 'BEGIN {
    printf "  speed relative to it, %s: %.2f (target: 1 or more)\n", what, ref / ours }'
}
report "file kept" "dd conv=fdatasync" dd_kept purge_kept
report "file deleted" "dd, rm and sync" dd_deleted purge_deleted
