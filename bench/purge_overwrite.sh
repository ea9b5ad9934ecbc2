#!/usr/bin/env bash
# Builds and runs the overwrite benchmark: one large file overwritten by dd,
# by the engine with a pattern and with random bytes, and by shred.
# Usage: bench/purge_overwrite.sh [FOLDER] [GiB=1] [ROUNDS=2]
# Without FOLDER it uses the temporary folder, or the build folder when the
# temporary folder lacks the space (about GiB + 0.25 GiB are needed).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
gib=${2:-1}
rounds=${3:-2}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target purge_overwrite_bench >/dev/null
folder=${1:-}
if [[ -z $folder ]]; then
  need_kb=$(( (gib * 1024 + 256) * 1024 ))
  tmp=${TMPDIR:-/tmp}
  if (( $(df -Pk "$tmp" | awk 'NR==2 {print $4}') >= need_kb )); then
    folder=$(mktemp -d "$tmp/purge-bench.XXXXXX")
  else
    folder=$(mktemp -d "$PWD/$build_dir/purge-bench.XXXXXX")
  fi
  trap 'rm -rf "$folder"' EXIT
fi
"$build_dir/bin/purge_overwrite_bench" "$folder" "$gib" "$rounds"
