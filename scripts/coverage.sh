#!/usr/bin/env bash
# Line and branch coverage of the platform-free core (console/, commands/,
# bridge/) by the native unit tests: a gcc --coverage build in build/coverage,
# the tests run once, gcovr reports per file and in total. An HTML report
# lands in build/coverage/html/index.html.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset coverage >/dev/null
# Counts from an earlier build would not match the new objects.
[ -d build/coverage ] && find build/coverage -name '*.gcda' -delete
cmake --build --preset coverage >/dev/null
find build/coverage -name '*.gcda' -delete
build/coverage/bin/core_tests --gtest_brief=1 >/dev/null
mkdir -p build/coverage/html
filters=(--root "$root" --filter "$root/console/" --filter "$root/commands/" --filter "$root/bridge/"
  --exclude-unreachable-branches --exclude-throw-branches --exclude-directories '.*/CMakeFiles/[0-9.]+/.*')
gcovr "${filters[@]}" --object-directory build/coverage --html-details build/coverage/html/index.html >/dev/null
gcovr "${filters[@]}" --object-directory build/coverage --txt - --print-summary
