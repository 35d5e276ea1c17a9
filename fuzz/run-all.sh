#!/usr/bin/env bash
# Runs every fuzz target for SECONDS (default 180) each under a memory limit of 512 MB,
# one after another: fuzz/run-all.sh BUILD_DIR [SECONDS]. Findings go to
# fuzz-corpus/artifacts/; the last lines of each run's statistics are printed.
set -euo pipefail
build=${1:?usage: fuzz/run-all.sh BUILD_DIR [SECONDS]}
seconds=${2:-180}
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run() {  # target corpus-seed [extra options]
  local target=$1 seed=$2
  shift 2
  mkdir -p "fuzz-corpus/$target" fuzz-corpus/artifacts
  "$build/fuzz/${target}_fuzzer" "fuzz-corpus/$target" "fuzz-corpus/$seed" "$@" \
    -keep_seed=1 -rss_limit_mb=512 -malloc_limit_mb=512 -max_len=100000 -timeout=30 \
    -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="fuzz-corpus/artifacts/$target-" > "fuzz-corpus/$target.log" 2>&1 || true
  echo "$target: $(grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "fuzz-corpus/$target.log" |
    tr '\n' ' ')$(grep -cE 'ERROR|out-of-memory|crash-|leak-|timeout-' "fuzz-corpus/$target.log") reports"
}
run reader seed-reader
run descomprimir_arreglo seed-compressed
run descomprimir_stream seed-compressed
run data_packet seed-data-packet
run soap_message seed-soap -dict=fuzz/soap.dict
run estructura seed-estructura
