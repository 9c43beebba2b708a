#!/usr/bin/env bash
# Encoder speed against the ffmpeg program: the same raw frames and music,
# encoded with the same settings by both, for each format (PAL). Prints the
# frame rates, their ratio (ours / ffmpeg) and the processor time per frame;
# best of RUNS runs each (5), the runs of both taking turns so that load from
# elsewhere hits both alike. On a busy machine the frame rates swing; the
# processor times hold steadier.
#
#   bench/video/encoder_speed.sh [FRAMES]
#
# Builds bench_encoder into build-bench/ (Release) when it is not there yet.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${VANTO_BENCH_BUILD:-$ROOT/build-bench}
FRAMES=${1:-300}
RUNS=${RUNS:-5}
BENCH=$BUILD/bin/bench_encoder
if [ ! -x "$BENCH" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTO_BUILD_BENCH=ON \
        -DVANTO_BUILD_TESTS=OFF >/dev/null
    cmake --build "$BUILD" --target bench_encoder >/dev/null
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=$((FRAMES / 25 + 5))" \
    -c:a libmp3lame -b:a 192k "$WORK/music.mp3"

seconds() {  # command... ; prints its wall time and its processor time (user + system)
    local TIMEFORMAT='%R %U %S' times
    times=$( { time "$@" >/dev/null 2>"$WORK/stderr"; } 2>&1 ) || { cat "$WORK/stderr" >&2; return 1; }
    awk '{ print $1, $2 + $3 }' <<<"$times"
}

min() {  # best of two "wall cpu" pairs, each figure on its own
    awk -v a="$1" -v b="$2" 'BEGIN {
        if (a == "") { print b; exit }
        split(a, x, " "); split(b, y, " ")
        print (y[1] < x[1] ? y[1] : x[1]), (y[2] < x[2] ? y[2] : x[2]) }'
}

run_case() {  # name format width height ffmpeg-output-options...
    local name=$1 format=$2 width=$3 height=$4
    shift 4
    local raw=$WORK/frames-${width}x$height.raw
    [ -f "$raw" ] || "$BENCH" frames "$raw" "$width" "$height" "$FRAMES"
    local ffmpeg_s="" ours_s="" caption_s="" t
    for _ in $(seq "$RUNS"); do
        t=$(seconds ffmpeg -nostdin -v error -y -f rawvideo -pix_fmt bgr24 \
            -video_size "${width}x$height" -framerate 25 -i "$raw" -i "$WORK/music.mp3" \
            -map 0:v -map 1:a -shortest -pix_fmt yuv420p -aspect 4:3 "$@" "$WORK/ffmpeg.mpg")
        ffmpeg_s=$(min "$ffmpeg_s" "$t")
        t=$(seconds "$BENCH" encode "$raw" "$width" "$height" "$format" 0 "$WORK/music.mp3" \
            "$WORK/ours.mpg")
        ours_s=$(min "$ours_s" "$t")
        t=$(seconds "$BENCH" encode "$raw" "$width" "$height" "$format" 0 "$WORK/music.mp3" \
            "$WORK/ours.mpg" "A caption on every frame")
        caption_s=$(min "$caption_s" "$t")
    done
    awk -v n="$name" -v f="$FRAMES" -v a="$ffmpeg_s" -v b="$ours_s" -v c="$caption_s" 'BEGIN {
        split(a, x, " "); split(b, y, " "); split(c, z, " ")
        printf "%-9s ffmpeg %6.1f fps %5.2f ms cpu/frame | ours %6.1f fps %5.2f ms | ratio %.2f" \
               " | with caption %6.1f fps %5.2f ms, ratio %.2f\n",
            n, f / x[1], 1000 * x[2] / f, f / y[1], 1000 * y[2] / f, x[1] / y[1],
            f / z[1], 1000 * z[2] / f, x[1] / z[1] }'
}

echo "$FRAMES frames per run, best of $RUNS, $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"
run_case "VCD PAL" 0 320 288 -c:v mpeg1video -s 352x288 -g 15 -bf 2 -b:v 1150000 \
    -maxrate 1150000 -minrate 1150000 -bufsize 327680 -c:a mp2 -b:a 224000 -ar 44100 -ac 2 \
    -f vcd -muxrate 1411200 -packetsize 2324 -muxpreload 0.44 -muxdelay 0.7
run_case "SVCD PAL" 1 480 576 -c:v mpeg2video -s 480x576 -g 15 -bf 2 -b:v 2040000 \
    -maxrate 2516000 -minrate 0 -bufsize 1835008 -scan_offset 1 -c:a mp2 -b:a 224000 -ar 44100 \
    -ac 2 -f svcd -packetsize 2324 -muxpreload 0.5 -muxdelay 0.7
run_case "DVD PAL" 2 720 576 -c:v mpeg2video -s 720x576 -g 15 -bf 2 -b:v 6000000 \
    -maxrate 9000000 -minrate 0 -bufsize 1835008 -c:a ac3 -b:a 224000 -ar 48000 -ac 2 \
    -f dvd -muxrate 10080000 -packetsize 2048 -muxpreload 0.5 -muxdelay 0.7
