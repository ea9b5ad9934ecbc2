#!/usr/bin/env bash
# Builds and runs the fill benchmark: the fill window writing a dummy file
# of MIB MiB against dd bs=1M conv=fdatasync, in the same folder and the
# same run, best of ROUNDS rounds each.
# Usage: bench/fill_disk.sh [FOLDER] [MIB=1024] [ROUNDS=3]
# Without FOLDER it works in a fresh folder under the temporary folder,
# which must have room for MIB MiB.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target fill_disk_bench >/dev/null
folder=${1:-}
if [[ -z $folder ]]; then
  folder=$(mktemp -d "${TMPDIR:-/tmp}/purge-fill-bench.XXXXXX")
  trap 'rm -rf "$folder"' EXIT
fi
"$build_dir/bin/fill_disk_bench" "$folder" "${2:-1024}" "${3:-3}"
