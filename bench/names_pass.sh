#!/usr/bin/env bash
# Builds and runs the names pass benchmark (needs root): on a fresh 1 GiB
# ext4 image and a fresh 2 GiB XFS image, each loop-mounted in a temporary
# folder, the fill of the free space and then the names pass that ends a
# wipe are timed in the same run.
# Usage: bench/names_pass.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target names_pass_bench >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/names-pass-bench.XXXXXX")
trap 'umount "$work/mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/mnt"
for kind in "ext4 1G" "xfs 2G"; do
  set -- $kind
  truncate -s "$2" "$work/disk.img"
  if [[ $1 == ext4 ]]; then mkfs.ext4 -q -F "$work/disk.img"; else mkfs.xfs -q -f "$work/disk.img"; fi
  mount -o loop "$work/disk.img" "$work/mnt"
  echo "$1, $2:"
  (cd "$build_dir/bin" && ./names_pass_bench "$work/mnt")
  umount "$work/mnt"
  rm -f "$work/disk.img"
done
