#!/usr/bin/env bash
# Builds and runs the listing and purge benchmark: a tree of small files
# listed and purged by purge's command-line mode, against find -printf and
# shred -n1 -u on the same tree.
# Usage: bench/listing_and_purge.sh [FOLDER] [FILES=100000] [FOLDERS=100] [SHRED_FILES]
# With SHRED_FILES, shred is timed on that many of the files and scaled.
# Without FOLDER it works in a fresh folder under the temporary folder.
# shred syncs its folder after each of its renames, so the reference purge
# of 100,000 files takes minutes on most disks.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target listing_and_purge_bench >/dev/null
folder=${1:-}
if [[ -z $folder ]]; then
  folder=$(mktemp -d "${TMPDIR:-/tmp}/purge-tree-bench.XXXXXX")
  trap 'rm -rf "$folder"' EXIT
fi
"$build_dir/bin/listing_and_purge_bench" "$folder" "${2:-100000}" "${3:-100}" ${4:+"$4"}
