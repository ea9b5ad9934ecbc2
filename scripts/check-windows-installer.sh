#!/usr/bin/env bash
# Checks the Windows installer as a user meets it, in a fresh Wine prefix on
# a virtual display: a silent install into the default folder, every file in
# the program folder, the Start menu entries and the Add/Remove Programs
# entry; the installed purge.exe answers --help and opens its window, and
# veldran.exe prints its usage; the silent uninstall through the registry's
# own command leaves nothing of the installer's behind. A second install
# into a folder of the user's choice (with a space in its name) checks that
# the uninstaller removes only what it added: a file of the user's in the
# program folder stays, with its folder; installed again without a folder,
# as an update is, it goes to the same one. The portable ZIP file beside the
# installer, if there is one, must unpack to the same program folder and
# run from it. Prints one PASS or FAIL line a check and a summary; exits
# non-zero when any check failed.
#
#   bash scripts/check-windows-installer.sh [SETUP_EXE]
#
# Without SETUP_EXE, scripts/package-windows.sh builds the installer first.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRANE_WINDOWS_BUILD_DIR:-build-windows}

for tool in wine wineserver Xvfb xdpyinfo xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-windows-installer.sh: $tool is missing; run scripts/install-deps.sh as root" >&2
    exit 1
  fi
done

if [[ -n ${1:-} ]]; then
  setup=$(realpath "$1")
else
  bash scripts/package-windows.sh
  setups=("$build_dir"/packages/Kestrane-*-setup.exe)
  setup=$(realpath "${setups[-1]}")
fi
version=$(basename "$setup" | sed -nE 's/^Kestrane-(.*)-setup\.exe$/\1/p')
program_folder='C:\Program Files\kz'${version//./}
custom_folder='C:\Kestrane Tools\purge'
program_files=(purge.exe torvix.dll kz_text.dat kz_user_manual.zip veldran.exe)
files=("${program_files[@]}" uninstall.exe)
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrane'
menu_folder='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Kestrane'
menu_entries=(Kestrane.lnk 'Kestrane User Manual.lnk')

# winemenubuilder would copy the Start menu entries into the menus of the
# user running this script; the prefix keeps them to itself.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINEPREFIX=$(mktemp -d /tmp/kestrane-installer-wine.XXXXXX)
work=$(mktemp -d /tmp/kestrane-installer-work.XXXXXX)
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT

passed=0
failed=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

unix_path() { echo "$WINEPREFIX/drive_c/$(echo "${1#C:\\}" | tr '\\' /)"; }
key_exists() { wine reg query "$uninstall_key" /reg:64 >/dev/null 2>&1; }
key_value() {
  wine reg query "$uninstall_key" /v "$1" /reg:64 2>/dev/null | tr -d '\r' |
    sed -nE "s/^ +$1 +REG_[A-Z_]+ +//p"
}
all_files_in() {
  local file
  for file in "${files[@]}"; do [[ -f $1/$file ]] || return 1; done
}
# The NSIS uninstaller copies itself away and runs on after its first copy
# has ended; every Wine process of the prefix has ended when wineserver has.
wait_for_wine() { timeout 120 wineserver -w; }

# A free display of our own.
display=57
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
export DISPLAY=:$display
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

started=$SECONDS
if ! timeout 300 wineboot -i >/dev/null 2>&1 || ! timeout 60 wine cmd /c exit 0 >/dev/null 2>&1; then
  echo "FAIL: Wine cannot start in $WINEPREFIX"
  exit 1
fi
wait_for_wine || true
# What the prefix holds before the install, to compare with after the
# uninstall; temporary folders come and go on their own.
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path '*/Temp' -prune -o -print | sort)
}
snapshot >"$work/before.txt"

echo "Installing $setup silently into $program_folder"
check "the installer exits with 0" wine "$setup" /S
wait_for_wine || true
folder=$(unix_path "$program_folder")
for file in "${files[@]}"; do
  check "$file is in $program_folder" test -f "$folder/$file"
done
for entry in "${menu_entries[@]}"; do
  check "Start menu entry $entry exists" test -f "$(unix_path "$menu_folder")/$entry"
done
# A shortcut holds its target's path as text.
check "Kestrane.lnk points to purge.exe" \
  grep -qa 'kz[0-9]*\\purge.exe' "$(unix_path "$menu_folder")/Kestrane.lnk"
check "Kestrane User Manual.lnk points to kz_user_manual.zip" \
  grep -qa 'kz[0-9]*\\kz_user_manual.zip' "$(unix_path "$menu_folder")/Kestrane User Manual.lnk"
check "the uninstall registry key exists" key_exists
check "the registry names the program folder" test "$(key_value InstallLocation)" = "$program_folder"
check "the registry names Kestrane $version" test "$(key_value DisplayName)" = "Kestrane $version"

# The installed program, run from where the Start menu runs it.
help_text=$(timeout 60 wine "$program_folder\\purge.exe" --help 2>/dev/null | tr -d '\r') && help_status=0 ||
  help_status=$?
check "purge.exe --help exits with 0" test "$help_status" -eq 0
check "purge.exe --help prints its usage" test -n "$help_text"

usage=$(timeout 60 wine "$program_folder\\veldran.exe" 2>/dev/null | tr -d '\r') && usage_status=0 ||
  usage_status=$?
check "veldran.exe without arguments exits with 0" test "$usage_status" -eq 0
check "veldran.exe without arguments prints its usage" test -n "$usage"

wine "$program_folder\\purge.exe" >"$work/purge.log" 2>&1 &
purge_pid=$!
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name "^Kestrane $version" 2>/dev/null | head -n 1 || true)
  [[ -n $window ]] && break
  sleep 0.2
