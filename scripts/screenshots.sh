#!/usr/bin/env bash
# Takes screenshots of the desktop program as a user sees it: the main
# window, its dialogs, and the report window during and after a purge, on a
# virtual display with a window manager, so that anyone can check that every
# window is legible and nothing overlaps.
#
#   bash scripts/screenshots.sh [OUTPUT_FOLDER] [BUILD_FOLDER]
#
# OUTPUT_FOLDER (default /tmp/kestrane-shots) receives one PNG per state;
# BUILD_FOLDER (default build, or $KESTRANE_BUILD_DIR) holds bin/purge.
# Drive D: is a temporary folder of a few files, and the setup for the next
# run lives in a temporary folder too: nothing outside them is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
me=screenshots.sh
source scripts/lib/desktop-session.sh

out=$(realpath -m "${1:-/tmp/kestrane-shots}")
build=${2:-${KESTRANE_BUILD_DIR:-build}}
program=$(realpath "$build/bin/purge")

need=(xdotool openbox xwd xwdtopnm pnmtopng Xvfb)
for tool in "${need[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshots.sh: $tool is missing; run scripts/install-deps.sh as root" >&2
    exit 1
  fi
done

mkdir -p "$out"
rm -f "$out"/[0-9][0-9]-*.png  # the pictures of an earlier run, nothing else
work=$(mktemp -d /tmp/kestrane-shots-work.XXXXXX)
pids=()
wipe_drive=""
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [[ -n $wipe_drive ]]; then umount "$wipe_drive" 2>/dev/null || umount -l "$wipe_drive"; fi
  rm -rf "$work"
}
trap cleanup EXIT

start_desktop
sleep 1

drive=$work/drive
make_sample_drive "$drive"
export KESTRANE_DRIVES="D=$drive"

# As root, drive C: is a small file system of its own on a loop device, so
# that the disk wipe can be followed through its dialogs and its fill; the
# wipe is cancelled before it purges anything, and its dummy files deleted.
wipe_drive=""
if [[ $(id -u) -eq 0 ]] && command -v mkfs.ext2 >/dev/null; then
  truncate -s 320M "$work/wipe.img"
  mkfs.ext2 -q -F "$work/wipe.img"
  mkdir -p "$work/wipe"
  if mount -o loop "$work/wipe.img" "$work/wipe" 2>/dev/null; then
    wipe_drive=$work/wipe
    mkdir -p "$wipe_drive/keep"
    echo "old minutes" >"$wipe_drive/minutes.txt"
    export KESTRANE_DRIVES="C=$wipe_drive;D=$drive"
  fi
fi

export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/Kestrane"
write_sample_setup "$XDG_CONFIG_HOME/Kestrane/kz.usr"

shot_number=0
# Saves the whole screen as NN-NAME.png. Under Xvfb the screen itself shows
# Qt's own dialogs (message boxes, file dialogs) as black squares although
# they are drawn, so the window named by the optional second argument is
# read from the window and laid over the screen where it stands.
shot() {
  shot_number=$((shot_number + 1))
  local file x y
  file=$(printf '%s/%02d-%s.png' "$out" "$shot_number" "$1")
  sleep 0.6  # let the windows finish drawing
  xwd -root -silent | xwdtopnm 2>/dev/null >"$work/screen.pnm"
  # A window that has closed meanwhile (the fill's) leaves the screen as it is.
  if [[ -n ${2:-} ]] && xwininfo -id "$2" >"$work/window.txt" 2>/dev/null &&
    xwd -id "$2" -silent 2>/dev/null | xwdtopnm 2>/dev/null >"$work/window.pnm" &&
    [[ -s $work/window.pnm ]]; then
    x=$(sed -n 's/^ *Absolute upper-left X: *//p' "$work/window.txt")
    y=$(sed -n 's/^ *Absolute upper-left Y: *//p' "$work/window.txt")
    pnmpaste "$work/window.pnm" "$x" "$y" "$work/screen.pnm" >"$work/both.pnm"
    mv "$work/both.pnm" "$work/screen.pnm"
  fi
  pnmtopng "$work/screen.pnm" >"$file"
  echo "$file"
}

"$program" >"$work/purge.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
main=$(window '^Kestrane')
shot main-window

click "$main" $menu_x "$(menu_y $row_type_of_purge)"
dialog=$(window 'type of purge should be used')
shot type-of-purge "$dialog"
keys "$dialog" Escape
gone 'type of purge should be used'

click "$main" $menu_x "$(menu_y $row_specify_files)"
dialog=$(window '^Specify files$')
shot specify-files "$dialog"
keys "$dialog" Escape
gone '^Specify files$'

click "$main" $menu_x "$(menu_y $row_specify_folder)"
dialog=$(window '^Specify folder$')
shot folder-browser "$dialog"
keys "$dialog" Escape
sleep 1

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
shot help "$dialog"
keys "$dialog" Return
gone_id "$dialog"
click "$main" $menu_x "$(menu_y $row_list_files)"
dialog=$(window '^List files$')
shot list-files-question "$dialog"
keys "$dialog" Return
report=$(window '^Estimate purge time$')
sleep 1
shot listing-report "$report"
click "$report" $(($(width_of "$report") - 46)) $(($(height_of "$report") - 41))
gone_id "$report"

