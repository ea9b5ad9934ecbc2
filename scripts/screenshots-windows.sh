#!/usr/bin/env bash
# Takes screenshots of purge.exe as a Windows user sees it, under Wine on a
# virtual display with a window manager: the main window, its dialogs, a
# listing, and the report window during and after a purge, so that anyone
# can check that every window is legible, nothing overlaps and the dialogs
# open beside the main window.
#
#   bash scripts/screenshots-windows.sh [OUTPUT_FOLDER] [BUILD_FOLDER]
#
# OUTPUT_FOLDER (default /tmp/kestrane-shots-windows) receives one PNG per
# state; BUILD_FOLDER (default build-windows, or $KESTRANE_WINDOWS_BUILD_DIR)
# holds bin/purge.exe and the files beside it. Everything happens in a Wine
# prefix of its own, removed at the end: the program runs from a program
# folder on C:, drive D: is a temporary folder of a few files, and the Unix
# file system is not mapped as a drive at all, so a purge can reach nothing
# else.
set -euo pipefail
cd "$(dirname "$0")/.."
me=screenshots-windows.sh
source scripts/lib/desktop-session.sh

out=$(realpath -m "${1:-/tmp/kestrane-shots-windows}")
build=${2:-${KESTRANE_WINDOWS_BUILD_DIR:-build-windows}}
bin=$(realpath "$build/bin")

need=(wine wineserver winepath xdotool openbox xwd xwdtopnm pnmtopng Xvfb xdpyinfo)
for tool in "${need[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshots-windows.sh: $tool is missing; run scripts/install-deps.sh as root" >&2
    exit 1
  fi
done
for file in purge.exe torvix.dll kz_text.dat kz_user_manual.zip; do
  if [[ ! -f $bin/$file ]]; then
    echo "screenshots-windows.sh: $bin/$file is missing; build with scripts/build-windows.sh" >&2
    exit 1
  fi
done

