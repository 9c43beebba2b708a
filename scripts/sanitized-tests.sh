#!/usr/bin/env bash
# Builds the drawing layer's and the effects' test programs with the address
# and undefined-behaviour sanitizers in their own build folder and runs them.
# Pixel code is where an off-by-one row or column would go unnoticed in an
# ordinary build; only these targets are built, to keep the extra time small.
set -euo pipefail
VANTO_ROOT=${VANTO_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
build_dir=${1:-$VANTO_ROOT/build-asan}

cmake -S "$VANTO_ROOT" -B "$build_dir" -G Ninja -DVANTO_SANITIZE=ON -DVANTO_BUILD_TESTS=ON \
    -DVANTO_BUILD_BENCH=OFF >/dev/null

# Every test program of the base, raster and effects folders, as the build names them.
mapfile -t programs < <(cmake --build "$build_dir" --target help |
    sed -n 's/^\(test_base\|test_raster[a-z_]*\|test_effects[a-z_]*\): .*/\1/p' | grep -v _autogen | sort -u)
if [ ${#programs[@]} -eq 0 ]; then
    echo "sanitized tests: no base, raster or effects test programs found" >&2
    exit 1
fi
cmake --build "$build_dir" --parallel "$(nproc)" --target "${programs[@]}"

export QT_QPA_PLATFORM=offscreen
export VANTO_TEST_DATA="$VANTO_ROOT/tests/data"
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
cd "$build_dir/bin"
for program in "${programs[@]}"; do
    echo "== $program (address and undefined-behaviour sanitizers)"
    if ! "./$program" --gtest_brief=1; then
        failed+=("$program")
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "sanitized tests failed: ${failed[*]}" >&2
    exit 1
fi
