#!/usr/bin/env bash
# Drives the real tarnwick executable in an X server with xdotool.
#   smoke.sh TARNWICK DATA_DIR
set -u
exe=$1
data=$2
fail=0
say() { echo "smoke: $*"; }
bad() { echo "smoke: FAIL: $*"; fail=1; }
. "$(dirname "$0")/x11_helpers.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "smoke: no DISPLAY; run under xvfb-run" >&2
  exit 1
fi

# A game left over from an earlier run (a test killed by its timeout cannot clean up) holds the
# single-instance lock: every start would only show the refusal, and the checks below would fail
# one after another. Say so at once.
lock=/tmp/MultiplexStartingPrevention_TARNWICK_ON-$(id -u).lock
if [ -e "$lock" ] && ! flock -n "$lock" true; then
  echo "smoke: FAIL: another tarnwick holds $lock (pids: $(fuser "$lock" 2>/dev/null)); end it first"
  exit 1
fi

work=$(mktemp -d)
cleanup() {
  [ -n "${pid1:-}" ] && kill -9 "$pid1" 2>/dev/null
  [ -n "${pid2:-}" ] && kill -9 "$pid2" 2>/dev/null
  [ -n "${pid3:-}" ] && kill -9 "$pid3" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Should this script be killed (a ctest timeout), the games it started go with it.
pids=$work/pids
( while kill -0 $$ 2>/dev/null; do sleep 1; done; [ -f "$pids" ] && kill -9 $(cat "$pids") 2>/dev/null ) &

mkdir -p "$work/game/data" "$work/nodata2/data"
for i in 0 1 2 3; do
  ln -s "$data/data$i.dat" "$work/game/data/data$i.dat"
done
ln -s "$data/data0.dat" "$work/nodata2/data/data0.dat"
ln -s "$data/data1.dat" "$work/nodata2/data/data1.dat"
ln -s "$data/data3.dat" "$work/nodata2/data/data3.dat"
printf '[game]\nFullScreen=off\nBgmVolume=0\nSeVolume=0\n' > "$work/game/config.ini"
cp "$work/game/config.ini" "$work/nodata2/config.ini"

# 1. The game opens a 1280x720 window.
cd "$work/game"
"$exe" 2> "$work/first.log" &
pid1=$!
echo "$pid1" >> "$pids"
if win=$(wait_window "^Tarnwick Ostrelle Night　Ver\.1\.00$" 20); then
  geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
  say "main window $win geometry $geometry"
  [ "$geometry" = "1280x720" ] || bad "client area is $geometry, expected 1280x720"
else
  bad "no main window appeared"
fi

# 2. A second instance shows the refusal and ends without a window of its own.
"$exe" 2> "$work/second.log" &
pid2=$!
echo "$pid2" >> "$pids"
if box=$(wait_window "^Error$" 10); then
  say "second instance shows its box $box"
  count=$(find_windows "^Tarnwick Ostrelle Night" | wc -l)
  [ "$count" -eq 1 ] || bad "second instance opened a game window"
  timeout 5 xdotool windowfocus --sync "$box" 2>/dev/null; timeout 5 xdotool key --window "$box" Return
  if wait_gone "$pid2" 10; then
    wait "$pid2"; code=$?
    [ "$code" = "0" ] || bad "second instance exit code $code"
  else
    bad "second instance did not end after its box"
  fi
else
  bad "second instance showed no box"
fi
pid2=""

# 3. Alt+F4 asks first; OK ends the game with exit code 0.
if [ -n "${win:-}" ]; then
  timeout 5 xdotool windowfocus --sync "$win" 2>/dev/null
  timeout 5 xdotool key --window "$win" alt+F4
  if box=$(wait_window "終了確認" 10); then
    say "close confirmation $box"
    timeout 5 xdotool windowfocus --sync "$box" 2>/dev/null; timeout 5 xdotool key --window "$box" Return
    if wait_gone "$pid1" 10; then
      wait "$pid1"; code=$?
      [ "$code" = "0" ] || bad "game exit code $code after Alt+F4"
    else
      bad "game still running after confirming Alt+F4"
    fi
  else
    bad "Alt+F4 showed no confirmation"
  fi
fi
pid1=""

# 4. Without data2.dat start-up ends quietly: no box, no window left, exit code 0.
cd "$work/nodata2"
"$exe" 2> "$work/nodata2.log" &
pid3=$!
echo "$pid3" >> "$pids"
if wait_gone "$pid3" 15; then
  wait "$pid3"; code=$?
  [ "$code" = "0" ] || bad "start without data2.dat exit code $code"
  grep -q "データファイルが読み込めません。" "$work/nodata2.log" || bad "missing data file line not written"
else
  bad "start without data2.dat did not end"
fi
pid3=""
left=$(find_windows "^Tarnwick Ostrelle Night" | wc -l)
[ "$left" -eq 0 ] || bad "a game window is left"

for f in first second nodata2; do
  [ -s "$work/$f.log" ] && { echo "--- $f.log"; cat "$work/$f.log"; }
done
[ $fail -eq 0 ] && say "all checks good"
exit $fail
