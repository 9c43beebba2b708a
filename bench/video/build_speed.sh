#!/usr/bin/env bash
# Speed and memory of a whole build with the headless command, against the
# ffmpeg program: the benchmark show (40 photos of 2 to 24 megapixels,
# interval 2 s, speed 4, 95 s of MP3, DVD PAL), an ffmpeg slideshow of the
# same pictures (each fitted, a 1 s crossfade, DVD settings), ffmpeg encoding
# pre-rendered frames of the same size with the same settings, and a show of
# 200 pictures for memory. Prints frame rates, peak memory and the ratios.
#
#   bench/video/build_speed.sh
#
# The machine may be busy with other work: our build and ffmpeg's encode of
# pre-rendered frames take turns RUNS times (3) and the best of each counts;
# the CPU time per frame is shown too, which load does not change.
#
# Inputs are generated once into build-bench/show-inputs/ (about 200 MB) and
# reused. Builds vantoshow into build-bench/ (Release) when it is not there.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${VANTO_BENCH_BUILD:-$ROOT/build-bench}
PROGRAM=$BUILD/bin/vantoshow
INPUTS=$BUILD/show-inputs
PRERENDERED_FRAMES=${PRERENDERED_FRAMES:-1250}
RUNS=${RUNS:-3}

source "$ROOT/bench/video/show_inputs.sh"
build_program

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# --- measuring --------------------------------------------------------------
# Runs a command under /usr/bin/time; sets SECONDS_TAKEN (wall), CPU_SECONDS
# (user + system) and PEAK_MB.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$WORK/time.txt" "$@" >/dev/null 2>"$WORK/stderr" ||
        { cat "$WORK/stderr" >&2; return 1; }
    read -r SECONDS_TAKEN user system peak_kb <"$WORK/time.txt"
    CPU_SECONDS=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
    PEAK_MB=$((peak_kb / 1024))
}

# Best (shortest) of several measurements: BEST_S, BEST_CPU, BEST_MB.
keep_best() {
    if [ -z "${BEST_S:-}" ] || awk -v a="$SECONDS_TAKEN" -v b="$BEST_S" 'BEGIN { exit !(a < b) }'
    then
        BEST_S=$SECONDS_TAKEN BEST_CPU=$CPU_SECONDS
    fi
    BEST_MB=$(( ${BEST_MB:-0} > PEAK_MB ? ${BEST_MB:-0} : PEAK_MB ))
}

video_frames() {  # file
    ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
        -of default=noprint_wrappers=1:nokey=1 "$1"
}

cpu_ms() { awk -v c="$1" -v f="$2" 'BEGIN { printf "%.2f", 1000 * c / f }'; }

fps() { awk -v f="$1" -v s="$2" 'BEGIN { printf "%.1f", f / s }'; }

# The DVD settings of the encoder's DVD PAL preset, for the ffmpeg runs.
DVD_SETTINGS=(-c:v mpeg2video -s 720x576 -aspect 4:3 -g 15 -bf 2 -b:v 6000000 -maxrate 9000000
    -minrate 0 -bufsize 1835008 -pix_fmt yuv420p -c:a ac3 -b:a 224000 -ar 48000 -ac 2
    -f dvd -muxrate 10080000 -packetsize 2048 -muxpreload 0.5 -muxdelay 0.7)

echo "Preparing the inputs in $INPUTS ..."
make_pictures
echo "$(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"

# 1. The benchmark show with the headless command, and 2. ffmpeg encoding
# pre-rendered frames (the first frames of our show as raw 24-bit pictures,
# what the build hands its encoder, with the music), taking turns. The raw
# frames are read over and over up to the show's frame count, so that both
# runs last about as long and meet the same load.
write_project 40 "$WORK/show40.dvprj"
"$PROGRAM" build "$WORK/show40.dvprj" -o "$WORK/show40.mpg" 2>/dev/null
show_frames=$(video_frames "$WORK/show40.mpg")
ffmpeg -nostdin -v error -y -i "$WORK/show40.mpg" -frames:v "$PRERENDERED_FRAMES" \
    -f rawvideo -pix_fmt bgr24 "$WORK/frames.raw"
cat "$WORK/frames.raw" >/dev/null  # into the page cache, so the disk does not count
loops=$(((show_frames + PRERENDERED_FRAMES - 1) / PRERENDERED_FRAMES - 1))
ours=() raw=()
for _ in $(seq "$RUNS"); do
    measure "$PROGRAM" build "$WORK/show40.dvprj" -o "$WORK/show40.mpg"
    ours+=("$SECONDS_TAKEN $CPU_SECONDS $PEAK_MB")
    measure ffmpeg -nostdin -v error -y -stream_loop "$loops" -f rawvideo -pix_fmt bgr24 \
        -video_size 720x576 -framerate 25 -i "$WORK/frames.raw" -i "$INPUTS/music.mp3" \
        -map 0:v -map 1:a -frames:v "$show_frames" "${DVD_SETTINGS[@]}" "$WORK/ffmpeg-raw.mpg"
    raw+=("$SECONDS_TAKEN $CPU_SECONDS $PEAK_MB")
