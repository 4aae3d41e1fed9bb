#!/usr/bin/env bash
# Plays a visit through the real tarnwick window in an X server with xdotool: the logo, the title
# menu, "start", a host pick, the introduction, one hand of the match (story line, roulette, deal,
# two cards held, Draw, Showdown, the result, the double-up declined), the title button with its
# confirmation (or, when the hand cost every medal, the advertisement), back to the menu and out
# through "end" with exit code 0. At every stage an F2 screenshot is taken and checked by
# shot_check; the checks do not depend on the cards dealt.
#   title_e2e.sh TARNWICK DATA_DIR SHOT_CHECK
# Prints the start-up time to the first frame and to the logo in full, and the whole run's wall time.
set -u
exe=$1
data=$2
check=$3
fail=0
say() { echo "e2e: $*"; }
bad() { echo "e2e: FAIL: $*"; fail=1; }
. "$(dirname "$0")/x11_helpers.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "e2e: no DISPLAY; run under xvfb-run" >&2
  exit 1
fi

# A game left over from an earlier run (a test killed by its timeout cannot clean up) holds the
# single-instance lock: every start would only show the refusal. Say so instead of timing out.
lock=/tmp/MultiplexStartingPrevention_TARNWICK_ON-$(id -u).lock
if [ -e "$lock" ] && ! flock -n "$lock" true; then
  echo "e2e: FAIL: another tarnwick holds $lock (pids: $(fuser "$lock" 2>/dev/null)); end it first"
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
# The sound effects are loose files next to the data folder.
[ -d "$data/../wav" ] && ln -s "$(cd "$data/../wav" && pwd)" "$work/game/wav"
printf '[game]\nFullScreen=off\nBgmVolume=0\nSeVolume=0\n' > "$work/game/config.ini"

# One F2 screenshot into $work/shots/$1.png; false when none was written.
shoot() { take_shot "$work/game" "$work/shots/$1.png"; }

# One screenshot now: true when it shows stage $1 (kept as $work/shots/$1.png).
stage_now() {
  shoot "$1" && "$check" "$work/shots/$1.png" "$1" > /dev/null
}

# One screenshot now, kept as $work/shots/now.png for several checks with is.
snap() { shoot now; }
# True when the last snap shows stage $1.
is() { "$check" "$work/shots/now.png" "$1" > /dev/null 2>&1; }

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

# E2E_KEYS=1 plays the same visit by the keyboard alone (the pointer stays off every button).
keys=${E2E_KEYS:-0}
# A key held over a few frames (the game samples the keyboard once a frame).
press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.05
}
# The pointer to an empty place of the window, moved a little so that the scene sees it move and
# hands the highlight back from the keyboard to the pointer.
pointer_away() {
  click_free=$(( 1 - ${click_free:-0} ))
  local x=$((wx + 200 + click_free * 10)) y=$((wy + 100))
  timeout 5 xdotool mousemove --sync "$x" "$y"
  sleep 0.1
}
# One answer to the question on screen: Yes (or OK) or No, by a click on its button or by key.
answer() {
  if [ "$keys" = 1 ]; then
    if [ "$1" = yes ]; then press y; else press n; fi
  elif [ "$1" = yes ]; then
    click_at 170 407
  else
    click_at 400 407
  fi
}

# --- Start-up and logo ---
cd "$work/game"
t0=$(now_ms)
# A fixed seed deals the same hand whenever the moves are the same: with seed 2 and the first two
# cards held, the hand against Pemra is won (E2E_SEED chooses another; the checks hold for any).
TARNWICK_SEED=${E2E_SEED:-2} "$exe" 2> "$work/game.log" &
pid=$!
# Should this script be killed (a ctest timeout), the game goes with it.
( while kill -0 $$ 2>/dev/null; do sleep 1; done; kill -9 "$pid" 2>/dev/null ) &
if ! win=$(wait_window "^Tarnwick Ostrelle Night" 20); then
  bad "no main window appeared"
  exit 1
