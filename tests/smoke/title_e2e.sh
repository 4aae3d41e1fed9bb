#!/usr/bin/env bash
# Plays a visit through the real tarnwick window in an X server with xdotool: the logo, the title
# menu, "start", a host pick, the introduction, (the match,) back to the menu and out through
# "end" with exit code 0. At every stage an F2 screenshot is taken and checked by shot_check.
#   title_e2e.sh TARNWICK DATA_DIR SHOT_CHECK
# Prints the start-up time to the first logo frame and the whole run's wall time.
set -u
exe=$1
data=$2
check=$3
fail=0
say() { echo "e2e: $*"; }
bad() { echo "e2e: FAIL: $*"; fail=1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

if [ -z "${DISPLAY:-}" ]; then
  echo "e2e: no DISPLAY; run under xvfb-run" >&2
  exit 1
fi

work=$(mktemp -d)
cleanup() {
  [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null
  if [ $fail -ne 0 ] && [ -n "${E2E_KEEP:-}" ]; then cp -r "$work/shots" "$E2E_KEEP" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/game/data" "$work/shots"
for i in 0 1 2 3; do
  ln -s "$data/data$i.dat" "$work/game/data/data$i.dat"
done
printf '[game]\nFullScreen=off\nBgmVolume=0\nSeVolume=0\n' > "$work/game/config.ini"

# The first viewable window whose name matches $1, waiting up to $2 seconds.
wait_window() {
  local pattern=$1 limit=$2 id name
  for _ in $(seq 1 $((limit * 20))); do
    while IFS=$'\t' read -r id name; do
      if printf '%s\n' "$name" | grep -Eq -- "$pattern" && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; then
        echo "$id"
        return 0
      fi
    done < <(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": .*/\1\t\2/p')
    sleep 0.05
  done
  return 1
}

# One F2 screenshot into $work/shots/$1.png; false when none was written.
shoot() {
  rm -f "$work/game"/ss_*.png
  xdotool keydown F2
  sleep 0.1
  xdotool keyup F2
  sleep 0.25  # every frame with F2 down rewrites the file: let the last write finish
  local f
  f=$(ls "$work/game"/ss_*.png 2>/dev/null | tail -n1)
  [ -n "$f" ] || return 1
  mv "$f" "$work/shots/$1.png"
}

# Screenshots until one shows stage $1, for up to $2 seconds; the last report on failure.
expect_stage() {
  local stage=$1 limit=$2 deadline out
  deadline=$(( $(now_ms) + limit * 1000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    if shoot "$stage" && out=$("$check" "$work/shots/$stage.png" "$stage"); then
      say "stage $stage at $(( $(now_ms) - t0 )) ms"
      return 0
    fi
    sleep 0.1
  done
  bad "stage $stage not seen within $limit s: ${out:-no screenshot}"
  return 1
}

# Real (XTEST) pointer events at window pixel ($1, $2); button $3 (1 left, 3 right).
click_at() {
  xdotool mousemove --sync $((wx + $1)) $((wy + $2))
  sleep 0.3
  # The game samples the buttons once a frame: hold the button over a few frames.
  xdotool mousedown "${3:-1}"
  sleep 0.3
  xdotool mouseup "${3:-1}"
}

# --- Start-up and logo ---
cd "$work/game"
t0=$(now_ms)
"$exe" 2> "$work/game.log" &
pid=$!
if ! win=$(wait_window "^Tarnwick Ostrelle Night" 20); then
  bad "no main window appeared"
  exit 1
fi
say "window at $(( $(now_ms) - t0 )) ms"
xdotool windowfocus --sync "$win" 2>/dev/null
wx=$(xwininfo -id "$win" | awk '/Absolute upper-left X:/{print $4}')
wy=$(xwininfo -id "$win" | awk '/Absolute upper-left Y:/{print $4}')
xdotool mousemove --sync $((wx + 200)) $((wy + 100))
# The first screenshot the logo shows in bounds the start-up to the first logo frame from above.
expect_stage logo 10 && say "start-up to the first logo frame: at most $(( $(now_ms) - t0 )) ms"

# --- Title menu: 375 logo frames, the fade, then input after 120 frames ---
expect_stage menu 20

# "start" is ignored until the menu takes input: click until the pick comes in.
deadline=$(( $(now_ms) + 10000 ))
picked=0
while [ "$(now_ms)" -lt "$deadline" ]; do
  click_at 1000 540
  sleep 1.2
  if shoot pick && "$check" "$work/shots/pick.png" pick > /dev/null; then picked=1; break; fi
done
[ $picked -eq 1 ] && say "stage pick at $(( $(now_ms) - t0 )) ms" || bad "the host pick did not come"

# --- Host pick and introduction ---
click_at 640 330   # the middle panel
expect_stage intro 5

match_ready=0  # TODO(lead): set to 1 once the match (scene 4) is on main, and fill in play_match.
if [ $match_ready -eq 1 ]; then
  # Hold left Ctrl through the four lines into the match.
  xdotool keydown Control_L
  sleep 1
  xdotool keyup Control_L
  # TODO(lead): the match, each step followed by expect_stage with a stage added to shot_check:
  #   click through the first story line; let the roulette and the deal run; click two cards to hold
  #   them; Draw; Showdown and Yes; click until the hand ends; the title button and OK in the
  #   confirmation box (xdotool key Return on the box, as smoke.sh does); then expect_stage menu.
  :
else
  # Until then: leave the introduction by right click, back to the menu.
  click_at 640 620 3
  expect_stage menu 10
  sleep 2.2  # the menu's 120 frames without input
fi

# --- Out through "end": the jingle fades, the window goes, exit code 0 ---
click_at 1000 600
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  [ "$(ps -o stat= -p "$pid" 2>/dev/null | cut -c1)" = "Z" ] && break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null && [ "$(ps -o stat= -p "$pid" 2>/dev/null | cut -c1)" != "Z" ]; then
  bad "the game did not end after \"end\""
else
  wait "$pid"; code=$?
  [ "$code" = "0" ] || bad "exit code $code after \"end\""
  pid=""
fi
say "wall time $(( $(now_ms) - t0 )) ms"
[ -s "$work/game.log" ] && { echo "--- game.log"; cat "$work/game.log"; }
[ $fail -eq 0 ] && say "all checks good"
exit $fail
