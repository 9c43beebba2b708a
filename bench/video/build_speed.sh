#!/usr/bin/env bash
# Speed and memory of a whole build with the headless command, against the
# ffmpeg program: the benchmark show (40 photos of 2 to 24 megapixels,
# interval 2 s, speed 4, 95 s of MP3, PAL) as DVD or as MP4 1080p 16:9, an
# ffmpeg slideshow of the same pictures (each fitted, a 1 s crossfade, the
# same encoder settings), ffmpeg encoding pre-rendered frames of the same size
# with the same settings, and a show of 200 pictures for memory. For MP4 also
# the x264 speed presets on the pre-rendered frames (speed and size, to choose
# the encoder's preset by) and the peak memory at 4K against ffmpeg's. Prints
# frame rates, peak memory and the ratios.
#
#   bench/video/build_speed.sh [dvd|mp4]
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
RUNS=${RUNS:-3}
FORMAT=${1:-dvd}
# Raw frames kept for ffmpeg's encode of pre-rendered frames, read over and
# over: 1250 at DVD size (1.5 GB), 60 at 1080p (370 MB).
PRERENDERED_FRAMES=${PRERENDERED_FRAMES:-$([ "$FORMAT" = mp4 ] && echo 60 || echo 1250)}

source "$ROOT/bench/video/show_inputs.sh"
build_program

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# --- measuring (measure and video_frames: show_inputs.sh) ----------------

# Best (shortest) of several measurements: BEST_S, BEST_CPU, BEST_MB.
keep_best() {
    if [ -z "${BEST_S:-}" ] || awk -v a="$SECONDS_TAKEN" -v b="$BEST_S" 'BEGIN { exit !(a < b) }'
    then
        BEST_S=$SECONDS_TAKEN BEST_CPU=$CPU_SECONDS
    fi
    BEST_MB=$(( ${BEST_MB:-0} > PEAK_MB ? ${BEST_MB:-0} : PEAK_MB ))
}

cpu_ms() { awk -v c="$1" -v f="$2" 'BEGIN { printf "%.2f", 1000 * c / f }'; }

fps() { awk -v f="$1" -v s="$2" 'BEGIN { printf "%.1f", f / s }'; }

# The settings of the encoder's preset of the format, for the ffmpeg runs:
# size, project keys, output extension, the slideshow's pixel aspect.
X264_PRESET=veryfast  # as kX264Preset in src/video/EncoderPresets.cpp
h264_settings() {  # x264-preset [cap]: MP4 PAL, Standard quality, 1080p's cap unless given
    local cap=${2:-8000000}
    echo -c:v libx264 -preset "$1" -profile:v high -crf 23 -maxrate "$cap" -bufsize $((2 * cap)) \
        -g 50 -bf 3 -pix_fmt yuv420p -color_primaries bt709 -color_trc bt709 -colorspace bt709 \
        -c:a aac -b:a 192000 -ar 48000 -ac 2 -movflags +faststart -f mp4
}
case $FORMAT in
    dvd)
        SETTINGS=(-c:v mpeg2video -s 720x576 -aspect 4:3 -g 15 -bf 2 -b:v 6000000 -maxrate 9000000
            -minrate 0 -bufsize 1835008 -pix_fmt yuv420p -c:a ac3 -b:a 224000 -ar 48000 -ac 2
            -f dvd -muxrate 10080000 -packetsize 2048 -muxpreload 0.5 -muxdelay 0.7)
        WIDTH=720 HEIGHT=576 EXT=mpg SAR=16/15 FORMAT_KEYS='VideoType=2\n' ;;
    mp4)
        read -r -a SETTINGS <<<"$(h264_settings "$X264_PRESET")"
        WIDTH=1920 HEIGHT=1080 EXT=mp4 SAR=1 FORMAT_KEYS='VideoType=4\nVideoFormat=mp4-1080p\n' ;;
    *) echo "usage: $0 [dvd|mp4]" >&2; exit 2 ;;
esac

echo "Preparing the inputs in $INPUTS ..."
make_pictures
echo "$(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)"

# 1. The benchmark show with the headless command, and 2. ffmpeg encoding
# pre-rendered frames (the first frames of our show as raw 24-bit pictures,
# what the build hands its encoder, with the music), taking turns. The raw
# frames are read over and over up to the show's frame count, so that both
# runs last about as long and meet the same load.
write_project 40 "$WORK/show40.dvprj"
"$PROGRAM" build "$WORK/show40.dvprj" -o "$WORK/show40.$EXT" 2>/dev/null
show_frames=$(video_frames "$WORK/show40.$EXT")
ffmpeg -nostdin -v error -y -i "$WORK/show40.$EXT" -frames:v "$PRERENDERED_FRAMES" \
    -f rawvideo -pix_fmt bgr24 "$WORK/frames.raw"
