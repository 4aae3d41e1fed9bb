#!/usr/bin/env bash
# Starts the real tarnwick executable on damaged installs, one case at a time, and checks that it
# never crashes or hangs, writes a clear line where something is wrong, and leaves the save alone.
#   damaged_install.sh TARNWICK DATA_DIR
# Cases that can play on must show the main window and still run after a while (then SIGTERM
# ends them); cases that cannot start must end by themselves with their line.
set -u
exe=$(realpath "$1")
data=$(realpath "$2")
fail=0
say() { echo "damaged: $*"; }
bad() { echo "damaged: FAIL: $*"; fail=1; }
. "$(dirname "$0")/x11_helpers.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "damaged: no DISPLAY; run under xvfb-run" >&2
  exit 1
fi

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The game allows one instance per user. When another one (not ours) holds the name, each game
# of this test runs in its own mount namespace with a private lock file, where that works.
lock=/tmp/MultiplexStartingPrevention_TARNWICK_ON-$(id -u).lock
private_lock=""
if [ -e "$lock" ] && ! flock -n "$lock" true; then
  if unshare -m true 2>/dev/null; then
    private_lock=$work/instance.lock
    : > "$private_lock"
    say "another instance holds the lock; running each game with a private lock"
  else
    echo "damaged: another instance holds $lock; cannot run" >&2
    exit 77
  fi
fi
# Runs the game command in place of the calling (background) shell, so that its pid is the game's.
run_game() {
  if [ -n "$private_lock" ]; then
    exec unshare -m bash -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' _ "$private_lock" "$lock" "$@"
  else
    exec "$@"
  fi
}

title="^Tarnwick Ostrelle Night　Ver\.1\.00$"

# A fresh game folder $1 with the data files linked in (damaged ones are replaced by the case).
make_game() {
  mkdir -p "$1/data"
  for i in 0 1 2 3; do
    ln -s "$data/data$i.dat" "$1/data/data$i.dat"
  done
  printf '[game]\nFullScreen=off\nBgmVolume=0\nSeVolume=0\n' > "$1/config.ini"
}

# A copy of data file $2 in game folder $1, replacing its link.
copy_data() {
  rm -f "$1/data/data$2.dat"
  cp "$data/data$2.dat" "$1/data/data$2.dat"
}

# The log must not show a crash of any kind.
check_log() {
  local name=$1 log=$2
  if grep -Eq "AddressSanitizer|runtime error|Segmentation|Aborted|terminate called" "$log"; then
    bad "$name: the log shows a crash"
  fi
}

# Runs the game in folder $2 for case $1: it must open its window and keep running for $4
# seconds (default 2), then SIGTERM ends it. $3 (optional): an extended regex the log must contain.
# Nine seconds or more reach the title menu, past the logo, where music and the menu animations
# start (more under load).
plays_on() {
  local name=$1 dir=$2 want=${3:-} hold=${4:-2} log="$work/$1.log" win="" code
  cd "$dir" || return
  run_game "$exe" 2> "$log" &
  pid=$!
  for _ in $(seq 1 200); do
    win=$(find_windows "$title" | head -n1)
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$win" ]; then
    bad "$name: no main window"
  else
    sleep "$hold"
  fi
  if kill -0 "$pid" 2>/dev/null && [ "$(ps -o stat= -p "$pid" | cut -c1)" != "Z" ]; then
    kill -TERM "$pid"
    wait_gone "$pid" 10 || kill -9 "$pid"
    wait "$pid"; code=$?
    [ "$code" = "143" ] || bad "$name: exit code $code after SIGTERM"
  else
    wait "$pid"; code=$?
    bad "$name: the game ended by itself (exit code $code)"
  fi
  pid=""
  check_log "$name" "$log"
  if [ -n "$want" ] && ! grep -Eq -- "$want" "$log"; then
    bad "$name: no line matching '$want'"
  fi
  say "$name: played on (window ${win:-none}); log: $(grep -v "no audio device" "$log" | sort | uniq -c | tr '\n' '|' | cut -c1-300)"
  cd "$work" || return
}

# Runs the game in folder $2 for case $1 (extra environment in $4...): it must end by itself
# within 15 seconds, without a window, exit code 0, and its log must match $3.
ends_quietly() {
  local name=$1 dir=$2 want=$3 log="$work/$1.log" code
  shift 3
  cd "$dir" || return
  run_game env "$@" "$exe" 2> "$log" &
  pid=$!
  if wait_gone "$pid" 15; then
    wait "$pid"; code=$?
    [ "$code" = "0" ] || bad "$name: exit code $code"
  else
    bad "$name: the game did not end"
    kill -9 "$pid"
  fi
  pid=""
  check_log "$name" "$log"
  grep -Eq -- "$want" "$log" || bad "$name: no line matching '$want'"
  [ "$(find_windows "$title" | wc -l)" -eq 0 ] || bad "$name: a game window is left"
  say "$name: ended by itself; log: $(tr '\n' '|' < "$log" | cut -c1-200)"
  cd "$work" || return
}

# 1. data0.dat (the pictures) cut in half: pictures past the cut are missing, the rest play on.
g=$work/truncated; make_game "$g"; copy_data "$g" 0
truncate -s $(( $(stat -c %s "$data/data0.dat") / 2 )) "$g/data/data0.dat"
plays_on truncated_data0 "$g"

