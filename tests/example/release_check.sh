#!/usr/bin/env bash
# The release zip, used the way a user uses it: made by CPack from the
# Windows build, unpacked into a folder whose path has spaces; what it holds
# (and what it must not hold); the console run from there under Wine and
# driven through the bridge by the unpacked korvane-stream; and the tour's
# shipped source built on its own against the unpacked package, then run
# with the same checks as in the tree.
#   release_check.sh BUILD_DIR OUT_DIR VERSION
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
out=$2
version=$3
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
source "$root/scripts/wine-env.sh"
wine_env_prepare

failures=0
check() {
  if [ "$2" = 1 ]; then echo "ok   $1"; else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}
is() { [ "$1" = "$2" ] && echo 1; }

# --- the zip ---------------------------------------------------------------
name=korvane-$version-win64
zip=$out/dist/$name.zip
bash "$root/scripts/dist.sh" "$build" "$out/dist" >/dev/null
check "cpack made $name.zip" "$([ -f "$zip" ] && echo 1)" "$(ls "$out/dist")"
[ -f "$zip" ] || exit 1
tops=$(cmake -E tar tf "$zip" | cut -d/ -f1 | sort -u | tr '\n' ' ')
check "one top folder $name/" "$(is "$tops" "$name ")" "top entries: $tops"

spaces="$out/Program Files/my korvane"
mkdir -p "$spaces"
(cd "$spaces" && cmake -E tar xf "$zip")
home="$spaces/$name"
for file in README.md LICENSE bin/korvane.exe bin/korvane-stream.exe bin/framework-tour.exe bin/sprite.bmp \
  include/korvane/framework/display/display.h include/korvane/framework/surface/surface.h \
  include/korvane/console/color_ref.h lib/libkorvane_framework.a lib/libkorvane_framework_core.a \
  lib/cmake/Korvane/KorvaneConfig.cmake lib/cmake/Korvane/KorvaneConfigVersion.cmake \
  examples/framework_tour/CMakeLists.txt examples/framework_tour/tour.cpp; do
  check "holds $file" "$([ -f "$home/$file" ] && echo 1)" "missing"
done
internal=$(find "$home/include" \( -name back_surface_dc.h -o -name com_release.h -o -name global_display.h \
  -o -name line_algorithm.h -o -name drawing_cache.h \) -printf '%P ')
check "no internal headers" "$(is "$internal" "")" "$internal"
sources=$(find "$home" -name '*.cpp' -not -path "$home/examples/*" -printf '%P ')
check "no sources outside the example" "$(is "$sources" "")" "$sources"
check "MIT licence" "$(grep -qs '^MIT License' "$home/LICENSE" && echo 1)" "$(head -1 "$home/LICENSE")"
absolute=$(grep -rlF -e "$root" -e "$build" "$home" | sed "s|^$home/||" | tr '\n' ' ')
check "relocatable: no path of the build machine inside" "$(is "$absolute" "")" "$absolute"

