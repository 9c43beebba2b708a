#!/usr/bin/env bash
# scripts/fuzz.sh SECONDS [TARGET...]
# Builds the fuzz targets with clang, libFuzzer and the address and
# undefined-behaviour sanitizers in build-sanitized/ (shared with
# scripts/sanitized-tests.sh), then runs each target for SECONDS (one per
# core at a time) from the corpus it grew before, its committed seeds (fuzz/seeds) and the kept
# findings (tests/data/fuzz-regressions), which therefore replay first.
# New corpus entries and findings stay under build-sanitized/, out of the
# repository. Prints executions, coverage and findings per target; fails when
# any target finds something (the crashing input is named in the output).
set -euo pipefail
VANTO_ROOT=${VANTO_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
build_dir=${VANTO_SANITIZED_BUILD:-$VANTO_ROOT/build-sanitized}

source "$VANTO_ROOT/scripts/setup.sh"
vanto_configure_sanitized "$build_dir"
cmake --build "$build_dir" --parallel "$(nproc)" --target fuzz_targets

if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(ls "$VANTO_ROOT/fuzz/seeds")
fi

export QT_QPA_PLATFORM=offscreen
# Leaks are not findings here: FFmpeg and Qt keep process-wide caches.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# fuzz_target TARGET: fuzzes one target for the set time; its exit status
# goes to the file beside its log.
fuzz_target() {
    local target=$1
    local corpus=$build_dir/corpus/$target
    local findings=$build_dir/findings/$target
    local log=$build_dir/logs/$target.log
    rm -rf "$findings" "$log.status"
    mkdir -p "$corpus" "$findings" "$(dirname "$log")" \
        "$VANTO_ROOT/tests/data/fuzz-regressions/$target"
    local status=0
    "$build_dir/bin/$target" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$VANTO_ROOT/fuzz/seeds/$target" \
        "$VANTO_ROOT/tests/data/fuzz-regressions/$target" >"$log" 2>&1 || status=$?
    echo "$status" >"$log.status"
}

# A target fuzzes on one core, so as many run at a time as there are cores.
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    echo "== $target for ${seconds}s"
    fuzz_target "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
    log=$build_dir/logs/$target.log
    status=$(cat "$log.status" 2>/dev/null || echo 1)
    # A target that did not start leaves no figures; it is failed below.
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$( (grep -o 'cov: [0-9]*' "$log" || true) | tail -1 | cut -d' ' -f2)
    # Slow units are noted by libFuzzer but are not faults.
    found=$(find "$build_dir/findings/$target" -type f \( -name 'crash-*' -o -name 'timeout-*' \
        -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
    printf '%-22s %10s executions  cov %6s  findings %s\n' "$target" "${runs:-?}" "${cov:-?}" "$found"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed+=("$target")
        grep -E 'ERROR|runtime error|Test unit written|SUMMARY|No such file' "$log" | head -20 >&2 || true
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs under $build_dir/findings, logs under $build_dir/logs)" >&2
    exit 1
fi
