#!/usr/bin/env bash
# make run: start the console.
#  - on Windows: run korvane.exe;
#  - with a display: under Wine, in a window on the desktop (korvane.exe --window);
#  - without one: a scripted demo in a private Xvfb (tools/korvane_stream/demo.sh:
#    a script drives the console through korvane-stream) that leaves a
#    screenshot and a dump of the buffer under build/demo/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin

if [ ! -f "$bin/korvane.exe" ]; then
  echo "run.sh: $bin/korvane.exe is missing; build it with: make build-windows" >&2
  exit 1
fi

if ! command -v wine >/dev/null 2>&1; then
  case "$(uname -s)" in
    MINGW* | MSYS* | CYGWIN*) exec "$bin/korvane.exe" ;;
  esac
  echo "run.sh: wine is not installed (make deps installs it)" >&2
  exit 1
fi

source "$root/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_ready
  echo "Starting the console in a window; Alt+Enter for full screen, Escape or 'exit' ends it."
  wine "$bin/korvane.exe" --window
  exit 0
fi

demo=$root/build/demo
rm -rf "$demo"
mkdir -p "$demo"
cd "$demo" || exit 1
xvfb_start
wine_prefix_ready
echo "No display: running the scripted demo in Xvfb $DISPLAY"
bash "$root/tools/korvane_stream/demo.sh" "$bin" "$demo"
rc=$?
# The dump is written in Windows text mode; show it with Unix line ends.
tr -d '\r' <"$demo/buffer.txt" >"$demo/buffer-unix.txt" 2>/dev/null && mv "$demo/buffer-unix.txt" "$demo/buffer.txt"
echo
echo "Screenshot:      $demo/screen.png"
echo "Buffer dump:     $demo/buffer.txt"
echo "----------------------------------------------------------------"
cat "$demo/buffer.txt" 2>/dev/null
echo "----------------------------------------------------------------"
if [ "$rc" != 0 ]; then echo "run.sh: the demo failed (client exit code $rc)" >&2; fi
exit "$rc"
