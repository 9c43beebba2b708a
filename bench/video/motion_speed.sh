#!/usr/bin/env bash
# What pan and zoom cost a build: the benchmark show (see show_inputs.sh:
# COUNT of the 40 photos, interval 2 s, speed 4, DVD PAL unless FORMAT names
# another --format) built with the headless command without motion and with
# MOTION (zoom-in) on every picture. The two builds take turns RUNS times
# (2) and the best of each counts; prints frame rates, processor time per
# frame and the ratio (target: motion at least 0.7 of the still show).
#
#   bench/video/motion_speed.sh                 # DVD PAL, zoom in
#   FORMAT=svcd MOTION=pan-left:5 COUNT=10 bench/video/motion_speed.sh
#
# Builds vantoshow into build-bench/ (Release) when it is not there;
# VANTO_BENCH_BUILD names another build folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${VANTO_BENCH_BUILD:-$ROOT/build-bench}
PROGRAM=$BUILD/bin/vantoshow
INPUTS=${VANTO_BENCH_INPUTS:-$ROOT/build-bench/show-inputs}
COUNT=${COUNT:-40}
RUNS=${RUNS:-2}
FORMAT=${FORMAT:-dvd}
MOTION=${MOTION:-zoom-in}
# The command adds ".mp4" to an MP4 format's output that lacks it.
EXT=mpg
[[ $FORMAT == mp4-* ]] && EXT=mp4

source "$ROOT/bench/video/show_inputs.sh"
build_program
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "Preparing the inputs in $INPUTS ..."
make_pictures
write_project "$COUNT" "$WORK/show.dvprj"
echo "$(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"

# Wall and processor seconds of one build: sets WALL and CPU.
build() {  # output extra-arguments...
    local output=$1
    shift
    /usr/bin/time -f '%e %U %S' -o "$WORK/time.txt" \
        "$PROGRAM" build "$WORK/show.dvprj" -o "$output" --format "$FORMAT" "$@" \
        >/dev/null 2>"$WORK/stderr" || { cat "$WORK/stderr" >&2; return 1; }
    local user system
    read -r WALL user system <"$WORK/time.txt"
    CPU=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
}

best() {  # current candidate -> the smaller
    awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'
}

still_s="" still_cpu="" moving_s="" moving_cpu=""
for _ in $(seq "$RUNS"); do
    build "$WORK/still.$EXT"
    still_s=$(best "$still_s" "$WALL") still_cpu=$(best "$still_cpu" "$CPU")
    build "$WORK/moving.$EXT" --motion "$MOTION"
    moving_s=$(best "$moving_s" "$WALL") moving_cpu=$(best "$moving_cpu" "$CPU")
done
frames=$(ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
    -of default=noprint_wrappers=1:nokey=1 "$WORK/still.$EXT")
awk -v f="$frames" -v ss="$still_s" -v sc="$still_cpu" -v ms="$moving_s" -v mc="$moving_cpu" \
    -v motion="$MOTION" -v format="$FORMAT" -v runs="$RUNS" 'BEGIN {
    printf "%s, %d frames, best of %d:\n", format, f, runs
    printf "  no motion: %.1f fps, %.2f ms CPU a frame\n", f / ss, 1000 * sc / f
    printf "  %-9s: %.1f fps, %.2f ms CPU a frame\n", motion, f / ms, 1000 * mc / f
    printf "frame rate with motion / without: %.2f  (target at least 0.70)\n", ss / ms
}'
