#!/usr/bin/env bash
# A second compiler for the Windows target: clang (--target=x86_64-w64-mingw32,
# with MinGW-w64's headers and libstdc++) checks every source of the Windows
# program and framework, warnings as errors. MinGW g++ builds them; code that
# only one compiler accepts (an unguarded compiler extension) fails here.
# Nothing is linked. Usage: scripts/check-windows-clang.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
gcc_dir=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix 2>/dev/null | sort -V | tail -1)
if ! command -v clang++ >/dev/null || [ -z "$gcc_dir" ]; then
  echo "windows clang check: clang++ or MinGW-w64 (posix) missing" >&2
  exit 1
fi
cxx=$gcc_dir/include/c++
flags=(--target=x86_64-w64-mingw32 -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I "$root"
  -isystem "$cxx" -isystem "$cxx/x86_64-w64-mingw32" -isystem "$cxx/backward")
mapfile -t sources < <(git ls-files 'app/*.cpp' 'console/*.cpp' 'commands/*.cpp' 'bridge/*.cpp' 'framework/*.cpp')
failed=0
for file in "${sources[@]}"; do
  clang++ "${flags[@]}" "$file" || { echo "windows clang check: $file FAILED"; failed=$((failed + 1)); }
done
if [ $failed -eq 0 ]; then
  echo "windows clang check: ${#sources[@]} files compile with clang for x86_64-w64-mingw32"
else
  echo "windows clang check: $failed of ${#sources[@]} files FAILED"
fi
[ $failed -eq 0 ]