done
check "purge.exe shows its main window \"Kestrane $version\"" test -n "$window"
# Closing the window, as its close box would, ends the program.
wine taskkill /im purge.exe >/dev/null 2>&1 || true
closed=false
for _ in $(seq 100); do
  if ! kill -0 "$purge_pid" 2>/dev/null; then
    closed=true
    break
  fi
  sleep 0.2
done
check "purge.exe ends when its window is closed" $closed
if ! $closed; then wine taskkill /f /im purge.exe >/dev/null 2>&1 || true; fi
wait "$purge_pid" 2>/dev/null || true
wait_for_wine || true

# The uninstall as Add/Remove Programs runs it, silently.
quiet=$(key_value QuietUninstallString)
uninstaller=$(echo "$quiet" | sed -nE 's/^"([^"]+)" \/S$/\1/p')
check "the registry's quiet uninstall command is \"uninstall.exe\" /S" test -n "$uninstaller"
echo "Uninstalling silently with $quiet"
check "the uninstaller exits with 0" wine "${uninstaller:-$program_folder\\uninstall.exe}" /S
wait_for_wine || true
check "the program folder is gone" test ! -e "$folder"
check "the Start menu folder is gone" test ! -e "$(unix_path "$menu_folder")"
check "the uninstall registry key is gone" eval '! key_exists'
wait_for_wine || true
snapshot >"$work/after.txt"
# purge.exe keeps the user's setup in the application-data folder; it is the
# user's, not the installer's, and stays as on Windows.
comm -13 "$work/before.txt" "$work/after.txt" | grep -v '/AppData/Roaming/Kestrane$' >"$work/left.txt" || true
check "nothing else is left in the prefix" test ! -s "$work/left.txt"
sed 's/^/  left: /' "$work/left.txt"

# A folder of the user's choice, given to /D= unquoted as NSIS wants it:
# Wine passes the words on joined by one space.
echo "Installing silently into $custom_folder"
read -r -a folder_words <<<"$custom_folder"
check "the installer exits with 0 for /D=" wine "$setup" /S "/D=${folder_words[0]}" "${folder_words[@]:1}"
wait_for_wine || true
folder=$(unix_path "$custom_folder")
check "all files are in $custom_folder" all_files_in "$folder"
check "the registry names the chosen folder" test "$(key_value InstallLocation)" = "$custom_folder"
# Installed again without /D=, as an update is, it goes to the same folder.
check "the installer exits with 0 over the chosen folder" wine "$setup" /S
wait_for_wine || true
check "installed again, it stays in the chosen folder" test ! -e "$(unix_path "$program_folder")"
check "the registry still names the chosen folder" test "$(key_value InstallLocation)" = "$custom_folder"
echo "kept by the user" >"$folder/notes.txt"
check "the uninstaller exits with 0 in the chosen folder" wine "$custom_folder\\uninstall.exe" /S
wait_for_wine || true
check "the user's file and its folder stay" test -f "$folder/notes.txt"
check "the installed files are gone from the chosen folder" \
  test "$(ls -A "$folder")" = notes.txt
check "the uninstall registry key is gone again" eval '! key_exists'

portable=${setup%-setup.exe}-portable.zip
if [[ -f $portable ]]; then
  echo "Unpacking $portable into C:\\portable"
  mkdir -p "$WINEPREFIX/drive_c/portable"
  (cd "$WINEPREFIX/drive_c/portable" && cmake -E tar xf "$portable")
  folder_name=${program_folder##*\\}
  check "the portable ZIP file holds one folder, $folder_name" \
    test "$(ls "$WINEPREFIX/drive_c/portable")" = "$folder_name"
  files=("${program_files[@]}")
  folder=$WINEPREFIX/drive_c/portable/$folder_name
  check "the portable folder holds every program file" all_files_in "$folder"
  check "the portable folder holds no uninstaller" test ! -e "$folder/uninstall.exe"
  help_text=$(timeout 60 wine "C:\\portable\\$folder_name\\purge.exe" --help 2>/dev/null) || help_text=""
  check "the portable purge.exe answers --help" test -n "$help_text"
fi

echo "Windows installer: $passed passed, $failed failed ($((SECONDS - started)) s)"
((failed == 0))
