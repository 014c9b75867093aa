#!/usr/bin/env bash
# Static checks of the platform-free core: clang-tidy (.clang-tidy) and
# cppcheck (.cppcheck-suppressions) over console/, commands/ and bridge/, and
# clang-format (.clang-format) over the folders that follow it, and clang for
# the MinGW target over the Windows sources (scripts/check-windows-clang.sh);
# and that console/, commands/ and bridge/ reach neither the platform nor the
# framework (scripts/check-rooms.sh, also a native test).
# Fails on any finding.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
status=0

# A compile database from a configure-only clang tree; nothing is built.
cmake -S . -B build/lint -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  >/dev/null || exit 1
mapfile -t core < <(git ls-files 'console/*.cpp' 'commands/*.cpp' 'bridge/*.cpp')

echo "== clang-tidy (${#core[@]} files) =="
if clang-tidy-14 -p build/lint --quiet "${core[@]}" 2>&1 | grep -v -e 'warnings generated' -e '^Suppressed' \
     -e 'Use -header-filter' -e 'treated as errors' >build/lint/tidy.log; [ -s build/lint/tidy.log ]; then
  cat build/lint/tidy.log
  status=1
fi
[ $status -eq 0 ] && echo "clang-tidy: clean"

echo "== cppcheck =="
if cppcheck --quiet --enable=warning,style,performance,portability --std=c++20 --language=c++ \
     --inline-suppr --suppressions-list=.cppcheck-suppressions --error-exitcode=1 -I . console commands bridge; then
  echo "cppcheck: clean"
else
  status=1
fi

echo "== clang-format =="
mapfile -t formatted < <(git ls-files console commands bridge tests/core bench fuzz | grep -E '\.(cpp|h)$')
if clang-format-14 --dry-run --Werror "${formatted[@]}"; then
  echo "clang-format: ${#formatted[@]} files follow .clang-format"
else
  status=1
fi

echo "== the core's rooms are platform-free =="
bash scripts/check-rooms.sh || status=1

echo "== a second compiler for the Windows target =="
bash scripts/check-windows-clang.sh || status=1

[ $status -eq 0 ] && echo "lint: passed" || echo "lint: FAILED"
exit $status
