#!/usr/bin/env bash
# Runs the Windows test suites under Wine inside one private Xvfb, so that all
# of them share one display and one wineserver.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
wine_env_prepare
ctest --preset windows
rc=$?
wineserver -k 2>/dev/null || true
exit $rc
