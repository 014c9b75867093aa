#!/usr/bin/env bash
# Runs korvane-client under Wine and answers its "handshake NAME" steps by
# saving a screenshot of the X root window as OUTDIR/NAME.png. Other output of
# the client is passed on. Exit code: the client's.
# Usage: run_with_screenshots.sh CLIENT_EXE OUTDIR STEP...
set -uo pipefail
client=$1
outdir=$2
shift 2
mkdir -p "$outdir"

coproc CLIENT { wine "$client" "$@" 2>&1; }
# Bash forgets the coprocess's variables when it ends: keep them.
client_pid=$CLIENT_PID
exec {client_out}<&"${CLIENT[0]}"
while IFS= read -r line <&"$client_out"; do
  line=${line%$'\r'}
  case $line in
    "handshake "*)
      name=${line#handshake }
      sleep 0.3  # let a few frames of the new state be drawn
      import -window root "$outdir/$name.png"
      touch "$name" ;;
    *) echo "$line" ;;
  esac
done
wait "$client_pid"
