#!/usr/bin/env bash
# Installs, from Debian's packages, everything Kestrane needs to build, run
# and test. Packages already present are not fetched again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev       # the window back end
  libgcrypt20-dev                              # cryptographic random bytes
  libgtest-dev libgmock-dev                    # tests
  xvfb xauth x11-apps xdg-utils                # a display when there is none; the web launch
  coreutils util-linux mount e2fsprogs dosfstools  # dd and shred for benchmarks; loop images for forensic tests
  xfsprogs btrfs-progs                         # more file systems for the raw-image wipe tests
  python3 tmux                                 # terminal-driven tests of veldran
  desktop-file-utils appstream man-db groff-base lintian  # checks of the installation and the package
  openbox xdotool x11-utils netpbm                # scripts/screenshots.sh: a window manager, input, PNG files
  g++-mingw-w64-x86-64-posix googletest wine wine64  # the Windows cross-build and its tests under Wine
  nsis zip                                     # the Windows installer and portable ZIP file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