mkdir -p "$out"
rm -f "$out"/[0-9][0-9]-*.png  # the pictures of an earlier run, nothing else
work=$(mktemp -d /tmp/kestrane-shots-windows-work.XXXXXX)
# winemenubuilder would reach into the menus of the user running this.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
pids=()
cleanup() {
  local pid
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_desktop

if ! timeout 300 wineboot -i >/dev/null 2>&1; then
  echo "screenshots-windows.sh: Wine cannot start in $WINEPREFIX" >&2
  exit 1
fi
timeout 60 wineserver -w || true

# Z: is the whole Unix file system; without it the program sees C: (the
# prefix) and D: only.
rm -f "$WINEPREFIX/dosdevices/z:"

# The program folder, as the installer makes it.
program_dir=$WINEPREFIX/drive_c/kz827
mkdir -p "$program_dir"
cp "$bin"/{purge.exe,torvix.dll,kz_text.dat,kz_user_manual.zip} "$program_dir/"

drive=$work/drive
make_sample_drive "$drive"
ln -s "$drive" "$WINEPREFIX/dosdevices/d:"

# The setup for the next run, in the user's application data.
# Wine starts in the Windows folder that holds the current one, and there is
# none now for the Unix folder.
cd "$WINEPREFIX/drive_c"
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
mkdir -p "$appdata/Kestrane"
write_sample_setup "$appdata/Kestrane/kz.usr"

shot_number=0
# Saves the whole screen as NN-NAME.png.
shot() {
  shot_number=$((shot_number + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$out" "$shot_number" "$1")
  sleep 0.6  # let the windows finish drawing
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$file"
  echo "$file"
}

(cd "$program_dir" && exec wine 'C:\kz827\purge.exe' >"$work/purge.log" 2>&1) &
pids+=($!)
main=$(window '^Kestrane ')
shot main-window

click "$main" $menu_x "$(menu_y $row_type_of_purge)"
dialog=$(window 'type of purge should be used')
shot type-of-purge
keys "$dialog" Escape
gone 'type of purge should be used'

click "$main" $menu_x "$(menu_y $row_specify_files)"
dialog=$(window '^Specify files$')
shot specify-files
keys "$dialog" Escape
gone '^Specify files$'

click "$main" $menu_x "$(menu_y $row_specify_folder)"
dialog=$(window '^Specify folder$')
shot folder-browser
keys "$dialog" Escape
gone '^Specify folder$'

# The setup panel stands beside the menu, 2740 twips from the left and 540
# above the Setup button's top; "Save setup" opens a second panel whose last
# button ends 60 above the copyright line (its top at 4745).
click "$main" $menu_x "$(menu_y $row_setup)"
shot setup-panel
click "$main" $(((2740 + 1800 + 750) / 15)) $(((4540 + 300 + 187) / 15))  # Save setup
shot save-setup-panel
click "$main" $(((2740 + 120 + 1800) / 15)) $(((4745 + 1000 + 187) / 15))  # its Not now
sleep 0.5

# Help's message box, then a listing with its question (Enter: Yes, with
# folder names) and its report, which is closed (bottom right).
click "$main" $menu_x "$(menu_y $row_help)"
dialog=$(window '^Kestrane$')
shot help
keys "$dialog" Return
gone_id "$dialog"
click "$main" $menu_x "$(menu_y $row_list_files)"
dialog=$(window '^List files$')
shot list-files-question
keys "$dialog" Return
report=$(window '^Estimate purge time$')
sleep 1
shot listing-report
click "$report" $(($(width_of "$report") - 46)) $(($(height_of "$report") - 41))
gone_id "$report"

# The speed test asks first (Enter: Yes), then offers the drives.
click "$main" $menu_x "$(menu_y $row_purge_speed)"
dialog=$(window '^Test purge speed$')
shot speed-test-question
keys "$dialog" Return
dialog=$(window '^Specify disk drive$')
sleep 2  # the drive list fills in first
shot specify-drive-speed-test
keys "$dialog" Escape
gone '^Specify disk drive$'

# The main window moved low to the bottom right: its dialogs still open
# whole on the screen, in front of it. Cancelling the purge confirmation
# brings up "Purge cancelled", whose title must be whole.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
xdotool windowmove "$main" $((screen_w - 400)) $((screen_h - 300))
sleep 1
click "$main" $menu_x "$(menu_y $row_type_of_purge)"
dialog=$(window 'type of purge should be used')
shot low-main-type-of-purge
keys "$dialog" Escape
gone 'type of purge should be used'
click "$main" $menu_x "$(menu_y $row_purge_files)"
dialog=$(window '^Purge confirmation$')
shot low-main-purge-confirmation
keys "$dialog" Escape
dialog=$(window '^Purge cancelled$')
shot purge-cancelled
keys "$dialog" Return
gone_id "$dialog"
xdotool windowmove "$main" 0 0
sleep 1

# The purge: its confirmation (focus on "No, cancel this purge"; Shift+Tab
# leads to "Yes, purge these files"), then the report window while it runs,
# paused, and at the end.
click "$main" $menu_x "$(menu_y $row_purge_files)"
dialog=$(window '^Purge confirmation$')
shot purge-confirmation
keys "$dialog" shift+Tab Return
report=$(window '^Purge files$')
shot report-during-purge
width=$(width_of "$report")
height=$(height_of "$report")
# Pause and Continue stand at the bottom right; the run pauses when the
# file under way is done.
click "$report" $((width - 46)) $((height - 41))
sleep 3
shot report-paused
click "$report" $((width - 46)) $((height - 41))
# The purge query for setup.exe; Enter gives its default, No.
dialog=$(window '^Purge query$')
shot purge-query
keys "$dialog" Return
for _ in $(seq 600); do
  [[ -e $drive/archive1.dat || -e $drive/archive2.dat || -e $drive/archive3.dat ||
     -e $drive/archive4.dat || -e "$drive/old photos" || -e "$drive/letters/tax return.txt" ]] ||
    break
  sleep 0.2
done
sleep 1
shot report-after-purge  # "Done" at the bottom left

# Part of the report selected with the mouse: highlighted, and the view
# stays where it is.
xdotool mousemove --window "$report" 40 40 mousedown 1
sleep 0.2
xdotool mousemove --window "$report" 300 75
sleep 0.2
xdotool mouseup 1
shot report-selection

# A purge stopped: new files to purge and the program started again on the
# sample setup (a purge leaves no files specified), the purge paused after
# its first file and stopped with the Stop button that Pause brings up
# (3600 twips from the left, on the row of Pause). "Stopped" stays at the
# bottom left.
for i in 1 2 3 4; do head -c $((32 * 1024 * 1024)) /dev/urandom >"$drive/backup$i.dat"; done
click "$main" $menu_x "$(menu_y 13)"  # Quit
gone_id "$main"
timeout 60 wineserver -w || true
write_sample_setup "$appdata/Kestrane/kz.usr"
(cd "$program_dir" && exec wine 'C:\kz827\purge.exe' >>"$work/purge.log" 2>&1) &
pids+=($!)
main=$(window '^Kestrane ')
purge_then_stop_while_paused "$main"
shot report-after-stop

echo "Screenshots are in $out"
