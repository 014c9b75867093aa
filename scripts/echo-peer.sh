# Sourced by the framework tour's scripts: a TCP echo peer (socat) on a free
# loopback port, and a HOME whose .asoundrc gives ALSA a null device, so that
# DirectSound under Wine has a device to play on.

# A port that nothing listens on at this moment.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# echo_peer_start PORT: sets ECHO_PEER_PID once the peer accepts connections.
echo_peer_start() {
  socat "TCP-LISTEN:$1,bind=127.0.0.1,reuseaddr,fork" PIPE &
  ECHO_PEER_PID=$!
  local i
  for i in $(seq 1 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
}

echo_peer_stop() {
  if [ -n "${ECHO_PEER_PID:-}" ]; then
    kill "$ECHO_PEER_PID" 2>/dev/null
    wait "$ECHO_PEER_PID" 2>/dev/null
    ECHO_PEER_PID=""
  fi
}

# alsa_null_home DIR: DIR becomes a HOME with the null device.
alsa_null_home() {
  mkdir -p "$1"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$1/.asoundrc"
}
