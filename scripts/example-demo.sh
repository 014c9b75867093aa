#!/usr/bin/env bash
# The framework tour's scripted demo under Wine, with nobody at the keyboard.
#   scripts/example-demo.sh EXE OUT_DIR [full|failures]
# full (the default): a socat echo peer on a free port, the ALSA null device
#   (so DirectSound really plays), sprite.bmp beside the executable; real
#   xdotool key events hold Right and Up, then press Space; the tour ends by
#   itself after a set number of frames (EXAMPLE_FRAMES, default 900: 15 s at the
#   display's 60 Hz).
# failures: nothing listens on the port, no sound device, and the executable
#   runs from a folder without sprite.bmp; Space is pressed all the same and
#   Escape ends the tour.
# Leaves OUT_DIR/screen.png (taken while the tour runs), OUT_DIR/status.txt
# (what the tour's screen showed, written by the tour) and OUT_DIR/exit-code,
# and prints the screenshot's path. Exits with the tour's exit code, or 1
# when the demo could not be run to its end.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$2
case_name=${3:-full}
frames=${EXAMPLE_FRAMES:-900}
source "$root/scripts/wine-env.sh"
source "$root/scripts/echo-peer.sh"

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/screen.png" "$out/status.txt" "$out/exit-code"

# The tour takes the whole screen at 640x480: use the display only if it is
# exactly that size.
if [ -z "${DISPLAY:-}" ] || [ "$(xdotool getdisplaygeometry 2>/dev/null)" != "640 480" ]; then
  xvfb_start
fi
wine_prefix_ready
wine_prefix_unmanaged

status() { sed -n "s/^$1=//p" "$out/status.txt" 2>/dev/null | tr -d '\r'; }
# wait_until SECONDS COMMAND...: true once the command succeeds.
wait_until() {
  local limit=$(( $1 * 10 )) i
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    kill -0 "$tour_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
hold() {  # hold SECONDS KEY...: key events as a person makes them
  local seconds=$1
  shift
  xdotool keydown "$@"
  sleep "$seconds"
  xdotool keyup "$@"
}
drawing() { [ "$(status frames)" -gt 0 ] 2>/dev/null; }
still() {  # the sprite has stopped where the keys left it
  local before="$(status x),$(status y)"
  sleep 0.3
  [ "$before" = "$(status x),$(status y)" ]
}
echoed_and_played() { [ -n "$(status reply)" ] && [ "$(status sound_seen_playing)" = yes ]; }
given_up() { [ "$(status net)" = "no connection" ]; }

home=$out/home
mkdir -p "$home"
rm -f "$home/.asoundrc"
port=$(free_port)
run_dir=$out/run
rm -rf "$run_dir"
mkdir -p "$run_dir"
if [ "$case_name" = full ]; then
  alsa_null_home "$home"
  echo_peer_start "$port"
  exe_dir=$(dirname "$exe")
else
  # A copy of the executable alone: its sprite.bmp is missing.
  cp "$exe" "$run_dir/"
  exe_dir=$run_dir
  frames=${EXAMPLE_FRAMES:-100000}
fi
trap 'echo_peer_stop; kill ${XVFB_PID:-} 2>/dev/null || true' EXIT

echo "framework tour, $case_name case: peer 127.0.0.1:$port, frame limit $frames"
(cd "$out" && HOME=$home exec wine "$exe_dir/$(basename "$exe")" 127.0.0.1 "$port" --frames "$frames" \
  --status status.txt) > >(grep -v -e '^ALSA' -e '^$' >&2) 2>&1 &
tour_pid=$!

failed=""
# The first step that did not happen, and whether the tour had ended by then
# (the frame limit came first: raise EXAMPLE_FRAMES).
fail() {
  [ -n "$failed" ] && return
  failed=$1
  kill -0 "$tour_pid" 2>/dev/null || failed="$1: the tour had ended after $(status frames) frames"
}
wait_until 60 drawing || fail "the tour drew no frame"
if [ -z "$failed" ] && [ "$case_name" = full ]; then
  hold 0.6 Right Up
  wait_until 10 still || fail "the sprite did not come to rest"
  hold 0.2 space
  wait_until 20 echoed_and_played || fail "no echoed reply or no sound within 20 s"
  sleep 0.2
  import -window root "$out/screen.png" || fail "no screenshot"
  kill -0 "$tour_pid" 2>/dev/null || fail "the screenshot was taken after the tour ended"
elif [ -z "$failed" ]; then
  wait_until 30 given_up || fail "the tour did not report the missing peer"
  # It keeps running: 90 frames more.
  status frames >"$out/frames-at-no-connection"
  ran_on() { [ "$(status frames)" -ge $(($(cat "$out/frames-at-no-connection") + 90)) ] 2>/dev/null; }
  wait_until 60 ran_on || fail "the tour stopped drawing without a peer"
  hold 0.2 space
  sleep 0.5
  import -window root "$out/screen.png" || fail "no screenshot"
  hold 0.3 Escape
fi
# The tour ends by itself (frame limit, or Escape above); on a busy machine
# the frame limit can take minutes.
for _ in $(seq 1 2400); do kill -0 "$tour_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$tour_pid" 2>/dev/null; then
  fail "the tour did not end"
  wineserver -k 2>/dev/null
fi
wait "$tour_pid"
rc=$?
echo "$rc" >"$out/exit-code"
echo_peer_stop
[ "$(status ended)" = "" ] || echo "tour ended by $(status ended), exit code $rc, after $(status frames) frames"
[ -f "$out/screen.png" ] && echo "Screenshot: $out/screen.png"
if [ -n "$failed" ]; then
  echo "example-demo: $failed" >&2
  exit 1
fi
exit "$rc"
