#!/usr/bin/env bash
# The scripted demo of `make run` without a display: a shell script that uses
# the console as its terminal through korvane-stream. It prints, reads a line
# that the demo types (korvane-client types the keys), runs line-program
# inside the console with exec, and ends with a dump of the buffer and a
# screenshot. Needs DISPLAY and the Wine prefix set (scripts/run.sh).
# Usage: demo.sh BIN OUTDIR
set -uo pipefail
bin=$1
out=$2
cd "$out" || exit 1

# Through a file, not a pipe: the first Wine program may start the
# wineserver, which would hold a pipe open for as long as it runs.
client() {
  wine "$bin/korvane-client.exe" "$@" >client.log 2>&1
  local rc=$?
  grep -v -e '^ALSA' -e '^$' client.log
  return $rc
}
stream() { wine "$bin/korvane-stream.exe" "$@"; }
step() { echo "demo: $*"; }

wine "$bin/korvane.exe" >console.stdout 2>&1 &
console=$!
client find || { echo "demo: the console did not start" >&2; exit 1; }

step "a command typed at the prompt"
client "command=add 2 3"
step "korvane-stream takes the console over and prints"
stream cancel
stream print "[script] this text comes from a shell script, through korvane-stream"
stream print -n "[script] what is your name? "
step "korvane-stream readline; the demo types the answer"
stream readline --timeout 60 >name.txt &
reader=$!
client wait-client "type=korvane" enter
wait "$reader" || { echo "demo: readline failed" >&2; exit 1; }
step "readline gave: $(cat name.txt)"
stream print "[script] hello, $(cat name.txt)! now line-program runs inside the console:"
step "korvane-stream exec line-program ask; the demo types the answer"
stream exec line-program ask &
hosted=$!
client wait-client sleep=1000 "type=Korvane" enter
wait "$hosted"
step "line-program ended with status $?; the prompt is back"
client "command=echo the prompt is back" "command=dump buffer.txt"
sleep 0.5  # let a few frames of the final state be drawn
import -window root screen.png
client escape
wait "$console"
