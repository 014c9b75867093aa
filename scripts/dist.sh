#!/usr/bin/env bash
# The release zip from a Windows build tree, made by CPack's ZIP generator
# from the install rules (cmake/korvane-release.cmake).
#   scripts/dist.sh BUILD_DIR OUT_DIR   ->  OUT_DIR/korvane-VERSION-win64.zip
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
rm -rf "$out/_CPack_Packages" "$out"/korvane-*-win64.zip
if ! cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$out" >"$build/cpack.log" 2>&1; then
  cat "$build/cpack.log" >&2
  exit 1
fi
rm -rf "$out/_CPack_Packages"
ls "$out"/korvane-*-win64.zip
