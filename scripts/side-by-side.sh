# shellcheck shell=bash
# shellcheck disable=SC2154  # seconds, away_x and away_y are the caller's
# Sourced by scripts/measure and scripts/measure-windows, after
# scripts/window-driver.sh: programs started side by side in one X server,
# and the share of one core each takes over the same seconds. The caller
# sets `seconds` (the length of a sample) and `away_x`, `away_y` (where the
# pointer waits, in no window), and ends the programs in `started`.

hz=$(getconf CLK_TCK)
started=()
known_windows=()

# User plus system time of every thread of the process, in clock ticks.
cpu_ticks() {
  local stat fields
  stat=$(<"/proc/$1/stat")
  # Fields from the third on; the name in parentheses may hold spaces.
  read -r -a fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))  # utime and stime, fields 14 and 15
}

# cpu_shares PID...: percent of one core of each, over the same $seconds seconds.
cpu_shares() {
  local before=() after=() pid w0 w1 i
  for pid in "$@"; do before+=("$(cpu_ticks "$pid")"); done
  w0=$(date +%s%N)
  sleep "$seconds"
  for pid in "$@"; do after+=("$(cpu_ticks "$pid")"); done
  w1=$(date +%s%N)
  for i in "${!before[@]}"; do
    awk -v t=$((after[i] - before[i])) -v hz="$hz" -v ns=$((w1 - w0)) \
      'BEGIN { printf "%.2f ", 100 * t / hz / (ns / 1e9) }'
  done
  echo
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "n/a" }'
}

# launch PROGRAM TITLE X Y: starts it with the pointer away from where its
# window opens, waits for its menu (a game program, title Kalvorintu) and
# moves the window to (X, Y); sets pid and window.
launch() {
  xdotool mousemove "$away_x" "$away_y"
  "$1" >/dev/null 2>&1 &
  pid=$!
  started+=("$pid")
  window=$(find_window "$2" "${known_windows[@]}")
  [ -n "$window" ] || { echo "no window from $1" >&2; exit 1; }
  known_windows+=("$window")
  if [ "$2" = Kalvorintu ]; then
    wait_for 20 menu_shown "$window" || { echo "no menu from $1" >&2; exit 1; }
  fi
  xdotool windowmove "$window" "$3" "$4"
  sleep 0.5
}
