#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the Linux
# build's (ending with CTest's summary), then the Windows side's, cross-built
# and run under Wine (scripts/test-windows.sh), and last the Windows
# installer, made from that build and installed, started and uninstalled
# under Wine (scripts/check-windows-installer.sh, under a minute).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${KESTRANE_BUILD_DIR:-build}
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 600
bash scripts/test-windows.sh
bash scripts/check-windows-installer.sh