cat "$WORK/frames.raw" >/dev/null  # into the page cache, so the disk does not count
loops=$(((show_frames + PRERENDERED_FRAMES - 1) / PRERENDERED_FRAMES - 1))
ours=() raw=()
for _ in $(seq "$RUNS"); do
    measure "$PROGRAM" build "$WORK/show40.dvprj" -o "$WORK/show40.$EXT"
    ours+=("$SECONDS_TAKEN $CPU_SECONDS $PEAK_MB")
    measure ffmpeg -nostdin -v error -y -stream_loop "$loops" -f rawvideo -pix_fmt bgr24 \
        -video_size "${WIDTH}x$HEIGHT" -framerate 25 -i "$WORK/frames.raw" -i "$INPUTS/music.mp3" \
        -map 0:v -map 1:a -frames:v "$show_frames" "${SETTINGS[@]}" "$WORK/ffmpeg-raw.$EXT"
    raw+=("$SECONDS_TAKEN $CPU_SECONDS $PEAK_MB")
done
rm -f "$WORK/frames.raw"
unset BEST_S BEST_MB
for m in "${ours[@]}"; do read -r SECONDS_TAKEN CPU_SECONDS PEAK_MB <<<"$m"; keep_best; done
ours_s=$BEST_S ours_cpu=$BEST_CPU ours_mb=$BEST_MB
unset BEST_S BEST_MB
for m in "${raw[@]}"; do read -r SECONDS_TAKEN CPU_SECONDS PEAK_MB <<<"$m"; keep_best; done
raw_s=$BEST_S raw_cpu=$BEST_CPU raw_mb=$BEST_MB
ours_frames=$(video_frames "$WORK/show40.$EXT")
raw_frames=$(video_frames "$WORK/ffmpeg-raw.$EXT")
echo "vantoshow, 40 pictures:  $ours_frames frames in ${ours_s} s = $(fps "$ours_frames" "$ours_s") fps," \
    "$(cpu_ms "$ours_cpu" "$ours_frames") ms CPU a frame, peak ${ours_mb} MB (best of $RUNS)"
echo "ffmpeg pre-rendered:     $raw_frames frames in ${raw_s} s = $(fps "$raw_frames" "$raw_s") fps," \
    "$(cpu_ms "$raw_cpu" "$raw_frames") ms CPU a frame, peak ${raw_mb} MB (best of $RUNS)"

# 3. The ffmpeg slideshow: every picture 5 s, a 1 s crossfade into the next.
# It decodes every picture for every frame, so it runs once.
inputs=() chain="" last="[v0]"
for i in $(seq 0 39); do
    inputs+=(-loop 1 -framerate 25 -t 5 -i "$(printf '%s/photo%02d.jpg' "$INPUTS" "$i")")
    chain+="[$i:v]scale=$WIDTH:$HEIGHT:force_original_aspect_ratio=decrease,pad=$WIDTH:$HEIGHT:(ow-iw)/2:(oh-ih)/2,setsar=$SAR,format=yuv420p[v$i];"
done
for i in $(seq 1 39); do
    chain+="$last[v$i]xfade=transition=fade:duration=1:offset=$((i * 4))[x$i];"
    last="[x$i]"
done
measure ffmpeg -nostdin -v error -y "${inputs[@]}" -i "$INPUTS/music.mp3" \
    -filter_complex "${chain%;}" -map "$last" -map 40:a "${SETTINGS[@]}" "$WORK/ffmpeg-show.$EXT"
slide_frames=$(video_frames "$WORK/ffmpeg-show.$EXT")
slide_s=$SECONDS_TAKEN slide_mb=$PEAK_MB
echo "ffmpeg slideshow:        $slide_frames frames in ${slide_s} s = $(fps "$slide_frames" "$slide_s") fps," \
    "$(cpu_ms "$CPU_SECONDS" "$slide_frames") ms CPU a frame, peak ${slide_mb} MB"

# 4. Memory with 200 pictures. BIG_SHOW_SECONDS=N stops that build after N
# seconds (as Ctrl-C does) on a slow machine: the show's lists are made before
# the first frame, so the peak is reached early; only the memory is shown then.
write_project 200 "$WORK/show200.dvprj"
if [ -n "${BIG_SHOW_SECONDS:-}" ]; then
    /usr/bin/time -f '%M' -o "$WORK/time.txt" timeout -s INT "$BIG_SHOW_SECONDS" \
        "$PROGRAM" build "$WORK/show200.dvprj" -o "$WORK/show200.$EXT" >/dev/null 2>&1 || true
    big_mb=$(($(tail -1 "$WORK/time.txt") / 1024))
    echo "vantoshow, 200 pictures: stopped after $BIG_SHOW_SECONDS s, peak ${big_mb} MB"
else
    measure "$PROGRAM" build "$WORK/show200.dvprj" -o "$WORK/show200.$EXT"
    big_frames=$(video_frames "$WORK/show200.$EXT")
    big_s=$SECONDS_TAKEN big_mb=$PEAK_MB
    echo "vantoshow, 200 pictures: $big_frames frames in ${big_s} s = $(fps "$big_frames" "$big_s") fps," \
        "$(cpu_ms "$CPU_SECONDS" "$big_frames") ms CPU a frame, peak ${big_mb} MB"
