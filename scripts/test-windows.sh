#!/usr/bin/env bash
# Cross-builds the Windows side and runs its tests under Wine, in a Wine
# prefix of its own that is removed afterwards, on a virtual display. Ends
# with "Windows tests: N run, M passed, K skipped" and fails if any failed,
# if none ran or if Wine cannot start.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh
build_dir=${KESTRANE_WINDOWS_BUILD_DIR:-build-windows}

export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d /tmp/kestrane-wine.XXXXXX)
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# A Wine that cannot start would make every test "fail" in confusing ways,
# or list none at all; say so plainly instead.
if ! timeout 300 wineboot -i >/dev/null 2>&1 || ! timeout 60 wine cmd /c exit 0 >/dev/null 2>&1; then
  echo "Windows tests: Wine cannot start (wineboot in $WINEPREFIX failed); no test ran." >&2
  exit 1
fi

log=$(mktemp)
status=0
# No test needs a display, but a console that takes typed keys exists in
# Wine only with one: on a virtual display the Escape test runs too.
display=()
command -v xvfb-run >/dev/null && display=(xvfb-run -a)
# Wine itself now and then fails to start a process, or keeps one from
# exiting, while many start on one display; a test that fails gets one more
# run, and its failure is shown either way.
"${display[@]}" ctest --test-dir "$build_dir" --output-on-failure -j 2 --timeout 600 \
  --repeat until-pass:2 2>&1 | tee "$log" || status=$?
summary=$(grep -oE '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -1 || true)
skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' "$log" || true)
rm -f "$log"
if [[ -z $summary ]]; then
  echo "Windows tests: ctest gave no summary; none ran." >&2
  exit 1
fi
failed=${summary%% *}
total=${summary##* }
# A skipped test (the forensic one needs root) passed nothing.
echo "Windows tests: $((total - skipped)) run, $((total - skipped - failed)) passed, $skipped skipped"
((total > 0 && failed == 0 && status == 0))
