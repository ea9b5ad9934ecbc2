#!/usr/bin/env bash
# Cross-builds the Windows side and packs it two ways, from the same five
# files: the installer Kestrane-<version>-setup.exe (packaging/windows) and
# the portable Kestrane-<version>-portable.zip, whose one top-level folder
# is the program folder as the installer makes it. Both land in
# <build>/packages, <build> being ./build-windows or
# $KESTRANE_WINDOWS_BUILD_DIR; the last line names them.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_WINDOWS_BUILD_DIR:-build-windows}

for tool in makensis zip x86_64-w64-mingw32-strip; do
  if ! command -v "$tool" >/dev/null; then
    echo "package-windows.sh: $tool is missing; run scripts/install-deps.sh as root" >&2
    exit 1
  fi
done

bash scripts/build-windows.sh

# 8.2.7 in CMake is version 8.27 to users; the program folder is named
# after it without the dot, as the Help message says.
version=$(sed -nE 's/^project\(Kestrane VERSION ([0-9]+)\.([0-9]+)\.([0-9]+).*/\1.\2\3/p' CMakeLists.txt)
if [[ -z $version ]]; then
  echo "package-windows.sh: no version in CMakeLists.txt's project()" >&2
  exit 1
fi
folder_name=kz${version//./}

bin=$build_dir/bin
files=(purge.exe torvix.dll kz_text.dat kz_user_manual.zip veldran.exe)
for file in "${files[@]}"; do
  if [[ ! -f $bin/$file ]]; then
    echo "package-windows.sh: $bin/$file was not built" >&2
    exit 1
  fi
done

packages=$(realpath -m "$build_dir/packages")
setup=$packages/Kestrane-$version-setup.exe
portable=$packages/Kestrane-$version-portable.zip
stage=$packages/$folder_name
rm -rf "$stage" "$setup" "$portable"
mkdir -p "$stage"
for file in "${files[@]}"; do cp "$bin/$file" "$stage/"; done
# The build keeps its debugging symbols; users get the programs without them
# (a tenth of the size). The library's exports live in its export table,
# which stripping leaves alone.
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll
# A fixed time stamp keeps the ZIP file the same from build to build.
touch -d '2026-01-01 00:00:00 UTC' "$stage" "$stage"/*

makensis -V2 -DVERSION="$version" -DFILES_DIR="$stage" -DOUT_FILE="$setup" \
  packaging/windows/Kestrane.nsi
(cd "$packages" && zip -q -X -r "$portable" "$folder_name")
rm -rf "$stage"

echo "Windows packages: $setup $portable"