fi

# 5. MP4: the x264 speed presets on the same pre-rendered frames (the
# encoder's own is chosen from these), and peak memory at 4K against ffmpeg
# encoding pre-rendered 4K frames of a short show (memory does not grow with
# the show's length).
if [ "$FORMAT" = mp4 ]; then
    ffmpeg -nostdin -v error -y -i "$WORK/show40.$EXT" -frames:v "$PRERENDERED_FRAMES" \
        -f rawvideo -pix_fmt bgr24 "$WORK/frames.raw"
    survey_frames=${SURVEY_FRAMES:-500}
    for preset in ultrafast superfast veryfast faster fast; do
        read -r -a survey <<<"$(h264_settings "$preset")"
        measure ffmpeg -nostdin -v error -y -stream_loop -1 -f rawvideo -pix_fmt bgr24 \
            -video_size "${WIDTH}x$HEIGHT" -framerate 25 -i "$WORK/frames.raw" \
            -i "$INPUTS/music.mp3" -map 0:v -map 1:a -frames:v "$survey_frames" "${survey[@]}" \
            "$WORK/preset.mp4"
        printf 'x264 preset %-10s %6.1f fps, %5.2f ms CPU a frame, %6.2f MB, peak %d MB\n' \
            "$preset" "$(fps "$survey_frames" "$SECONDS_TAKEN")" \
            "$(cpu_ms "$CPU_SECONDS" "$survey_frames")" \
            "$(awk -v b="$(stat -c %s "$WORK/preset.mp4")" 'BEGIN { print b / 1e6 }')" "$PEAK_MB"
    done
    rm -f "$WORK/frames.raw" "$WORK/preset.mp4"

    write_project 5 "$WORK/show4k.dvprj" 'VideoType=5\nVideoFormat=mp4-4k\n'
    sed -i 's/^ImageInterval=2/ImageInterval=1/' "$WORK/show4k.dvprj"
    measure "$PROGRAM" build "$WORK/show4k.dvprj" -o "$WORK/show4k.mp4"
    k4_frames=$(video_frames "$WORK/show4k.mp4") k4_s=$SECONDS_TAKEN k4_mb=$PEAK_MB
    ffmpeg -nostdin -v error -y -i "$WORK/show4k.mp4" -frames:v 10 -f rawvideo -pix_fmt bgr24 \
        "$WORK/frames4k.raw"
    read -r -a settings4k <<<"$(h264_settings "$X264_PRESET" 24000000)"
    measure ffmpeg -nostdin -v error -y -stream_loop -1 -f rawvideo -pix_fmt bgr24 \
        -video_size 3840x2160 -framerate 25 -i "$WORK/frames4k.raw" -i "$INPUTS/music.mp3" \
        -map 0:v -map 1:a -frames:v "$k4_frames" "${settings4k[@]}" "$WORK/ffmpeg-4k.mp4"
    raw4k_s=$SECONDS_TAKEN raw4k_mb=$PEAK_MB
    rm -f "$WORK/frames4k.raw"
    echo "vantoshow, 4K, 5 pictures: $k4_frames frames in ${k4_s} s = $(fps "$k4_frames" "$k4_s") fps, peak ${k4_mb} MB"
    echo "ffmpeg pre-rendered 4K:    $k4_frames frames in ${raw4k_s} s = $(fps "$k4_frames" "$raw4k_s") fps, peak ${raw4k_mb} MB"
fi

echo
awk -v of="$ours_frames" -v os="$ours_s" -v sf="$slide_frames" -v ss="$slide_s" \
    -v rf="$raw_frames" -v rs="$raw_s" -v om="$ours_mb" -v bm="$big_mb" -v sm="$slide_mb" \
    -v oc="$ours_cpu" -v rc="$raw_cpu" -v rm="$raw_mb" -v format="$FORMAT" \
    -v k4="${k4_mb:-0}" -v r4="${raw4k_mb:-0}" 'BEGIN {
    ours = of / os; slide = sf / ss; raw = rf / rs
    mp4 = format == "mp4"
    printf "frame rate / ffmpeg slideshow:    %.2f  (target at least %s)\n", ours / slide, mp4 ? "1.7" : "2.5"
    printf "frame rate / ffmpeg pre-rendered: %.2f  (target at least %s)\n", ours / raw, mp4 ? "0.85" : "0.80"
    printf "CPU a frame, ffmpeg pre-rendered / ours: %.2f\n", (rc / rf) / (oc / of)
    if (mp4) {
        printf "peak memory above ffmpeg pre-rendered, 1080p: %d MB (target at most 120)\n", om - rm
        printf "peak memory above ffmpeg pre-rendered, 4K:    %d MB (target at most 120)\n", k4 - r4
    } else {
        printf "peak memory, 40 pictures:         %d MB (target under 150; ffmpeg slideshow %d MB)\n", om, sm
    }
    printf "peak memory, 200 / 40 pictures:   %.2f  (target at most 1.10)\n", bm / om
}'
