# Helpers shared by the real-window tests (sourced, not run). They drive the game in an X server
# with xwininfo and xdotool; xdotool's own name search cannot read UTF-8 window names, so the
# names come from xwininfo.

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Ids of the viewable top-level windows whose name matches the extended regex $1.
find_windows() {
  local pattern=$1 id name
  xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": .*/\1\t\2/p' |
    while IFS=$'\t' read -r id name; do
      if printf '%s\n' "$name" | grep -Eq -- "$pattern" &&
         xwininfo -id "$id" 2>/dev/null | grep -q "IsViewable"; then
        echo "$id"
      fi
    done
}

# The first viewable window whose name matches $1, waiting up to $2 seconds; prints its id.
wait_window() {
  local pattern=$1 limit=$2 id deadline
  deadline=$(( $(now_ms) + limit * 1000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    id=$(find_windows "$pattern" | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

# 0 once process $1 has ended or is a zombie, within $2 seconds. For a child of this shell, call
# it directly (not in a subshell) and collect the exit code with `wait` afterwards.
wait_gone() {
  local p=$1 limit=$2
  for _ in $(seq 1 $((limit * 10))); do
    kill -0 "$p" 2>/dev/null || return 0
    [ "$(ps -o stat= -p "$p" 2>/dev/null | cut -c1)" = "Z" ] && return 0
    sleep 0.1
  done
  return 1
}

# An F2 screenshot of the game started in folder $1, moved to $2; false when none was written.
# Every frame with F2 down rewrites the file: wait until its size holds still (slow frames under
# load write late).
take_shot() {
  local dir=$1 out=$2 f="" size=-1 now
  rm -f "$dir"/ss_*.png
  xdotool keydown F2
  sleep 0.1
  xdotool keyup F2
  for _ in $(seq 1 40); do
    sleep 0.1
    f=$(ls "$dir"/ss_*.png 2>/dev/null | tail -n1)
    [ -n "$f" ] || continue
    now=$(stat -c %s "$f" 2>/dev/null || echo -1)
    [ "$now" -gt 0 ] && [ "$now" = "$size" ] && break
    size=$now
  done
  [ -n "$f" ] || return 1
  mv "$f" "$out"
}

# Real (XTEST) pointer events at pixel ($1, $2) of window $win; button $3 (1 left, 3 right).
# The game samples the buttons once a frame and keeps a press that comes and goes in between.
click_at() {
  local wx wy x y at
  wx=$(xwininfo -id "$win" | awk '/Absolute upper-left X:/{print $4}')
  wy=$(xwininfo -id "$win" | awk '/Absolute upper-left Y:/{print $4}')
  x=$((wx + $1))
  y=$((wy + $2))
  # --sync would wait for a motion that never comes when the pointer is already there.
  at=$(xdotool getmouselocation 2>/dev/null | sed -n 's/^x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/p')
  [ "$at" = "$x $y" ] || timeout 5 xdotool mousemove --sync "$x" "$y"
  sleep 0.1
  xdotool mousedown "${3:-1}"
  sleep 0.1
  xdotool mouseup "${3:-1}"
}
