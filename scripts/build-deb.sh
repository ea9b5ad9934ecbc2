#!/usr/bin/env bash
# Builds the Debian package kestrane_<version>_<arch>.deb in ./build-deb (or
# $KESTRANE_DEB_BUILD_DIR), installing under /usr, and checks it with
# lintian, which fails the build on any error. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir=${KESTRANE_DEB_BUILD_DIR:-build-deb}
# Debian's hardening flags (stack protector, fortified functions, read-only
# relocations bound at start) for the binaries that the package ships.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_INSTALL_PREFIX=/usr -DKESTRANE_BUILD_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" \
    "-DCMAKE_SHARED_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
rm -f "$build_dir"/kestrane_*.deb
cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir" >/dev/null
deb=$(ls "$build_dir"/kestrane_*.deb)
# lintian refuses to run as root without being told that it is wanted.
lintian --allow-root --fail-on error --display-info "$deb" >&2
echo "$deb"