# 2. Lists pointing past the end: music and effects files of 4 KB, far shorter than listed.
g=$work/shortfiles; make_game "$g"; copy_data "$g" 1; copy_data "$g" 2
truncate -s 4096 "$g/data/data1.dat"; truncate -s 4096 "$g/data/data2.dat"
plays_on list_past_end "$g" "音楽ファイルのオープンに失敗|効果音ファイルのオープンに失敗" 14

# 3. Animations full of garbage: everything after the first bytes of data3.dat overwritten.
g=$work/garbage; make_game "$g"; copy_data "$g" 3
size3=$(stat -c %s "$g/data/data3.dat")
head -c $((size3 - 64)) /dev/urandom | dd of="$g/data/data3.dat" bs=1M seek=64 oflag=seek_bytes conv=notrunc status=none
plays_on garbage_data3 "$g" "SylkieAnimation : コンポジションがありません menu_bg.bca" 9

# 4. Saves of 0, 1, 3 and 1000 bytes: read as far as they go and left exactly as they were.
for n in 0 1 3 1000; do
  g=$work/save$n; make_game "$g"
  head -c "$n" /dev/urandom > "$g/save.dat"; cp "$g/save.dat" "$work/save$n.orig"
  plays_on "save_${n}_bytes" "$g"
  cmp -s "$g/save.dat" "$work/save$n.orig" || bad "save_${n}_bytes: save.dat changed"
done

# 5. A folder and a FIFO named save.dat: no save, no wait, and they stay what they were.
g=$work/savedir; make_game "$g"; mkdir "$g/save.dat"
plays_on save_is_folder "$g"
[ -d "$g/save.dat" ] || bad "save_is_folder: the folder is gone"
g=$work/savefifo; make_game "$g"; mkfifo "$g/save.dat"
plays_on save_is_fifo "$g"
[ -p "$g/save.dat" ] || bad "save_is_fifo: the FIFO is gone"

# 6. A read-only game folder with a save in it (as root the folder stays writable; the case
# still checks that start-up does not depend on writing).
g=$work/readonly; make_game "$g"; printf '\001\002\003\004\005' > "$g/save.dat"
chmod a-w "$g"
plays_on read_only_folder "$g"
chmod u+w "$g"
[ "$(od -An -tx1 "$g/save.dat" | tr -d ' \n')" = "0102030405" ] || bad "read_only_folder: save.dat changed"

# 7. config.ini of nonsense: binary bytes, a long line, broken sections; defaults apply.
g=$work/badconfig; make_game "$g"
{ head -c 3000 /dev/urandom; printf '\n[game\nFullScreen==\n[game]]\nBgmVolume=0x7fffffffffff\n'
  head -c 300000 /dev/zero | tr '\0' 'x'; printf '\nSeVolume="\n'; } > "$g/config.ini"
plays_on config_nonsense "$g"

# 8. A folder named data0.dat fails like a missing data file.
g=$work/datadir; make_game "$g"; rm "$g/data/data0.dat"; mkdir "$g/data/data0.dat"
ends_quietly data0_is_folder "$g" "データファイルが読み込めません。"

# 9. No display and no driver asked for: the game ends with its error line instead of running
# unseen on a driver that shows nothing.
g=$work/nodisplay; make_game "$g"
ends_quietly no_display "$g" "no display found|could not be initialised" -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER

# Offset and size of entry $2 in the list file $1 (one length byte, the name, a zero byte, then
# offset and size as little-endian 32-bit numbers, entry after entry).
entry_of() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
b = open(sys.argv[1], "rb").read()
i = 0
while i < len(b):
    n = b[i]
    name = b[i + 1:i + 1 + n].decode("latin-1")
    off, size = struct.unpack_from("<II", b, i + 2 + n)
    i += 10 + n
    if name == sys.argv[2]:
        print(off, size)
        break
PY
}

# 10. The title jingle's WAV header lies: its data chunk claims 2 GB. Refused with a line, the
# title plays on without it.
g=$work/lyingwav; make_game "$g"; copy_data "$g" 2
read -r off size < <(entry_of "$data/data2.lst" menu_title.wav)
if [ -z "${off:-}" ]; then
  bad "lying_wav: menu_title.wav not in data2.lst"
else
  tag=$(python3 -c "import sys; f=open(sys.argv[1],'rb'); f.seek(int(sys.argv[2])); print(f.read(int(sys.argv[3])).find(b'data'))" "$g/data/data2.dat" "$off" "$size")
  printf '\x00\xff\xff\x7f' | dd of="$g/data/data2.dat" bs=1 seek=$((off + tag + 4)) conv=notrunc status=none
  plays_on lying_wav "$g" "効果音ファイルが壊れています: menu_title.wav" 11
fi

# 11. The menu music broken short: everything after its first 16 KB zeros, as a file cut off and
# padded. The stream plays its first second, then stops or starts over; the game plays on.
g=$work/cutogg; make_game "$g"; copy_data "$g" 1
read -r off size < <(entry_of "$data/data1.lst" bgm_menu.ogg)
if [ -z "${off:-}" ]; then
  bad "cut_ogg: bgm_menu.ogg not in data1.lst"
else
  head -c $((size - 16384)) /dev/zero | dd of="$g/data/data1.dat" bs=1M seek=$((off + 16384)) oflag=seek_bytes conv=notrunc status=none
  plays_on cut_ogg "$g" "" 14
fi

[ $fail -eq 0 ] && say "all cases good"
exit $fail
