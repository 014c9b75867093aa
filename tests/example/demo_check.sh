#!/usr/bin/env bash
# Checks of the framework tour's scripted demo (scripts/example-demo.sh),
# from the X server's pixels and the tour's own status file.
#   demo_check.sh EXE OUT_DIR CASE...   (CASE: full or failures)
# full: the sprite is drawn where the keys moved it, its magenta background
#   is not drawn, the echoed reply came back, the sound was reported playing,
#   the frame limit ended the run with exit code 0.
# failures: without a peer the tour says "no connection" and runs on, without
#   sprite.bmp it says so and draws a plain rectangle, without a sound device
#   it reports none and Space does no harm; Escape ends it with exit code 0.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=$1
out=$2
shift 2

failures=0
check() {  # check NAME OK(1 or empty) MESSAGE
  if [ "$2" = 1 ]; then echo "ok   $1"; else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}
pixel() { convert "$1" -format "%[pixel:p{$2}]" info: 2>/dev/null; }
# The bounding box WxH+X+Y of the pixels of one colour.
box() { convert "$1" -fill black +opaque "$2" -format '%@' info: 2>/dev/null; }
count() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info: 2>/dev/null; }
is() { [ "$1" = "$2" ] && echo 1; }

# Where the sprite's own pixels lie inside sprite.bmp, to compare with the
# screen: the same box, moved by the position the tour reports.
sprite_box() { box "$(dirname "$exe")/sprite.bmp" "rgb(255,255,0)"; }
moved_box() {  # moved_box WxH+X+Y DX DY
  local size=${1%%+*} rest=${1#*+}
  echo "$size+$(( ${rest%%+*} + $2 ))+$(( ${rest#*+} + $3 ))"
}

check_full() {
  local dir=$out/full
  bash "$root/scripts/example-demo.sh" "$exe" "$dir" full
  local rc=$?
  status() { sed -n "s/^$1=//p" "$dir/status.txt" 2>/dev/null | tr -d '\r'; }
  check "full: demo ran, exit code 0" "$(is "$rc" 0)" "exit code $rc"
  check "full: ended by the frame limit" "$(is "$(status ended)" frames)" "ended='$(status ended)'"
  local x y shot=$dir/screen.png
  x=$(status x)
  y=$(status y)
  # Start at 296,250; Right and Up were held.
  check "full: keys moved the sprite right and up" \
    "$([ "${x:-0}" -gt 296 ] && [ "${y:-999}" -lt 250 ] && echo 1)" "position '$x,$y'"
  [ -f "$shot" ] || { check "full: screenshot" "" "none taken"; return; }
  local want
  want=$(moved_box "$(sprite_box)" "${x:-0}" "${y:-0}")
  check "full: sprite drawn at the moved position" "$(is "$(box "$shot" "rgb(255,255,0)")" "$want")" \
    "yellow pixels at $(box "$shot" "rgb(255,255,0)"), expected $want"
  check "full: sprite's eye drawn" "$(is "$(pixel "$shot" "$((x + 31)),$((y + 17))")" "srgb(0,0,255)")" \
    "pixel is $(pixel "$shot" "$((x + 31)),$((y + 17))")"
  check "full: colour-key background not drawn" "$(is "$(count "$shot" "rgb(255,0,255)")" 0)" \
    "$(count "$shot" "rgb(255,0,255)") magenta pixels"
  check "full: sprite's corner shows the black screen" "$(is "$(pixel "$shot" "$((x + 1)),$((y + 1))")" "srgb(0,0,0)")" \
    "pixel is $(pixel "$shot" "$((x + 1)),$((y + 1))")"
  check "full: play area framed in green" "$(is "$(pixel "$shot" 10,300)" "srgb(0,192,0)")" \
    "pixel 10,300 is $(pixel "$shot" 10,300)"
  check "full: echoed reply shown" "$(case "$(status reply)" in "hello "*" from the tour") echo 1 ;; esac)" \
    "reply='$(status reply)'"
  check "full: sound device found" "$(case "$(status sound)" in playing | stopped) echo 1 ;; esac)" \
    "sound='$(status sound)'"
  check "full: sound reported playing" "$(is "$(status sound_seen_playing)" yes)" \
    "sound_seen_playing='$(status sound_seen_playing)', sound='$(status sound)'"
  check "full: connected to the peer" "$(is "$(status net)" connected)" "net='$(status net)'"
}

check_failures() {
  local dir=$out/failures
  bash "$root/scripts/example-demo.sh" "$exe" "$dir" failures
  local rc=$?
  status() { sed -n "s/^$1=//p" "$dir/status.txt" 2>/dev/null | tr -d '\r'; }
  check "failures: demo ran, exit code 0" "$(is "$rc" 0)" "exit code $rc"
  check "failures: Escape ended the run" "$(is "$(status ended)" escape)" "ended='$(status ended)'"
  check "failures: no peer shows no connection" "$(is "$(status net)" "no connection")" "net='$(status net)'"
  check "failures: kept running without a peer" \
    "$([ "$(status frames)" -ge "$(($(cat "$dir/frames-at-no-connection" 2>/dev/null || echo 0) + 90))" ] && echo 1)" \
    "$(status frames) frames at the end, $(cat "$dir/frames-at-no-connection" 2>/dev/null) when it said no connection"
  check "failures: missing bitmap reported" "$(is "$(status sprite)" missing)" "sprite='$(status sprite)'"
  check "failures: no sound device reported" "$(is "$(status sound)" "no device")" "sound='$(status sound)'"
  local x y shot=$dir/screen.png
  x=$(status x)
  y=$(status y)
  [ -f "$shot" ] || { check "failures: screenshot" "" "none taken"; return; }
  # The rectangle's 2-pixel outline lies half outside its edges.
  check "failures: plain rectangle instead of the sprite" \
    "$(is "$(box "$shot" "rgb(255,128,0)")" "49x49+$((x - 1))+$((y - 1))")" \
    "orange pixels at $(box "$shot" "rgb(255,128,0)"), expected 49x49+$((x - 1))+$((y - 1))"
}

for case_name in "$@"; do "check_$case_name"; done
[ $failures = 0 ]