done
rm -f "$WORK/frames.raw"
unset BEST_S BEST_MB
for m in "${ours[@]}"; do read -r SECONDS_TAKEN CPU_SECONDS PEAK_MB <<<"$m"; keep_best; done
ours_s=$BEST_S ours_cpu=$BEST_CPU ours_mb=$BEST_MB
unset BEST_S BEST_MB
for m in "${raw[@]}"; do read -r SECONDS_TAKEN CPU_SECONDS PEAK_MB <<<"$m"; keep_best; done
raw_s=$BEST_S raw_cpu=$BEST_CPU raw_mb=$BEST_MB
ours_frames=$(video_frames "$WORK/show40.mpg")
raw_frames=$(video_frames "$WORK/ffmpeg-raw.mpg")
echo "vantoshow, 40 pictures:  $ours_frames frames in ${ours_s} s = $(fps "$ours_frames" "$ours_s") fps," \
    "$(cpu_ms "$ours_cpu" "$ours_frames") ms CPU a frame, peak ${ours_mb} MB (best of $RUNS)"
echo "ffmpeg pre-rendered:     $raw_frames frames in ${raw_s} s = $(fps "$raw_frames" "$raw_s") fps," \
    "$(cpu_ms "$raw_cpu" "$raw_frames") ms CPU a frame, peak ${raw_mb} MB (best of $RUNS)"

# 3. The ffmpeg slideshow: every picture 5 s, a 1 s crossfade into the next.
# It decodes every picture for every frame, so it runs once.
inputs=() chain="" last="[v0]"
for i in $(seq 0 39); do
    inputs+=(-loop 1 -framerate 25 -t 5 -i "$(printf '%s/photo%02d.jpg' "$INPUTS" "$i")")
    chain+="[$i:v]scale=720:576:force_original_aspect_ratio=decrease,pad=720:576:(ow-iw)/2:(oh-ih)/2,setsar=16/15,format=yuv420p[v$i];"
done
for i in $(seq 1 39); do
    chain+="$last[v$i]xfade=transition=fade:duration=1:offset=$((i * 4))[x$i];"
    last="[x$i]"
done
measure ffmpeg -nostdin -v error -y "${inputs[@]}" -i "$INPUTS/music.mp3" \
    -filter_complex "${chain%;}" -map "$last" -map 40:a "${DVD_SETTINGS[@]}" "$WORK/ffmpeg-show.mpg"
slide_frames=$(video_frames "$WORK/ffmpeg-show.mpg")
slide_s=$SECONDS_TAKEN slide_mb=$PEAK_MB
echo "ffmpeg slideshow:        $slide_frames frames in ${slide_s} s = $(fps "$slide_frames" "$slide_s") fps," \
    "$(cpu_ms "$CPU_SECONDS" "$slide_frames") ms CPU a frame, peak ${slide_mb} MB"

# 4. Memory with 200 pictures.
write_project 200 "$WORK/show200.dvprj"
measure "$PROGRAM" build "$WORK/show200.dvprj" -o "$WORK/show200.mpg"
big_frames=$(video_frames "$WORK/show200.mpg")
big_s=$SECONDS_TAKEN big_mb=$PEAK_MB
echo "vantoshow, 200 pictures: $big_frames frames in ${big_s} s = $(fps "$big_frames" "$big_s") fps," \
    "$(cpu_ms "$CPU_SECONDS" "$big_frames") ms CPU a frame, peak ${big_mb} MB"

echo
awk -v of="$ours_frames" -v os="$ours_s" -v sf="$slide_frames" -v ss="$slide_s" \
    -v rf="$raw_frames" -v rs="$raw_s" -v om="$ours_mb" -v bm="$big_mb" -v sm="$slide_mb" \
    -v oc="$ours_cpu" -v rc="$raw_cpu" 'BEGIN {
    ours = of / os; slide = sf / ss; raw = rf / rs
    printf "frame rate / ffmpeg slideshow:    %.2f  (target at least 2.5)\n", ours / slide
    printf "frame rate / ffmpeg pre-rendered: %.2f  (target at least 0.80)\n", ours / raw
    printf "CPU a frame, ffmpeg pre-rendered / ours: %.2f\n", (rc / rf) / (oc / of)
    printf "peak memory, 40 pictures:         %d MB (target under 150; ffmpeg slideshow %d MB)\n", om, sm
    printf "peak memory, 200 / 40 pictures:   %.2f  (target at most 1.10)\n", bm / om
}'
