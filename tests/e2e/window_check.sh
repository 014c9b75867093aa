#!/usr/bin/env bash
# The console in a window, read from the X server's pixels. The same console
# state (the banner and a pause: no blinking cursor) is shot three ways:
#  1. full screen on a 640x480 screen, then after Alt+Enter into a window and
#     Alt+Enter back, which must give the same pixels;
#  2. on a 1600x1200 screen with --window and with --scale 2: the X screen
#     keeps its size, the client area is 640N x 480N, and its pixels are the
#     full-screen shot's, each one an N x N block at scale 2;
#  3. an unknown option and a scale out of range: a message box naming the
#     accepted options, exit status 2;
#  4. the framework tour with --scale 2, when it is built: it draws its
#     frames in the window and ends by its frame limit.
# Usage: window_check.sh BIN_DIR. Screenshots stay in ./window-screens.
set -uo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/scripts/wine-env.sh"
helper=$root/tests/korvane_client/run_with_screenshots.sh
mkdir -p window-screens && cd window-screens
ALT_ENTER="message=260,13,536870913"  # WM_SYSKEYDOWN, VK_RETURN, Alt held
SHOT="command=pause"                  # the input line closed: no cursor

if [ -z "${WINDOW_CHECK_LARGE:-}" ]; then
  # Part 1, then this script again on the large screen for parts 2 and 3.
  rm -f ./*.png ./*.log
  if [ -z "${DISPLAY:-}" ] || [ "$(xdotool getdisplaygeometry 2>/dev/null)" != "640 480" ]; then
    xvfb_start
  fi
  wine_prefix_ready
  wine_prefix_unmanaged
  bash "$helper" "$bin/korvane-client.exe" . start sleep=3000 "$SHOT" handshake=full \
    "$ALT_ENTER" sleep=1500 handshake=windowed client-area "$ALT_ENTER" sleep=1500 handshake=back \
    key=65 escape wait-exit >full.log 2>&1
  cd .. && WINDOW_CHECK_LARGE=1 bash "$here/large_screen.sh" bash "$here/window_check.sh" "$bin"
  exit $?
fi

geometry_before=$(xdotool getdisplaygeometry)
bash "$helper" "$bin/korvane-client.exe" . \
  start=--window sleep=3000 client-area "$SHOT" handshake=scale1 key=65 escape wait-exit \
  "start=--scale 2" sleep=3000 client-area "$SHOT" handshake=scale2 key=65 escape wait-exit \
  "launch=--scale 5" dismiss-box wait-exit "launch=--window --fullscreen" dismiss-box wait-exit \
  >large.log 2>&1
tour=$bin/framework-tour.exe
if [ -f "$tour" ]; then
  wine "$tour" --scale 2 --frames 150 --status tour-status.txt >tour.log 2>&1
  echo "tour exit code: $?" >>tour.log
fi
geometry_after=$(xdotool getdisplaygeometry)

failures=0
check() {  # check NAME CONDITION-RESULT MESSAGE
  if [ "$2" = 1 ]; then echo "ok   $1"; else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}
differing() { compare -metric AE "$1" "$2" null: 2>&1; }
grep -v -e '^$' -e '^ALSA' full.log large.log | tr -d '\r' | sed 's/^/client: /'
exits=$(grep -ah "console exit code" full.log large.log | tr -d '\r' | tr '\n' ' ')
check "exit statuses: 0 full screen, 0 and 0 in windows, 2 and 2 for bad options" \
  "$([ "$exits" = "console exit code: 0 console exit code: 0 console exit code: 0 console exit code: 2 console exit code: 2 " ] && echo 1)" "$exits"
for shot in full windowed back scale1 scale2; do
  [ -f "$shot.png" ] || check "screenshot $shot" 0 "not taken"
done

if [ -f full.png ] && [ -f back.png ]; then
  d=$(differing full.png back.png)
  check "Alt+Enter into a window and back: the same pixels" "$([ "$d" = 0 ] && echo 1)" "$d pixels differ"
fi
# The window does not fit on this screen: what is on it must be the buffer's.
read -r _ _ left top width height <<<"$(grep -a '^client area' full.log | tr -d '\r')"
if [ -f windowed.png ] && [ -n "${height:-}" ]; then
  width=$((width < 640 - left ? width : 640 - left)); height=$((height < 480 - top ? height : 480 - top))
  convert windowed.png -crop "${width}x${height}+${left}+${top}" +repage windowed-client.png
  convert full.png -crop "${width}x${height}+0+0" +repage windowed-expected.png
  d=$(differing windowed-client.png windowed-expected.png)
  check "Alt+Enter: the window shows the buffer" "$([ "$d" = 0 ] && echo 1)" "$d pixels differ"
fi
check "the X screen keeps its size" \
  "$([ "$geometry_before" = "1600 1200" ] && [ "$geometry_after" = "1600 1200" ] && echo 1)" \
  "before '$geometry_before', after '$geometry_after'"

mapfile -t areas < <(grep -a '^client area' large.log | tr -d '\r')
for n in 1 2; do
  read -r _ _ left top width height <<<"${areas[$((n - 1))]:-client area 0 0 0 0}"
  check "scale $n: client area $((640 * n)) x $((480 * n))" \
    "$([ "$width" = $((640 * n)) ] && [ "$height" = $((480 * n)) ] && echo 1)" "${width} x ${height}"
  if [ -f full.png ] && [ -f "scale$n.png" ]; then
    convert "scale$n.png" -crop "${width}x${height}+${left}+${top}" +repage "client$n.png"
    convert full.png -sample "$((100 * n))%" "expected$n.png"
    d=$(differing "client$n.png" "expected$n.png")
    check "scale $n: the client area is the full-screen shot, each pixel $n x $n" \
      "$([ "$d" = 0 ] && echo 1)" "$d pixels differ (client$n.png, expected$n.png)"
  fi
done
boxes=$(grep -ac 'text "Korvane: .*' large.log)
named=$(grep -ac -- '--scale N    open in a window at scale N, from 1 to 4' large.log)
check "bad options: two message boxes naming the accepted options" \
  "$([ "$boxes" = 2 ] && [ "$named" = 2 ] && echo 1)" "$boxes boxes, $named with the options"
check "a scale out of range is named" "$(grep -aq -- 'Korvane: --scale 5: the scale is a number from 1 to 4' large.log && echo 1)" "no such text"
check "an unknown option is named" "$(grep -aq -- 'Korvane: unknown option --fullscreen' large.log && echo 1)" "no such text"
if [ -f "$tour" ]; then
  ended=$(sed -n 's/^ended=//p' tour-status.txt 2>/dev/null | tr -d '\r')
  check "the tour at scale 2 ran to its frame limit" \
    "$(grep -q '^tour exit code: 0' tour.log && [ "$ended" = frames ] && echo 1)" \
    "$(tail -n1 tour.log), ended='$ended'"
fi
echo "screenshots in $(pwd)"
[ $failures = 0 ]