fi
say "window at $(( $(now_ms) - t0 )) ms"
# The game's own line when its first frame is drawn: start-up from the launch to that frame.
for _ in $(seq 1 200); do grep -q "first frame" "$work/game.log" 2>/dev/null && break; sleep 0.02; done
say "first frame drawn at $(( $(now_ms) - t0 )) ms after the launch ($(grep -o 'first frame [0-9-]* ms' "$work/game.log" | head -n1) into Initialize)"
timeout 5 xdotool windowfocus --sync "$win" 2>/dev/null
wx=$(xwininfo -id "$win" | awk '/Absolute upper-left X:/{print $4}')
wy=$(xwininfo -id "$win" | awk '/Absolute upper-left Y:/{print $4}')
xdotool mousemove --sync $((wx + 200)) $((wy + 100))
# The first screenshot the logo shows in bounds the start-up to the first logo frame from above.
expect_stage logo 30 && say "the logo fully faded in: at most $(( $(now_ms) - t0 )) ms"

# --- Title menu: 375 logo frames, the fade, then input after 120 frames ---
expect_stage menu 60

# "start" is ignored until the menu takes input: click it while the menu shows, until the pick
# comes in.
deadline=$(( $(now_ms) + 60000 ))
picked=0
while [ "$(now_ms)" -lt "$deadline" ]; do
  snap || continue
  if is pick; then picked=1; break; fi
  if is menu; then
    if [ "$keys" = 1 ]; then pointer_away; press Down; press Return; else click_at 1000 540; fi
  fi
  sleep 0.3
done
[ $picked -eq 1 ] && say "stage pick at $(( $(now_ms) - t0 )) ms" || bad "the host pick did not come"

# --- Host pick and introduction ---
# The panels take clicks once they have come in: click the middle one until the introduction shows.
deadline=$(( $(now_ms) + 60000 ))
intro=0
while [ "$(now_ms)" -lt "$deadline" ]; do
  snap || continue
  if is intro; then intro=1; break; fi
  if is pick; then
    # By keys the first Right lights the leftmost panel: three reach the middle one.
    if [ "$keys" = 1 ]; then pointer_away; press Right; press Right; press Right; press Return; else click_at 640 330; fi
  fi
  sleep 0.3
done
[ $intro -eq 1 ] && say "stage intro at $(( $(now_ms) - t0 )) ms" || bad "the introduction did not come"

# --- The match (E2E_MATCH=0 leaves it out and returns from the introduction by a right click).
# Every step acts until the screen it leads to shows, so a slow machine only takes longer. ---
if [ "${E2E_MATCH:-1}" = 1 ]; then
# --- The match against Pemra: one hand played whatever the cards, then back to the title ---
# Held left Ctrl runs through the four lines into the match.
deadline=$(( $(now_ms) + 60000 ))
story=0
while [ "$(now_ms)" -lt "$deadline" ]; do
  xdotool keydown Control_L
  sleep 1
  xdotool keyup Control_L
  if stage_now match_story; then story=1; break; fi
done
[ $story -eq 1 ] && say "stage match_story at $(( $(now_ms) - t0 )) ms" || bad "the match's story line did not come"
# A click shows the story line whole, the next ends it: roulette, then the deal. The opponent may
# call before the first choice (its notice takes an OK) or cast an ability.
deadline=$(( $(now_ms) + 90000 ))
while [ "$(now_ms)" -lt "$deadline" ]; do
  snap || continue
  is match_table && break
  if is match_question; then
    if [ "$keys" = 1 ]; then press Return; else click_at 320 407; fi
  elif is match_story; then
    if [ "$keys" = 1 ]; then press Return; else click_at 640 400; fi
  fi
  sleep 0.2
