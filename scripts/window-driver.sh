# shellcheck shell=bash
# Sourced by scripts/measure and scripts/screenshots: drives a program's window
# under an X server with xdotool and reads its pixels back with xwd. The window
# is 640x480 at the origin of the screen (there is no window manager).

# Where the pointer rests between presses. The programs draw the pointer
# themselves, so it must stay clear of the board, the row and the status line.
kParkX=620
kParkY=372

# find_window TITLE [SKIP...]: prints the id of a visible window whose title
# contains TITLE and that is none of the windows SKIP, waiting up to 15 s for
# it. A window that goes away during the search makes xdotool fail: that only
# means "look again".
find_window() {
  local title="$1" found="" end=$((SECONDS + 15)) id
  shift
  while [ -z "$found" ] && [ "$SECONDS" -lt "$end" ]; do
    for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
      case " $* " in *" $id "*) ;; *) found=$id; break ;; esac
    done
    [ -n "$found" ] || sleep 0.05
  done
  echo "$found"
}

# Waits up to 5 s until no window's title contains $1, so that the next
# program's window cannot be mistaken for the last one's.
wait_window_gone() {
  local end=$((SECONDS + 5))
  while xdotool search --name "$1" >/dev/null 2>&1 && [ "$SECONDS" -lt "$end" ]; do
    sleep 0.05
  done
}

# The library learns where the pointer is only when it enters the window:
# leave the window and come back to the resting spot.
park_pointer() {
  xdotool mousemove 900 700 sleep 0.1 \
    mousemove --window "$1" $((kParkX - 20)) $((kParkY - 20)) sleep 0.1 \
    mousemove --window "$1" "$kParkX" "$kParkY"
  sleep 0.2
}

# press WINDOW X Y [BUTTON]: one click, held long enough for the 50 ms poll.
press() {
  local button="${4:-1}"
  xdotool mousemove --window "$1" "$2" "$3" sleep 0.12 mousedown "$button" sleep 0.1 \
    mouseup "$button" sleep 0.03 mousemove --window "$1" "$kParkX" "$kParkY"
  sleep 0.1
}

# Presses "&Lõpeta". The window closes with the release, so the pointer is
# not moved back to its resting spot.
press_quit() {
  xdotool mousemove --window "$1" 100 416 sleep 0.12 mousedown 1 sleep 0.1 mouseup 1
}

# grab WINDOW FILE: the window's 640x480 picture, in any format convert writes.
grab() {
  xwd -id "$1" -silent | convert xwd:- -crop 640x480+0+0 +repage "$2"
}

# pixel WINDOW X Y: prints "R G B", 0..255.
pixel() {
  xwd -id "$1" -silent |
    convert xwd:- -crop "1x1+$2+$3" +repage -depth 8 txt:- |
    sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# ink_box IMAGE X Y W H: prints "width height+x+y" of what is not white in
# the rectangle of the picture IMAGE (any input convert reads, "xwd:-" for a
# pipe), or "0" when the rectangle is all white.
ink_box() {
  local box
  box=$(convert "$1" -crop "${4}x${5}+$2+$3" +repage -bordercolor white -border 1 \
    -fuzz 1% -trim -format '%w %h%O' info: 2>/dev/null) || true
  case "$box" in
    "1 1"*|"") echo 0 ;;   # trim leaves one pixel of an all-white picture
    *) echo "$box" ;;
  esac
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# Both programs' menus draw the left border of "&Uus mäng" at x = 25.
menu_shown() {
  [ "$(pixel "$1" 25 375)" = "0 0 0" ]
}

# place_tiles WINDOW "N N ... N": the position in reading order, 0 the blank.
# Clicks, for n = 1..15, the cell where n stands.
place_tiles() {
  local window="$1" n i
  local -a cells
  read -r -a cells <<<"$2"
  for n in $(seq 1 15); do
    for i in "${!cells[@]}"; do
      if [ "${cells[$i]}" = "$n" ]; then
        press "$window" $((250 + 65 * (i % 4))) $((140 + 65 * (i / 4)))
      fi
    done
  done
}

# place_counters WINDOW "B B B _ W W W": left button for a white counter,
# right button (3 to X) for a black one.
place_counters() {
  local window="$1" k
  local -a cells
  read -r -a cells <<<"$2"
  for k in "${!cells[@]}"; do
    case "${cells[$k]}" in
      W) press "$window" $((230 + 52 * k)) 230 1 ;;
      B) press "$window" $((230 + 52 * k)) 230 3 ;;
    esac
  done
}

# Prints the row of counters as shown: B filled disc, W ring, _ empty.
read_counters() {
  local line row="" k
  line=$(xwd -id "$1" -silent | convert xwd:- -crop 640x1+0+230 +repage -depth 8 txt:-)
  for k in 0 1 2 3 4 5 6; do
    if grep -q "^$((240 + 52 * k)),0: *(0,0,0)" <<<"$line"; then
      row+="B"
    elif grep -q "^$((260 + 52 * k)),0: *(0,0,0)" <<<"$line"; then
      row+="W"
    else
      row+="_"
    fi
  done
  echo "$row"
}

# True when every white counter stands left of every black one.
counters_sorted() {
  [[ "$(read_counters "$1")" =~ ^[W_]*W[B_]*$ ]]
}

# Width in pixels of the status line in a tiles picture, 0 when there is none.
tiles_status_width() {
  local box
  box=$(ink_box "$1" 250 400 390 80)
  echo "${box%% *}"
}

# True when tiles shows a short status line: only "Lahendatud!." is under
# 200 pixels wide; the placing, solving and failure lines all run further.
tiles_finished() {
  local width
  width=$(xwd -id "$1" -silent | tiles_status_width xwd:-)
  [ "$width" -gt 0 ] && [ "$width" -lt 200 ]
}
