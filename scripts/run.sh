#!/usr/bin/env bash
# Installs what is missing, builds, and starts the purge program. Without a
# display the window opens on a virtual one (Xvfb), where it can be screenshotted.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
program=${KESTRANE_BUILD_DIR:-build}/bin/purge
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec "$program" "$@"
fi
echo "No display found: starting purge on a virtual display." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
