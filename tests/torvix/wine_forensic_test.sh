#!/usr/bin/env bash
# A purge through torvix.dll under Wine leaves none of a file's former
# contents on the device: an ext4 image is loop-mounted and mapped as a Wine
# drive (a mount point inside a path is never crossed), two marker files are purged by purge_through_library.exe
# (one deleted, one overwritten with its cluster's slack and kept), and the
# unmounted raw image is searched for the markers. Needs root and loop
# devices; exits 77 (skipped) without them.
# Use: wine_forensic_test.sh WINE PURGE_THROUGH_LIBRARY_EXE
set -euo pipefail
wine=$1 tool=$2
[[ $(id -u) -eq 0 ]] || { echo "needs root to mount an image"; exit 77; }
command -v mkfs.ext4 >/dev/null || { echo "no mkfs.ext4"; exit 77; }

work=$(mktemp -d)
mounted=
cleanup() {
  [[ -n $mounted ]] && { umount "$work/mnt" 2>/dev/null || umount -l "$work/mnt"; }
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/mnt"
truncate -s 32M "$work/disk.img"
mkfs.ext4 -q -F "$work/disk.img"
mount -o loop "$work/disk.img" "$work/mnt" 2>/dev/null || { echo "cannot mount a loop device here"; exit 77; }
mounted=1

marker() {  # about 300 KiB of a line no other file holds
  local unit="<<kestrane wine marker $1 $$>>" text=
  for _ in $(seq 1 8000); do text+=$unit; done
  printf '%s' "$text"
}
marker A > "$work/mnt/kept.doc"
marker B > "$work/mnt/deleted.doc"
umount "$work/mnt"; mounted=
grep -qaF "<<kestrane wine marker A $$>>" "$work/disk.img" || { echo "FAIL: the test cannot see data in the image"; exit 1; }
mount -o loop "$work/disk.img" "$work/mnt"; mounted=1

# The first free letter from Q: on becomes the image's drive.
devices=${WINEPREFIX:-$HOME/.wine}/dosdevices
[[ -d $devices ]] || { echo "FAIL: no Wine prefix at ${devices%/dosdevices}"; exit 1; }
for letter in q r s t u v w x y; do [[ -e $devices/$letter: ]] || break; done
ln -s "$work/mnt" "$devices/$letter:"
trap 'rm -f "$devices/$letter:"; cleanup' EXIT
windows_path() { printf '%s:\\%s' "$letter" "$1"; }
# Through Z: the path turns into the mounted image at mnt, a mount point,
# which is never crossed: -2, and Wine reports exit codes modulo 256.
status=0
"$wine" "$tool" "Z:${work//\//\\}\\mnt\\kept.doc" 1 1 || status=$?
[[ $status -eq 254 ]] || { echo "FAIL: a path through a mount point gave $status, not -2"; exit 1; }
status=0
"$wine" "$tool" "$(windows_path kept.doc)" 2 0 4096 || status=$?
[[ $status -eq 0 ]] || { echo "FAIL: purging kept.doc gave $status"; exit 1; }
"$wine" "$tool" "$(windows_path deleted.doc)" 2 1 || status=$?
[[ $status -eq 0 ]] || { echo "FAIL: purging deleted.doc gave $status"; exit 1; }
[[ -f $work/mnt/kept.doc && ! -e $work/mnt/deleted.doc ]] || { echo "FAIL: wrong files left"; ls "$work/mnt"; exit 1; }
umount "$work/mnt"; mounted=

for which in A B; do
  if grep -qaF "<<kestrane wine marker $which $$>>" "$work/disk.img"; then
    echo "FAIL: marker $which is still in the image"
    exit 1
  fi
done
echo "no marker left in the image"
