#!/usr/bin/env bash
# The framework as a package, used the way another project would use it:
# install the Windows build into a temporary prefix, configure the framework
# tour on its own against that prefix with the MinGW toolchain file, build it,
# and run its scripted demo under Wine with the same checks as in the tree.
#   package_check.sh BUILD_DIR OUT_DIR
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
out=$2
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
prefix=$out/prefix

failures=0
check() {
  if [ "$2" = 1 ]; then echo "ok   $1"; else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$prefix" >"$out/install.log" 2>&1
check "install into a temporary prefix" "$([ $? = 0 ] && echo 1)" "$(tail -3 "$out/install.log")"
for file in include/korvane/framework/display/display.h include/korvane/framework/sound/sound.h \
  include/korvane/framework/input/joystick.h include/korvane/framework/surface/surface.h \
  include/korvane/framework/net/socket.h include/korvane/console/color_ref.h \
  lib/libkorvane_framework.a lib/libkorvane_framework_core.a lib/cmake/Korvane/KorvaneConfig.cmake \
  lib/cmake/Korvane/KorvaneConfigVersion.cmake lib/cmake/Korvane/KorvaneTargets.cmake; do
  check "installed $file" "$([ -f "$prefix/$file" ] && echo 1)" "missing"
done
check "no sources installed" "$([ -z "$(find "$prefix" -name '*.cpp')" ] && echo 1)" "$(find "$prefix" -name '*.cpp' | head -3)"

# A separate project: nothing of the tree but the toolchain file and the
# installed prefix.
tour_build=$out/tour-build
cmake -S "$root/examples/framework_tour" -B "$tour_build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release >"$out/configure.log" 2>&1
check "configure the tour stand-alone" "$([ $? = 0 ] && echo 1)" "$(tail -5 "$out/configure.log")"
cmake --build "$tour_build" -j 2 >"$out/build.log" 2>&1
check "build the tour against the package" "$([ $? = 0 ] && echo 1)" "$(grep -m3 -e error -e Error "$out/build.log")"
flags=$tour_build/CMakeFiles/framework-tour.dir/flags.make
check "the build used the installed headers" \
  "$(grep -qs -- "$prefix/include/korvane" "$flags" && ! grep -Eqs -- "(-I|-isystem )$root( |$)" "$flags" && echo 1)" \
  "include flags in $flags do not name the prefix, or name the source tree"

if [ -f "$tour_build/framework-tour.exe" ]; then
  bash "$root/tests/example/demo_check.sh" "$tour_build/framework-tour.exe" "$out/demo" full || failures=$((failures + 1))
else
  check "framework-tour.exe built" "" "missing"
fi
[ $failures = 0 ]
