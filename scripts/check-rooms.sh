#!/usr/bin/env bash
# The core's rooms stay platform-free: no source under console/, commands/ or
# bridge/ includes windows.h (nor another Win32 or DirectX header) or anything
# under framework/, and their CMakeLists.txt do not link the Win32 framework.
# What draws the console on the Display lives in app/. Prints every offending
# line and fails if there is one.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
rooms=(console commands bridge)

includes=$(grep -rnHiE --include='*.cpp' --include='*.h' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*/)?(windows|winsock2?|ws2tcpip|ddraw|dinput|dsound|mmsystem|shellapi)\.h[>"]|^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]framework/' \
  "${rooms[@]}")
links=$(grep -nHE 'korvane_framework([^_[:alnum:]]|$)' "${rooms[@]/%//CMakeLists.txt}")

if [ -n "$includes$links" ]; then
  echo "the core's rooms (${rooms[*]}) must not reach the platform or the framework:"
  printf '%s\n' "$includes" "$links" | sed '/^$/d'
  exit 1
fi
echo "rooms: ${rooms[*]} include neither windows.h nor framework/"
