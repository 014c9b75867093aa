#!/usr/bin/env bash
# The console in desktop full screen, read from the X server's pixels. The
# same console state as in window_check.sh (the banner and a pause: no
# blinking cursor) is shot:
#  1. full screen on a 640x480 screen, the reference;
#  2. with --desktop on a 1920x1080 screen: the X screen keeps its size, the
#     picture is the reference with each pixel a 2x2 block at (320, 60), the
#     rest is black; Alt+Enter gives a window showing the buffer, and Alt+Enter
#     back the same desktop picture; --desktop with --window is refused with
#     a message box naming --desktop and exit status 2;
#  3. with --desktop on a 2560x1440 screen: scale 3 at (320, 0).
# Usage: desktop_check.sh BIN_DIR. Screenshots stay in ./desktop-screens.
set -uo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/scripts/wine-env.sh"
helper=$root/tests/korvane_client/run_with_screenshots.sh
ALT_ENTER="message=260,13,536870913"  # WM_SYSKEYDOWN, VK_RETURN, Alt held
SHOT="command=pause"                  # the input line closed: no cursor

case "${DESKTOP_CHECK_PART:-}" in
"")
  mkdir -p desktop-screens && cd desktop-screens && rm -f ./*.png ./*.log
  if [ -z "${DISPLAY:-}" ] || [ "$(xdotool getdisplaygeometry 2>/dev/null)" != "640 480" ]; then
    xvfb_start
  fi
  wine_prefix_ready
  wine_prefix_unmanaged
  bash "$helper" "$bin/korvane-client.exe" . start sleep=3000 "$SHOT" handshake=full \
    key=65 escape wait-exit >full.log 2>&1
  cd ..
  DESKTOP_CHECK_PART=2 LARGE_SCREEN=1920x1080 bash "$here/large_screen.sh" bash "$here/desktop_check.sh" "$bin"
  two=$?
  DESKTOP_CHECK_PART=3 LARGE_SCREEN=2560x1440 bash "$here/large_screen.sh" bash "$here/desktop_check.sh" "$bin"
  three=$?
  [ $two = 0 ] && [ $three = 0 ]
  exit $? ;;
2)
  cd desktop-screens || exit 1
  geometry_before=$(xdotool getdisplaygeometry)
  bash "$helper" "$bin/korvane-client.exe" . \
    start=--desktop sleep=3000 "$SHOT" handshake=desktop \
    "$ALT_ENTER" sleep=1500 client-area handshake=windowed "$ALT_ENTER" sleep=1500 handshake=back \
    key=65 escape wait-exit "launch=--desktop --window" dismiss-box wait-exit >large.log 2>&1
  geometry_after=$(xdotool getdisplaygeometry) ;;
3)
  cd desktop-screens || exit 1
  bash "$helper" "$bin/korvane-client.exe" . \
    start=--desktop sleep=3000 "$SHOT" handshake=desktop3 key=65 escape wait-exit >huge.log 2>&1 ;;
esac

failures=0
check() {  # check NAME CONDITION-RESULT MESSAGE
  if [ "$2" = 1 ]; then echo "ok   $1"; else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}
differing() { compare -metric AE "$1" "$2" null: 2>&1; }
# The picture at scale N and (LEFT, TOP) in SHOT is the reference, N x N a
# pixel, and everything around it is black.
picture_check() {  # picture_check SHOT N LEFT TOP
  local shot=$1 n=$2 left=$3 top=$4 width=$((640 * $2)) height=$((480 * $2)) d brightest
  [ -f full.png ] && [ -f "$shot.png" ] || { check "screenshots full and $shot" 0 "not taken"; return; }
  convert "$shot.png" -crop "${width}x${height}+${left}+${top}" +repage "$shot-picture.png"
  convert full.png -sample "$((100 * n))%" "$shot-expected.png"
  d=$(differing "$shot-picture.png" "$shot-expected.png")
  check "$shot: the picture at ($left, $top) is the full-screen shot, each pixel $n x $n" \
    "$([ "$d" = 0 ] && echo 1)" "$d pixels differ ($shot-picture.png, $shot-expected.png)"
  brightest=$(convert "$shot.png" -fill black -draw "rectangle $left,$top $((left + width - 1)),$((top + height - 1))" \
    -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)
  check "$shot: the border is black" "$([ "$brightest" = 0 ] && echo 1)" "brightest border pixel $brightest"
}
log=$([ "$DESKTOP_CHECK_PART" = 2 ] && echo large.log || echo huge.log)
grep -v -e '^$' -e '^ALSA' "$log" | tr -d '\r' | sed 's/^/client: /'

if [ "$DESKTOP_CHECK_PART" = 2 ]; then
  exits=$(grep -ah "console exit code" large.log | tr -d '\r' | tr '\n' ' ')
  check "exit statuses: 0 in desktop full screen, 2 for --desktop --window" \
    "$([ "$exits" = "console exit code: 0 console exit code: 2 " ] && echo 1)" "$exits"
  check "the X screen keeps its size" \
    "$([ "$geometry_before" = "1920 1080" ] && [ "$geometry_after" = "1920 1080" ] && echo 1)" \
    "before '$geometry_before', after '$geometry_after'"
  picture_check desktop 2 320 60
  read -r _ _ left top width height <<<"$(grep -a '^client area' large.log | tr -d '\r')"
  if [ -f windowed.png ] && [ "${width:-}" = 640 ] && [ "${height:-}" = 480 ]; then
    convert windowed.png -crop "640x480+${left}+${top}" +repage windowed-client.png
    d=$(differing windowed-client.png full.png)
    check "Alt+Enter: a window at scale 1 showing the buffer" "$([ "$d" = 0 ] && echo 1)" "$d pixels differ"
  else
    check "Alt+Enter: a window at scale 1" 0 "client area '${width:-} x ${height:-}'"
  fi
  if [ -f desktop.png ] && [ -f back.png ]; then
    d=$(differing desktop.png back.png)
    check "Alt+Enter back: the same desktop picture" "$([ "$d" = 0 ] && echo 1)" "$d pixels differ"
  fi
  check "--desktop with --window: a message box naming --desktop" \
    "$(grep -aq -- 'Korvane: --desktop cannot be used with --window or --scale' large.log &&
      grep -aq -- "--desktop    take the whole screen at the desktop's own resolution" large.log && echo 1)" \
    "no such text"
else
  picture_check desktop3 3 320 0
fi
echo "screenshots in $(pwd)"
[ $failures = 0 ]
