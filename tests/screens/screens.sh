#!/usr/bin/env bash
# Plays every tests/screens/*.shot script with sceneshot on the real OpenGL backend and checks
# each screenshot it names with shot_check: the stage of the same name must be on screen and the
# picture must not be the clear colour. The pictures go to a temporary folder (E2E_KEEP=DIR keeps
# them on failure).
#   screens.sh SCENESHOT SHOT_CHECK BUILD_DIR SCRIPT_DIR
set -u
sceneshot=$1
check=$2
build=$3
scripts=$4
fail=0
out=$(mktemp -d)
cleanup() {
  if [ $fail -ne 0 ] && [ -n "${E2E_KEEP:-}" ]; then mkdir -p "$E2E_KEEP" && cp "$out"/*.png "$E2E_KEEP" 2>/dev/null; fi
  rm -rf "$out"
}
trap cleanup EXIT
cd "$build" || exit 1

# SDL's offscreen driver needs no X server; when it cannot give a GL context, the DISPLAY that
# ctest runs under (xvfb-run) is the fallback.
run_script() {
  local script=$1 log=$out/$(basename "$script" .shot).log
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$sceneshot" "$out" "$script" > "$log" 2>&1 && return 0
  if grep -q "start-up failed" "$log" && [ -n "${DISPLAY:-}" ]; then
    SDL_AUDIODRIVER=dummy "$sceneshot" "$out" "$script" > "$log" 2>&1 && return 0
  fi
  cat "$log"
  return 1
}

t0=$(date +%s%N)
count=0
for script in "$scripts"/*.shot; do
  name=$(basename "$script" .shot)
  if ! run_script "$script"; then
    echo "screens: FAIL: $name: sceneshot failed"
    fail=1
    continue
  fi
  for shot in $(sed -n 's/^shot[[:space:]]\+\([^[:space:]]\+\).*/\1/p' "$script"); do
    count=$((count + 1))
    if [ ! -s "$out/$shot.png" ]; then
      echo "screens: FAIL: $name: no picture $shot.png"
      fail=1
    elif ! result=$("$check" "$out/$shot.png" "$shot"); then
      echo "screens: FAIL: $name: $result"
      fail=1
    fi
  done
done
echo "screens: $count pictures checked in $(( ($(date +%s%N) - t0) / 1000000 )) ms"
[ $fail -eq 0 ] && echo "screens: all checks good"
exit $fail