done
expect_stage match_table 1
# One whole hand: hold, draw, showdown, result, then the next deal (or the advertisement when the
# hand cost every medal). E2E_FULL_HAND=0 leaves the dealt table by the title button instead.
if [ "${E2E_FULL_HAND:-1}" = 1 ]; then
  # Hold the first two cards, Draw, wait for the next choice (or the comparison after a call).
  if [ "$keys" = 1 ]; then press 1; press 2; else click_at 80 500; click_at 190 500; fi
  expect_stage match_choice 5
  if [ "$keys" = 1 ]; then press d; else click_at 72 663; fi
  deadline=$(( $(now_ms) + 60000 ))
  showdown=0
  while [ "$(now_ms)" -lt "$deadline" ]; do
    snap || continue
    is match_table && break
    if is match_banner_win || is match_banner_tie || is match_banner_lose; then showdown=1; break; fi
    sleep 0.2
  done
  if [ $showdown -eq 0 ]; then
    # Showdown and Yes.
    if [ "$keys" = 1 ]; then press s; else click_at 183 663; fi
    expect_stage match_question 5
    answer yes
  fi
  # The result: one banner or another, the plates with it.
  deadline=$(( $(now_ms) + 60000 ))
  result=""
  while [ -z "$result" ] && [ "$(now_ms)" -lt "$deadline" ]; do
    snap || continue
    for r in win tie lose; do
      if is match_banner_$r; then result=$r; break; fi
    done
    sleep 0.1
  done
  [ -n "$result" ] && say "showdown result: $result at $(( $(now_ms) - t0 )) ms" || bad "no showdown banner"
  # Click until the next hand's choice; the double-up offer is declined. A lost hand may have
  # cost every medal: the match then ends in the advertisement, and a click leads to the title.
  deadline=$(( $(now_ms) + 90000 ))
  ended=0
  while [ "$(now_ms)" -lt "$deadline" ]; do
    snap || continue
    is match_table && break
    if is advert; then ended=1; break; fi
    if is match_question; then
      answer no
    elif [ "$keys" = 1 ]; then
      press space
    else
      click_at 640 300
    fi
    sleep 0.3
  done
  if [ $ended -eq 1 ]; then
    say "the match ended in the advertisement"
  else
    expect_stage match_table 1 && say "the next hand is dealt"
  fi
fi
if [ "${ended:-0}" = 1 ]; then
  deadline=$(( $(now_ms) + 60000 ))
  back=0
  while [ "$(now_ms)" -lt "$deadline" ]; do
    if [ "$keys" = 1 ]; then press Return; else click_at 640 360; fi
    sleep 0.5
    if stage_now menu; then back=1; break; fi
  done
  [ $back -eq 1 ] && say "stage menu at $(( $(now_ms) - t0 )) ms" || bad "the advertisement did not lead to the title"
else
# The title button (or Escape) asks first (a real message box): OK, and the title menu comes back.
if [ "$keys" = 1 ]; then press Escape; else click_at 1205 30; fi
if box=$(wait_window "^確認$" 30); then
  timeout 5 xdotool windowfocus --sync "$box" 2>/dev/null
  timeout 5 xdotool key --window "$box" Return
else
  bad "the title button showed no confirmation"
fi
timeout 5 xdotool windowfocus --sync "$win" 2>/dev/null
expect_stage menu 60
fi
else
  if [ "$keys" = 1 ]; then press Escape; else click_at 640 300 3; fi
  expect_stage menu 60
fi
# The menu's 120 frames without input pass while "end" is clicked below.

# --- Out through "end": the jingle fades, the window goes, exit code 0 ---
gone() { ! kill -0 "$pid" 2>/dev/null || [ "$(ps -o stat= -p "$pid" 2>/dev/null | cut -c1)" = "Z" ]; }
# By keys: Escape asks the quit question, answered OK in its box.
deadline=$(( $(now_ms) + 20000 ))
while ! gone && [ "$(now_ms)" -lt "$deadline" ]; do
  if [ "$keys" = 1 ]; then
    press Escape
    if box=$(wait_window "^終了確認$" 5); then
      timeout 5 xdotool windowfocus --sync "$box" 2>/dev/null
      timeout 5 xdotool key --window "$box" Return
      # Focus back to the game (no window manager gives it back): without focus it waits paused.
      timeout 5 xdotool windowfocus --sync "$win" 2>/dev/null
      # The ending fades out before the window goes: no second Escape into it.
      for _ in $(seq 1 100); do gone && break; sleep 0.1; done
    fi
  else
    click_at 1000 600
  fi
  for _ in $(seq 1 20); do gone && break; sleep 0.1; done
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
