#!/usr/bin/env bash
# The console in desktop full screen against its full-screen shot on 640x480
# (the banner and a pause: no cursor), on 1920x1080 (scale 2, Alt+Enter to a
# window and back, --desktop --window refused) and 2560x1440 (scale 3).
# Usage: desktop_check.sh BIN_DIR. Screenshots stay in ./desktop-screens.
set -uo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/wine-env.sh"
shots() { bash "$here/../korvane_client/run_with_screenshots.sh" "$bin/korvane-client.exe" . "$@"; }
ALT_ENTER="message=260,13,536870913"  # WM_SYSKEYDOWN, VK_RETURN, Alt held
SHOT="command=pause"                  # the input line closed: no cursor
part=${DESKTOP_CHECK_PART:-1}
if [ "$part" = 1 ]; then
  mkdir -p desktop-screens && cd desktop-screens && rm -f ./*.png ./*.log
  [ "$(xdotool getdisplaygeometry 2>/dev/null)" = "640 480" ] || xvfb_start
  wine_env_prepare
  shots start sleep=3000 "$SHOT" handshake=full key=65 escape wait-exit >full.log 2>&1
  cd .. || exit 1
  DESKTOP_CHECK_PART=2 LARGE_SCREEN=1920x1080 bash "$here/large_screen.sh" bash "$here/desktop_check.sh" "$bin"
  two=$?
  DESKTOP_CHECK_PART=3 LARGE_SCREEN=2560x1440 bash "$here/large_screen.sh" bash "$here/desktop_check.sh" "$bin"
  exit $((two + $?))
fi

cd desktop-screens || exit 1
geometry_before=$(xdotool getdisplaygeometry)
if [ "$part" = 2 ]; then
  shots start=--desktop sleep=3000 "$SHOT" handshake=desktop "$ALT_ENTER" sleep=1500 client-area \
    handshake=windowed "$ALT_ENTER" sleep=1500 handshake=back key=65 escape wait-exit \
    "launch=--desktop --window" dismiss-box wait-exit >part2.log 2>&1
else
  shots start=--desktop sleep=3000 "$SHOT" handshake=desktop3 key=65 escape wait-exit >part3.log 2>&1
fi
geometry_after=$(xdotool getdisplaygeometry)
grep -v -e '^$' -e '^ALSA' "part$part.log" | tr -d '\r' | sed 's/^/client: /'

failures=0
check() {  # check NAME CONDITION-RESULT MESSAGE
  if [ "$2" = 1 ]; then echo "ok   $1"; else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}
differing() { compare -metric AE "$1" "$2" null: 2>&1; }
picture_check() {  # picture_check SHOT N LEFT TOP: the reference N x N a pixel there, black around
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
check "the X screen keeps its size" "$([ "$geometry_before" = "$geometry_after" ] && echo 1)" \
  "before '$geometry_before', after '$geometry_after'"
if [ "$part" = 3 ]; then
  picture_check desktop3 3 320 0
  exit $failures
fi
exits=$(grep -ah "console exit code" part2.log | tr -d '\r' | tr '\n' ' ')
check "exit statuses: 0 in desktop full screen, 2 for --desktop --window" \
  "$([ "$exits" = "console exit code: 0 console exit code: 2 " ] && echo 1)" "$exits"
picture_check desktop 2 320 60
read -r _ _ left top width height <<<"$(grep -a '^client area' part2.log | tr -d '\r')"
[ -f windowed.png ] && convert windowed.png -crop "640x480+${left:-0}+${top:-0}" +repage windowed-client.png
check "Alt+Enter: a window at scale 1 showing the buffer" \
  "$([ "${width:-}x${height:-}" = 640x480 ] && [ "$(differing windowed-client.png full.png)" = 0 ] && echo 1)" \
  "client area '${width:-} x ${height:-}', see windowed-client.png"
check "Alt+Enter back: the same desktop picture" "$([ "$(differing desktop.png back.png)" = 0 ] && echo 1)" "differs"
check "--desktop with --window: a message box naming --desktop" \
  "$(grep -aq -- 'Korvane: --desktop cannot be used with --window or --scale' part2.log &&
    grep -aq -- "--desktop    take the whole screen at the desktop's own resolution" part2.log && echo 1)" "no such text"
exit $failures