# Only Windows' own DLLs: no MinGW runtime (libgcc, libstdc++, libwinpthread).
system_dlls=" advapi32.dll ddraw.dll dinput.dll dsound.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll winmm.dll ws2_32.dll wsock32.dll "
for exe in "$home"/bin/*.exe; do
  foreign=""
  for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case "$system_dlls" in *" $dll "*) ;; *) foreign+="$dll " ;; esac
  done
  check "$(basename "$exe") imports only system DLLs" "$(is "$foreign" "")" "imports $foreign"
done

# Every shipped header compiles on its own with nothing but the shipped
# include folder.
mkdir -p "$out/headers"
units=()
while IFS= read -r header; do
  unit=$out/headers/$(echo "$header" | tr / _).cpp
  printf '#include "%s"\n#include "%s"\n' "$header" "$header" >"$unit"
  units+=("$unit")
done < <(cd "$home/include/korvane" && find . -name '*.h' -printf '%P\n' | sort)
x86_64-w64-mingw32-g++-posix -std=c++20 -fsyntax-only -I "$home/include/korvane" "${units[@]}" \
  >"$out/headers.log" 2>&1
check "the ${#units[@]} shipped headers compile alone" "$([ $? = 0 ] && echo 1)" "$(grep -m3 error "$out/headers.log")"

# --- the console from the unpacked folder, through the bridge ---------------
stream() { wine "$home/bin/korvane-stream.exe" "$@" 2>>"$out/stream.err"; }
keys() { wine "$build/bin/korvane-client.exe" "$@" >>"$out/client.log" 2>&1; }
check "korvane-stream --version" "$(is "$(stream --version | tr -d '\r')" "korvane-stream $version")" \
  "'$(stream --version)'"
(cd "$home/bin" && exec wine "$home/bin/korvane.exe" >"$out/console.log" 2>&1) &
console_pid=$!
keys find=30000
check "the unpacked console opened its window" "$([ $? = 0 ] && echo 1)" "$(tail -2 "$out/client.log")"
stream cancel >/dev/null && stream print "printed from the unpacked zip" >/dev/null
check "korvane-stream cancel and print" "$([ $? = 0 ] && echo 1)" "$(tail -2 "$out/stream.err")"
stream readline --timeout 30 >"$out/line.txt" &
readline_pid=$!
keys wait-client=20000 "type=typed into the unpacked console" enter
wait $readline_pid
check "korvane-stream readline got the typed line" \
  "$(is "$(tr -d '\r' <"$out/line.txt")" "typed into the unpacked console")" "'$(cat "$out/line.txt")'"
stream prompt >/dev/null
rm -f "$home/bin/shown.txt"
keys "command=dump shown.txt"
shown=$(tr -d '\r' <"$home/bin/shown.txt" 2>/dev/null)
check "the console's dump shows the bridge's print and the line" \
  "$(case "$shown" in *"printed from the unpacked zip"*"typed into the unpacked console"*) echo 1 ;; esac)" \
  "dump: '$shown'"
keys escape
for _ in $(seq 1 200); do kill -0 $console_pid 2>/dev/null || break; sleep 0.1; done
kill $console_pid 2>/dev/null
wait $console_pid
rc=$?
check "Escape ends the console with exit code 0" "$(is "$rc" 0)" "exit code $rc"

# --- the tour's shipped source against the unpacked package -----------------
tour_build=$out/tour-build
cmake -S "$home/examples/framework_tour" -B "$tour_build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$home" \
  -DCMAKE_BUILD_TYPE=Release >"$out/configure.log" 2>&1
check "configure the shipped tour with find_package(Korvane)" "$([ $? = 0 ] && echo 1)" \
  "$(tail -5 "$out/configure.log")"
cmake --build "$tour_build" -j 2 >"$out/build.log" 2>&1
check "build the tour against the package" "$([ $? = 0 ] && echo 1)" "$(grep -m3 -e error -e Error "$out/build.log")"
flags=$tour_build/CMakeFiles/framework-tour.dir/flags.make
check "the build used the unpacked headers only" \
  "$(grep -qsF -- "$home/include/korvane" "$flags" && ! grep -Eqs -- "(-I|-isystem )$root( |$)" "$flags" && echo 1)" \
  "include flags in $flags do not name the unpacked folder, or name the source tree"
if [ -f "$tour_build/framework-tour.exe" ]; then
  check "the tour built from the package embeds the DPI-awareness manifest" \
    "$(grep -aq '>PerMonitorV2, PerMonitor</dpiAwareness>' "$tour_build/framework-tour.exe" && echo 1)" \
    "no per-monitor declaration in $tour_build/framework-tour.exe"
  bash "$root/tests/example/demo_check.sh" "$tour_build/framework-tour.exe" "$out/demo" full || failures=$((failures + 1))
else
  check "framework-tour.exe built" "" "missing"
fi
[ $failures = 0 ]
