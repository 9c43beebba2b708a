#!/usr/bin/env bash
# Speed and memory of a build at the new frame rates and shapes, against the
# ffmpeg program: the benchmark show (show_inputs.sh: photos of 2 to 24
# megapixels, interval 2 s, speed 4, the music) as MP4 1080p at 50 frames a
# second and as MP4 1080x1920 (9:16) at 25, each against ffmpeg encoding as
# many pre-rendered frames of that size and rate (the show's own first frames,
# read over and over) with the same x264 settings and the music. Prints frame
# rates, the ratio of ours to ffmpeg's, and both peak memories.
#
#   bench/video/rates_speed.sh [PICTURES]     (40 unless given)
#
# One run of each, taking turns; the machine may be busy with other work, so
# the load is printed before and after, and the CPU time per frame, which load
# does not change. Builds vantoshow into build-bench/ (Release) when it is not
# there; inputs are made once into build-bench/show-inputs/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${VANTO_BENCH_BUILD:-$ROOT/build-bench}
PROGRAM=$BUILD/bin/vantoshow
INPUTS=$BUILD/show-inputs
COUNT=${1:-40}
PRERENDERED_FRAMES=60

source "$ROOT/bench/video/show_inputs.sh"
build_program

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# One case: name, project keys, size, rate (as ffmpeg takes it), key frame
# interval (2 s at the rate, as the encoder's preset sets it).
run_case() {
    local name=$1 keys=$2 size=$3 rate=$4 gop=$5
    write_project "$COUNT" "$WORK/$name.dvprj" "$keys"
    measure "$PROGRAM" build "$WORK/$name.dvprj" -o "$WORK/$name.mp4"
    local ours_s=$SECONDS_TAKEN ours_cpu=$CPU_SECONDS ours_mb=$PEAK_MB
    local frames
    frames=$(video_frames "$WORK/$name.mp4")
    ffmpeg -nostdin -v error -y -i "$WORK/$name.mp4" -frames:v "$PRERENDERED_FRAMES" \
        -f rawvideo -pix_fmt bgr24 "$WORK/frames.raw"
    cat "$WORK/frames.raw" >/dev/null
    # As kX264Preset and the 1080p row of src/video/EncoderPresets.cpp.
    measure ffmpeg -nostdin -v error -y -stream_loop -1 -f rawvideo -pix_fmt bgr24 \
        -video_size "$size" -framerate "$rate" -i "$WORK/frames.raw" -i "$INPUTS/music.mp3" \
        -map 0:v -map 1:a -frames:v "$frames" -c:v libx264 -preset veryfast -profile:v high \
        -crf 23 -maxrate 8000000 -bufsize 16000000 -g "$gop" -bf 3 -pix_fmt yuv420p \
        -color_primaries bt709 -color_trc bt709 -colorspace bt709 -c:a aac -b:a 192000 \
        -ar 48000 -ac 2 -movflags +faststart -f mp4 "$WORK/ffmpeg.mp4"
    rm -f "$WORK/frames.raw"
    awk -v n="$name" -v f="$frames" -v os="$ours_s" -v oc="$ours_cpu" -v om="$ours_mb" \
        -v rs="$SECONDS_TAKEN" -v rc="$CPU_SECONDS" -v rm="$PEAK_MB" 'BEGIN {
        printf "%-12s %d frames: vantoshow %.1f fps (%.2f ms CPU a frame, peak %d MB), ", n, f, f / os, 1000 * oc / f, om
        printf "ffmpeg %.1f fps (%.2f ms CPU a frame, peak %d MB); ratio %.2f, memory +%d MB\n", f / rs, 1000 * rc / f, rm, rs / os, om - rm
    }'
}

echo "Preparing the inputs in $INPUTS ..."
make_pictures
echo "$(nproc) cores, load before: $(cut -d' ' -f1-3 /proc/loadavg); $COUNT pictures"
run_case 1080p50 'VideoType=4\nVideoFormat=mp4-1080p\nVideoRate=50\n' 1920x1080 50 100
run_case 1080x1920 'VideoType=4\nVideoFormat=mp4-1080p\nVideoShape=9:16\n' 1080x1920 25 50
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
