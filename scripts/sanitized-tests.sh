#!/usr/bin/env bash
# scripts/sanitized-tests.sh [address|thread|all]
# Runs the test programs that need no display under the address and
# undefined-behaviour sanitizers, and the threaded parts under the thread
# sanitizer.
#
# address: every test program but the window and screen ones (or those
# named in VANTO_ASAN_PROGRAMS, less those named in VANTO_ASAN_SKIP), built with
# clang in build-sanitized/, the folder the fuzz targets share, so the code
# base is compiled under ASan once.
# thread: only the programs with threads of their own, and only their tests
# that start those threads (encoder worker, picture read-ahead, animation
# thread, music player, length pass), in build-tsan/: a thread-sanitized run is several
# times slower and needs its own build of those libraries.
set -euo pipefail
VANTO_ROOT=${VANTO_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
stage=${1:-all}
source "$VANTO_ROOT/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
export VANTO_TEST_DATA="$VANTO_ROOT/tests/data"
failed=()

# run_programs BUILD_DIR NAME[:FILTER]...: builds each program, then runs
# them as many at a time as there are cores (CTest runs them side by side
# too), each one's output shown whole when it ends.
run_programs() {
    local build_dir=$1
    shift
    local names=() entry
    for entry in "$@"; do names+=("${entry%%:*}"); done
    cmake --build "$build_dir" --parallel "$(nproc)" --target "${names[@]}"
    local logs
    logs=$(mktemp -d)
    local -A running=()
    local index=0
    for entry in "$@"; do
        while [ ${#running[@]} -ge "$(nproc)" ]; do
            await_program "$logs" running
        done
        index=$((index + 1))
        run_program "$build_dir" "$entry" >"$logs/$index-${entry%%:*}" 2>&1 &
        running[$!]=$index-${entry%%:*}
    done
    while [ ${#running[@]} -gt 0 ]; do
        await_program "$logs" running
    done
    rm -rf "$logs"
}

# run_program BUILD_DIR NAME[:FILTER]: runs one program.
run_program() {
    local build_dir=$1 entry=$2
    local name=${entry%%:*} filter='*'
    [ "$entry" != "$name" ] && filter=${entry#*:}
    local program
    program=$(find "$build_dir/bin" -name "$name" -type f -perm -u+x | head -1)
    echo "== $name ($filter)"
    # Programs run from the folder they lie in, as under CTest.
    cd "$(dirname "$program")" && "./$name" --gtest_brief=1 --gtest_filter="$filter"
}

# await_program LOGS RUNNING: waits for one of the programs in RUNNING (the
# name of an array from process to its log, NUMBER-PROGRAM) to end, shows its
# output and notes whether it failed.
await_program() {
    local logs=$1
    local -n programs=$2
    local pid status=0
    wait -n -p pid "${!programs[@]}" || status=$?
    cat "$logs/${programs[$pid]}"
    [ "$status" -eq 0 ] || failed+=("${programs[$pid]#*-}")
    unset "programs[$pid]"
}

if [ "$stage" = address ] || [ "$stage" = all ]; then
    build_dir=${VANTO_SANITIZED_BUILD:-$VANTO_ROOT/build-sanitized}
    vanto_configure_sanitized "$build_dir"
    if [ -n "${VANTO_ASAN_PROGRAMS:-}" ]; then
        read -r -a programs <<<"$VANTO_ASAN_PROGRAMS"
    else
        mapfile -t programs < <(cmake --build "$build_dir" --target help |
            sed -n 's/^\(test_[a-z0-9_]*\): .*/\1/p' | grep -v -e _autogen -e '^test_app' -e '^test_desktop' -e '^test_screen' |
            sort -u)
    fi
    for skip in ${VANTO_ASAN_SKIP:-}; do
        for i in "${!programs[@]}"; do
            [ "${programs[$i]}" = "$skip" ] && unset 'programs[i]'
        done
    done
    # Tests that check what a killed or refused save leaves on disk start a
    # sanitized child process dozens of times; they test file outcomes, not
    # memory, and run in the ordinary stage.
    # What the sanitizers add to the effect table is the drawing at every
    # size, where a stray pixel would be written; what each effect shows is
    # checked in the ordinary stage. The frame renderer's comparison with a
    # build runs the same code for a disc and an MP4 frame; the disc one
    # is enough here.
    declare -A asan_filter=(
        [test_model]='-CrashSafeSaveTest.Killed*:CrashSafeSaveTest.FolderTurning*'
        [test_effects_table]='EffectTable.*:*KeepsTheCallingContractAtEverySize*:Table/SeededMember.*:Table/UnseededMember.*'
        [test_frame_renderer]='-*Mp4_720p*'
        [test_sound]='-BeatTrack*'
    )
    for i in "${!programs[@]}"; do
        filter=${asan_filter[${programs[$i]}]:-}
        [ -n "$filter" ] && programs[i]="${programs[$i]}:$filter"
    done
    export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_stack_use_after_return=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$VANTO_ROOT/scripts/lsan.supp}
    run_programs "$build_dir" "${programs[@]}"
fi

if [ "$stage" = thread ] || [ "$stage" = all ]; then
    build_dir=$VANTO_ROOT/build-tsan
    cmake -S "$VANTO_ROOT" -B "$build_dir" -G Ninja -DVANTO_TSAN=ON -DVANTO_BUILD_TESTS=ON \
        -DVANTO_BUILD_BENCH=OFF >/dev/null
    # Sound goes to SDL's dummy device: a sound server started from the
    # test would fork a threaded process, which the sanitizer cannot follow.
    export SDL_AUDIODRIVER=dummy
    export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$VANTO_ROOT/scripts/tsan.supp}
    run_programs "$build_dir" \
        "test_video:EncoderAbort.*:EncoderSoundTrack.*:EncoderInterface.*" \
        "test_showbuild:BuildTest.Abort*:BuildTest.FitToMusicEndsWithTheMusic" \
        "test_screen:ScreenStepsTest.*" \
        "test_music:LibraryTest.*:PlayerTest.*:LengthPass.TheWorker*"
fi

if [ ${#failed[@]} -ne 0 ]; then
    echo "sanitized tests failed: ${failed[*]}" >&2
    exit 1
fi