# The disk wipe: the drive (C:, the first), the excluded folders, the
# file-monitoring query (No), then its questions up to the fill and the
# last one, which is cancelled. Without a drive of its own (not root) only
# the drive dialog is shown, and cancelled.
click "$main" $menu_x "$(menu_y $row_wipe_disk)"
dialog=$(window '^Specify disk drive$')
shot specify-drive-wipe "$dialog"
if [[ -z $wipe_drive ]]; then
  keys "$dialog" Escape
else
  click "$dialog" $(((4680 + 650) / 15)) $(((240 + 187) / 15))  # Accept
  dialog=$(window '^Excluded folders$')
  shot excluded-folders "$dialog"
  keys "$dialog" Return  # Continue has the focus
  dialog=$(window '^File-monitoring software query$')
  shot file-monitoring-query "$dialog"
  click "$dialog" $(((2220 + 600) / 15)) $(((1080 + 200) / 15))  # No
  # Message boxes: the speed test offer (No), then OK to the advice to
  # close other programs, the time estimate and the fill's announcement.
  dialog=$(window '^Wipe disk$')
  shot speed-test-offer "$dialog"
  keys "$dialog" alt+n
  gone_id "$dialog"
  for name in close-applications wipe-estimate fill-announcement; do
    dialog=$(window '^Wipe disk$')
    shot "$name" "$dialog"
    keys "$dialog" Return
    gone_id "$dialog"
  done
  # The fill of 300 MB may be over before it can be seen.
  fill=""
  for _ in $(seq 100); do
    fill=$(xdotool search --onlyvisible --name '^Fill disk$' 2>/dev/null | head -n 1 || true)
    [[ -z $fill ]] || break
    xdotool search --onlyvisible --name '^Wipe disk$' >/dev/null 2>&1 && break
    sleep 0.05
  done
  if [[ -n $fill ]]; then shot fill-disk "$fill"; fi
  dialog=$(window '^Wipe disk$')
  shot ready-to-wipe "$dialog"
  keys "$dialog" Escape
fi
sleep 1

# The speed test asks first (Enter: Yes), then offers the drives.
click "$main" $menu_x "$(menu_y $row_purge_speed)"
dialog=$(window '^Test purge speed$')
shot speed-test-question "$dialog"
keys "$dialog" Return
dialog=$(window '^Specify disk drive$')
shot specify-drive-speed-test "$dialog"
keys "$dialog" Escape
sleep 1

# The main window moved low to the bottom right: its dialogs still open
# whole on the screen, in front of it. Cancelling the purge confirmation
# brings up "Purge cancelled", whose title must be whole.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
xdotool windowmove "$main" $((screen_w - 400)) $((screen_h - 300))
sleep 1
click "$main" $menu_x "$(menu_y $row_type_of_purge)"
dialog=$(window 'type of purge should be used')
shot low-main-type-of-purge "$dialog"
keys "$dialog" Escape
gone 'type of purge should be used'
click "$main" $menu_x "$(menu_y $row_purge_files)"
dialog=$(window '^Purge confirmation$')
shot low-main-purge-confirmation "$dialog"
keys "$dialog" Escape
dialog=$(window '^Purge cancelled$')
shot purge-cancelled "$dialog"
keys "$dialog" Return
gone_id "$dialog"
xdotool windowmove "$main" 0 0
sleep 1

# The purge: its confirmation (focus on "No, cancel this purge"; Shift+Tab leads
# to "Yes, purge these files"), then the report window while it runs,
# paused, and at the end.
click "$main" $menu_x "$(menu_y $row_purge_files)"
dialog=$(window '^Purge confirmation$')
shot purge-confirmation "$dialog"
keys "$dialog" shift+Tab Return
report=$(window '^Purge files$')
shot report-during-purge "$report"
width=$(width_of "$report")
height=$(height_of "$report")
# Pause and Continue stand at the bottom right; the run pauses when the
# file under way is done.
click "$report" $((width - 46)) $((height - 41))
sleep 3
shot report-paused "$report"
click "$report" $((width - 46)) $((height - 41))
# The purge query for setup.exe; Enter gives its default, No.
dialog=$(window '^Purge query$')
shot purge-query "$dialog"
keys "$dialog" Return
for _ in $(seq 600); do
  [[ -e $drive/archive1.dat || -e $drive/archive2.dat || -e $drive/archive3.dat ||
     -e $drive/archive4.dat || -e "$drive/old photos" || -e "$drive/letters/tax return.txt" ]] ||
    break
  sleep 0.2
done
sleep 1
shot report-after-purge "$report"  # "Done" at the bottom left

# Part of the report selected with the mouse: highlighted, and the view
# stays where it is.
xdotool mousemove --window "$report" 40 40 mousedown 1
sleep 0.2
xdotool mousemove --window "$report" 300 75
sleep 0.2
xdotool mouseup 1
shot report-selection "$report"

# A purge stopped: new files to purge and the program started again on the
# sample setup (a purge leaves no files specified), the purge paused after
# its first file and stopped with the Stop button that Pause brings up
# (3600 twips from the left, on the row of Pause). "Stopped" stays at the
# bottom left.
for i in 1 2 3 4; do head -c $((32 * 1024 * 1024)) /dev/urandom >"$drive/backup$i.dat"; done
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
write_sample_setup "$XDG_CONFIG_HOME/Kestrane/kz.usr"
"$program" >>"$work/purge.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
main=$(window '^Kestrane')
purge_then_stop_while_paused "$main"
shot report-after-stop "$report"

echo "Screenshots are in $out"
