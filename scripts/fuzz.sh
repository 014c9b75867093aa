#!/usr/bin/env bash
# Builds and runs the libFuzzer targets of the core (fuzz preset, clang with
# ASan + UBSan), one target at a time.
#   scripts/fuzz.sh smoke [SECONDS]  replay fuzz/regressions and the seed corpora,
#                                    then fuzz each target briefly (default 5 s)
#   scripts/fuzz.sh run [SECONDS]    fuzz each target in turn (default 180 s each);
#                                    the growing corpus stays in build/fuzz/corpus,
#                                    findings land in build/fuzz/findings
#   scripts/fuzz.sh merge            fold build/fuzz/corpus, minimised, into fuzz/corpus
# Targets work in a scratch folder of their own, so every path given to them
# is absolute. A finding is kept by copying it into fuzz/regressions/<target>/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
mode=${1:-smoke}
targets=(fuzz_execute fuzz_script fuzz_keys fuzz_text)
targets+=(fuzz_wave fuzz_terminal)
# FUZZ_TARGETS="fuzz_keys" limits a run to some of them.
[ -n "${FUZZ_TARGETS:-}" ] && read -ra targets <<<"$FUZZ_TARGETS"
bin=$root/build/fuzz/bin

max_len() { [ "$1" = fuzz_keys ] && echo 16384 || echo 8192; }
# The command words: the interpreter's vocabulary, and words for the split.
dict() { echo "-dict=$root/fuzz/commands.dict"; }
# stdout is closed: the cancel request writes line feeds there.
common=(-close_fd_mask=1 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz >/dev/null || { cmake --build --preset fuzz; exit 1; }

executions() { sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -1; }

# The kept inputs of a target that exist: a fresh clone has no folder for a
# target without regressions, and libFuzzer refuses a folder that is missing.
kept_folders() {
  local folder
  for folder in "$root/fuzz/corpus/$1" "$root/fuzz/regressions/$1"; do
    [ -d "$folder" ] && echo "$folder"
  done
}

# A finding is an input libFuzzer saved; a non-zero exit without one is the
# tool failing (bad arguments, a missing folder), never reported as a finding.
findings_of() { find "$1" -maxdepth 1 -type f -name "$2*" \( -name '*crash-*' -o -name '*leak-*' -o -name '*timeout-*' -o -name '*oom-*' \) 2>/dev/null; }

# Runs every kept input of a target once; true when none fails.
replay() {
  local target=$1 files
  mapfile -t files < <(find "$root/fuzz/regressions/$target" "$root/fuzz/corpus/$target" -type f ! -name '.*' 2>/dev/null | sort)
  [ ${#files[@]} -eq 0 ] && return 0
  "$bin/$target" "${common[@]}" "$(dict "$target")" "${files[@]}" >"$log" 2>&1
}

case $mode in
smoke)
  seconds=${2:-5}
  passed=0 failed=0
  log=$(mktemp)
  for t in "${targets[@]}"; do
    if replay "$t"; then
      echo "fuzz $t: replay of kept inputs passed"
      passed=$((passed + 1))
    else
      echo "fuzz $t: replay FAILED"; tail -40 "$log"
      failed=$((failed + 1))
    fi
    work=$(mktemp -d)
    mapfile -t folders < <(kept_folders "$t")
    if "$bin/$t" "${common[@]}" "$(dict "$t")" -max_len="$(max_len "$t")" -max_total_time="$seconds" \
        -artifact_prefix="$work/" "$work" "${folders[@]}" >"$log" 2>&1; then
      echo "fuzz $t: ${seconds} s smoke run passed, $(executions "$log") executions"
      passed=$((passed + 1))
    elif [ -n "$(findings_of "$work" "")" ]; then
      echo "fuzz $t: smoke run FAILED with a finding"; tail -40 "$log"
      mkdir -p build/fuzz/findings && cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* build/fuzz/findings/ 2>/dev/null
      failed=$((failed + 1))
    else
      echo "fuzz $t: smoke run FAILED: the fuzzer did not run (no finding)"; tail -20 "$log"
      failed=$((failed + 1))
    fi
    rm -rf "$work"
  done
  rm -f "$log"
  echo "fuzz: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  ;;
run)
  seconds=${2:-180}
  failed=0
  mkdir -p build/fuzz/findings build/fuzz/logs
  for t in "${targets[@]}"; do
    mkdir -p "build/fuzz/corpus/$t"
    log=build/fuzz/logs/$t.log
    mapfile -t folders < <(kept_folders "$t")
    before=$(findings_of build/fuzz/findings "$t-" | sort)
    start=$(date +%s)
    "$bin/$t" "${common[@]}" "$(dict "$t")" -max_len="$(max_len "$t")" -max_total_time="$seconds" \
      -artifact_prefix="$root/build/fuzz/findings/$t-" "$root/build/fuzz/corpus/$t" "${folders[@]}" >"$log" 2>&1
    rc=$?
    took=$(( $(date +%s) - start ))
    new=$(comm -13 <(echo "$before") <(findings_of build/fuzz/findings "$t-" | sort))
    if [ $rc -eq 0 ]; then
      echo "fuzz $t: $(executions "$log") executions in ${took} s, no finding"
    elif [ -n "$new" ]; then
      echo "fuzz $t: FINDING after ${took} s: $new (log: $log)"
      failed=$((failed + 1))
    else
      echo "fuzz $t: the fuzzer FAILED to run (exit $rc after ${took} s, no finding): $(grep -m1 -i error "$log" || tail -1 "$log")"
      failed=$((failed + 1))
    fi
  done
  echo "fuzz: $(( ${#targets[@]} - failed )) passed, $failed failed"
  [ "$failed" -eq 0 ]
  ;;
merge)
  for t in "${targets[@]}"; do
    mkdir -p "build/fuzz/corpus/$t" "fuzz/corpus/$t"
    "$bin/$t" "${common[@]}" -merge=1 -max_len="$(max_len "$t")" "$root/fuzz/corpus/$t" "$root/build/fuzz/corpus/$t" >/dev/null 2>&1
    echo "fuzz $t: $(find "fuzz/corpus/$t" -type f | wc -l) inputs kept"
  done
  ;;
*)
  echo "usage: scripts/fuzz.sh smoke|run|merge [SECONDS]" >&2
  exit 2
  ;;
esac
