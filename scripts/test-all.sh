#!/usr/bin/env bash
# Runs every test suite and prints one summary line at the end.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
echo "== native unit tests (ASan + UBSan) =="
ctest --preset native || status=1
echo "== fuzz targets: replay of kept inputs and a short smoke run =="
bash scripts/fuzz.sh smoke || status=1
echo "== Windows tests and end-to-end tests under Wine =="
bash scripts/test-windows.sh || status=1
exit $status
