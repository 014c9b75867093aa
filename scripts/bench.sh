#!/usr/bin/env bash
# Prints the figures of the native benchmarks (optimised build, no sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."
./build/bench/bin/console_bench --benchmark_counters_tabular=true "$@"
