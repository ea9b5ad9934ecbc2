#!/usr/bin/env bash
# Builds and runs the names pass benchmark (needs root): on a fresh 1 GiB
# ext4 image and a fresh 2 GiB XFS image, each loop-mounted in a temporary
# folder, the fill of the free space and then the names pass that ends a
# wipe are timed in the same run.
#
# Each image is measured twice, on a fresh image each time:
# - "plain loop" (mount -o loop): the loop device writes through the page
#   cache of the image file, so the fill's data mostly lands in memory and
#   the fill looks faster than it would be on a disk;
# - "direct-I/O loop" (losetup --direct-io=on): the fill's data goes to the
#   disk under the image, as it would to a real drive, which makes this the
#   fairer measure of the pass against the fill.
# Usage: bench/names_pass.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target names_pass_bench >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/names-pass-bench.XXXXXX")
device=
cleanup() {
  umount "$work/mnt" 2>/dev/null || true
  if [[ -n $device ]]; then losetup -d "$device" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/mnt"
for kind in "ext4 1G" "xfs 2G"; do
  set -- $kind
  for loop in plain direct-I/O; do
    truncate -s "$2" "$work/disk.img"
    if [[ $1 == ext4 ]]; then mkfs.ext4 -q -F "$work/disk.img"; else mkfs.xfs -q -f "$work/disk.img"; fi
    if [[ $loop == plain ]]; then
      mount -o loop "$work/disk.img" "$work/mnt"
    else
      device=$(losetup -f --show --direct-io=on "$work/disk.img")
      mount "$device" "$work/mnt"
    fi
    echo "$1, $2, $loop loop:"
    (cd "$build_dir/bin" && ./names_pass_bench "$work/mnt")
    umount "$work/mnt"
    if [[ -n $device ]]; then losetup -d "$device"; device=; fi
    rm -f "$work/disk.img"
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
