#!/usr/bin/env bash
# Counts the names of deleted files that a whole wipe leaves on a small
# file system image (needs root): 8 files of distinctive names and data in
# a folder are deleted with rm -rf, a folder to keep holds 2 more, then
#   purge --wipe D: --exclude 'D:\keep' --type 1 --passes 1 --yes
# runs on the mounted image. After unmounting, the raw image is searched
# for each deleted name in UTF-8 and UTF-16, for the deleted data's
# markers, and for the kept names and data.
# Usage: bench/names_left.sh ext4-1k|ext4-4k|xfs|btrfs [before] [top]
# "before" counts without wiping (what the file system keeps anyway).
# "top" deletes the 8 files from the drive's top folder instead, among 400
# empty files of long names deleted with them, so that the top folder's
# own free slots span several of its blocks.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
kind=${1:?ext4-1k, ext4-4k, xfs or btrfs}
case $kind in
  ext4-1k) size=64M; mkfs=(mkfs.ext4 -q -F -b 1024) ;;
  ext4-4k) size=64M; mkfs=(mkfs.ext4 -q -F -b 4096) ;;
  xfs) size=320M; mkfs=(mkfs.xfs -q -f) ;;
  btrfs) size=128M; mkfs=(mkfs.btrfs -q -f) ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
work=$(mktemp -d "${TMPDIR:-/tmp}/names-left.XXXXXX")
trap 'umount "$work/d" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/c" "$work/d"
truncate -s "$size" "$work/disk.img"
"${mkfs[@]}" "$work/disk.img" >/dev/null
mount -o loop "$work/disk.img" "$work/d"

names=(divorce-lawyer-2025.doc passwords.kdbx tax-evasion-notes.txt
       secret-salary-list.xlsx medical-record-hiv.pdf resignation-draft.docx
       affair-photos-paris.zip bank-pin-codes.csv)
[[ " $* " == *" top "* ]] && deleted=$work/d || deleted=$work/d/private
mkdir -p "$deleted" "$work/d/keep"
for i in "${!names[@]}"; do
  printf 'MARKER-DELETED-%02d-%s\n' "$i" "$(head -c 3000 /dev/zero | tr '\0' x)" \
    >"$deleted/${names[$i]}"
done
if [[ $deleted == "$work/d" ]]; then
  for n in $(seq 1 400); do : >"$deleted/filler-$(printf %0200d "$n")"; done
fi
printf 'KEPT-DATA-ONE\n' >"$work/d/keep/kept-file-one.txt"
printf 'KEPT-DATA-TWO\n' >"$work/d/keep/kept-file-two.txt"
sync
if [[ $deleted == "$work/d" ]]; then
  for name in "${names[@]}"; do rm -f "$deleted/$name"; done
  rm -f "$deleted"/filler-*
else
  rm -rf "$deleted"
fi
sync

start=$(date +%s.%N)
if [[ " $* " != *" before "* ]]; then
  set +e
  KESTRANE_DRIVES="C=$work/c;D=$work/d" XDG_CONFIG_HOME="$work/c" \
    "$build_dir/bin/purge" --wipe D: --exclude 'D:\keep' --type 1 --passes 1 --yes \
    >"$work/report.txt" 2>&1
  echo "exit code $?, $(awk "BEGIN{print $(date +%s.%N)-$start}") s"
  set -e
  grep -i -A2 'names\|entries' "$work/report.txt" | head -8 || true
fi
ls "$work/d"
umount "$work/d"

count() { { LC_ALL=C grep -a -o -F -- "$1" "$work/disk.img" || true; } | wc -l; }
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; }
total8=0 total16=0
for name in "${names[@]}"; do
  n8=$(count "$name")
  n16=$(tr '\0' '\001' <"$work/disk.img" |
        { LC_ALL=C grep -a -o -F -- "$(utf16 "$name" | tr '\0' '\001')" || true; } | wc -l)
  total8=$((total8 + n8)); total16=$((total16 + n16))
done
markers=$(count MARKER-DELETED-)
kept=$(( $(count kept-file-one.txt) > 0 && $(count kept-file-two.txt) > 0 &&
         $(count KEPT-DATA-ONE) > 0 && $(count KEPT-DATA-TWO) > 0 ))
echo "$kind: deleted names $total8 (UTF-8) $total16 (UTF-16), data markers $markers, kept folder intact: $kept"
