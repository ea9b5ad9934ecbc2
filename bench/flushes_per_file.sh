#!/usr/bin/env bash
# The flushes of a purge of a few small files in one folder, counted with
# strace: the files named one by one (each purged alone), and the folder
# purged as a whole (its files purged together).
# Usage: bench/flushes_per_file.sh [FILES=5]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_BUILD_DIR:-build}
files=${1:-5}
command -v strace >/dev/null || { echo "strace is needed" >&2; exit 2; }
if [[ ! -f $build_dir/build.ninja ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target purge torvix program_text >/dev/null
folder=$(mktemp -d "${TMPDIR:-/tmp}/flushes-bench.XXXXXX")
trap 'rm -rf "$folder"' EXIT
make_files() {
  mkdir -p "$folder/few"
  for ((i = 0; i < files; ++i)); do printf 'secret %d\n' "$i" >"$folder/few/file-$i.txt"; done
}
# Prints the flushes of a purge, per kind, and their count per file.
count() {
  local label=$1
  shift
  local trace=$folder/trace
  KESTRANE_DRIVES="C=$folder" strace -f -qq -o "$trace" -e trace=fsync,fdatasync,syncfs,sync \
    "$build_dir/bin/purge" --purge-files "$@" --type 1 --passes 1 --yes >/dev/null
  if compgen -G "$folder/few/*" >/dev/null; then
    echo "the purge left files behind" >&2
    exit 1
  fi
  local data folders
  data=$(grep -c 'fdatasync(' "$trace" || true)
  folders=$(grep -cE '(^|[^a])fsync\(' "$trace" || true)
  awk -v label="$label" -v files="$files" -v data="$data" -v folders="$folders" 'BEGIN {
    printf "%-26s fdatasync %3d  fsync (folders) %3d  flushes per file %.1f\n", label, data, folders,
           (data + folders) / files }'
}
make_files
names=()
for ((i = 0; i < files; ++i)); do names+=("C:\\few\\file-$i.txt"); done
count "each file named (alone):" "${names[@]}"
make_files
count "the folder (together):" 'C:\few'
