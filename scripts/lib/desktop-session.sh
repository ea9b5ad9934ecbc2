# Shared by the screenshot scripts: a virtual display with a window manager,
# drive D:'s sample files, the setup they start from, and the ways of
# finding, waiting for, clicking and typing into the program's windows.
#
# The sourcing script sets `me` (its name, for messages), `work` (its
# temporary folder) and `pids` (processes to end on exit), and defines
# `shot NAME` (used to record a window that never came).

# Starts Xvfb on a free display number, and openbox on it.
start_desktop() {
  local display=91
  while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
  export DISPLAY=:$display
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
}

# Fills a folder with drive D:'s files: a few large ones so that the purge
# lasts long enough to be seen running, and small ones in subfolders.
make_sample_drive() {
  local drive=$1 i name
  mkdir -p "$drive/letters" "$drive/old photos"
  for i in 1 2 3 4; do head -c $((32 * 1024 * 1024)) /dev/urandom >"$drive/archive$i.dat"; done
  for name in "letter to bank" "notes 2019" "tax return"; do
    echo "$name" >"$drive/letters/$name.txt"
  done
  head -c 300000 /dev/urandom >"$drive/old photos/beach.jpg"
  echo "installer" >"$drive/letters/setup.exe"  # asks the purge query
}

# The setup for the next run, written to the file named: folder D:\ with
# all its files and subfolders, alternate bit patterns three times (12
# overwrites, some seconds for the 128 MB), and "Purge slack area" ticked.
write_sample_setup() {
  printf '%s\r\n' 8.2.7 ' 1 ' ' 0 ' 'D:\' '*.*' ' 1 ' ' 3 ' \
    ' 1 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 1 ' >"$1"
}

# The id of the visible window whose title matches, once it is there.
window() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return
    fi
    sleep 0.1
  done
  echo "$me: no window \"$1\" appeared" >&2
  shot "missing-window" >&2
  exit 1
}

# Waits until no visible window matches the title.
gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "$me: window \"$1\" stayed" >&2
  exit 1
}

# Waits until the window with this id is no longer shown.
gone_id() {
  for _ in $(seq 100); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    sleep 0.1
  done
}

# Clicks at a point of a window's inside, in pixels from the top left corner
# of its client area.
click() {
  sleep 0.5  # a window that was just re-enabled takes a moment to accept input
  xdotool mousemove --window "$1" --sync "$2" "$3"
  sleep 0.2
  xdotool click 1
}

# Presses keys in a window.
keys() {
  local id=$1
  shift
  # Typed as a user would, into the focused window: keys sent to a window
  # directly arrive out of turn and leave Qt waiting for a release.
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  sleep 0.3
  xdotool key --delay 150 "$@"
}

width_of() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }
height_of() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p'; }

# The main window's menu is a column of buttons 160 pixels wide whose
# centres lie 96 pixels from the left edge, the first 36 pixels from the top
# and each next one 29.3 pixels lower (its layout in twips, 15 to a pixel
# at 96 dots an inch).
menu_x=96
menu_y() { echo $(((547 + 440 * $1) / 15)); }
row_specify_folder=0
row_specify_files=1
row_type_of_purge=5
row_list_files=6
row_purge_files=7
row_purge_speed=8
row_wipe_disk=9
row_setup=11
row_help=12

# Purges the selection of main window $1, confirms, pauses the run in the
# report window and stops it there; leaves the report's id in $report.
# Pause and Stop sit on the report's bottom row, Stop 3600 twips from the
# left; the files must be large enough for the run to be caught midway.
purge_then_stop_while_paused() {
  click "$1" $menu_x "$(menu_y $row_purge_files)"
  keys "$(window '^Purge confirmation$')" shift+Tab Return
  report=$(window '^Purge files$')
  sleep 0.5
  local width height
  width=$(width_of "$report")
  height=$(height_of "$report")
  click "$report" $((width - 46)) $((height - 41))
  sleep 3
  click "$report" $(((3600 + 500) / 15)) $((height - 41))
  sleep 1
}
