# Shared steps of the fuzzing scripts; sourced, not run.
#
#   fuzz_build ROOT BUILD TARGET    configures BUILD with the "fuzz" preset when it
#                                   has no build yet, then builds TARGET
#   fuzz_run LABEL FUZZER CORPUS BUILD SECONDS MAXLEN [FUZZER OPTIONS...]
#                                   runs FUZZER on CORPUS for SECONDS; a crashing
#                                   input is kept in BUILD/fuzz-artifacts. Returns
#                                   0 when no input crashed, 1 otherwise.

fuzz_build() {
  local root="$1" build="$2" target="$3"
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" --preset fuzz -B "$build" >/dev/null
  fi
  cmake --build "$build" -j"$(nproc)" --target "$target" >/dev/null
}

fuzz_run() {
  local label="$1" fuzzer="$2" corpus="$3" build="$4" seconds="$5" maxlen="$6"
  shift 6
  local log status
  log=$(mktemp)
  mkdir -p "$build/fuzz-artifacts"
  echo "fuzzing the $label for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 "$@" \
      -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$corpus" 2>"$log"; then
    status=$?
    tail -n 40 "$log"
    rm -f "$log"
    echo "$label fuzzing: FAILED (exit $status)"
    return 1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$log" || true
  rm -f "$log"
  echo "$label fuzzing: no crash"
}
