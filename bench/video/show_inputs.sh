# The benchmark show's inputs, shared by the build benchmarks (sourced):
# 40 photo-like JPEG pictures of 2 to 24 megapixels and 95 s of MP3 music in
# $INPUTS, made once with ffmpeg and reused, and write_project, which lists
# them in a project under $WORK; build_program makes $PROGRAM (Release, in
# $BUILD) when it is not there; measure and video_frames time a run and count
# a file's frames.

build_program() {
    [ -x "$PROGRAM" ] && return
    echo "Building vantoshow (Release) in $BUILD ..."
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTO_BUILD_TESTS=OFF \
        >/dev/null
    cmake --build "$BUILD" --target vantoshow >/dev/null
}

# Photo-like pictures: a generated scene scaled up with grain, so the JPEG
# data is as dense as a camera's. Sizes run evenly from 2 to 24 megapixels,
# landscape 4:3 and 3:2 and some portrait.
make_pictures() {
    mkdir -p "$INPUTS"
    local sources=("mandelbrot=size=640x480:start_scale=1.5:end_scale=0.8"
        "gradients=size=640x480:nb_colors=5:seed=3"
        "cellauto=size=320x240:rule=110:random_fill_ratio=0.4:seed=9,scale=640:480:flags=neighbor"
        "life=size=320x240:mold=10:ratio=0.4:seed=5:life_color=#e9c46a:death_color=#264653:mold_color=#2a9d8f,scale=640:480"
        "testsrc2=size=640x480")
    local i
    for i in $(seq 0 39); do
        local file
        file=$(printf '%s/photo%02d.jpg' "$INPUTS" "$i")
        [ -f "$file" ] && continue
        local pixels=$((2000000 + 22000000 * i / 39))
        local w h
        case $((i % 4)) in
            0 | 2) w=$(awk -v p="$pixels" 'BEGIN { printf "%d", sqrt(p * 4 / 3) / 8 * 8 }')
                   h=$((w * 3 / 4)) ;;
            1) w=$(awk -v p="$pixels" 'BEGIN { printf "%d", sqrt(p * 3 / 2) / 8 * 8 }')
               h=$((w * 2 / 3)) ;;
            3) h=$(awk -v p="$pixels" 'BEGIN { printf "%d", sqrt(p * 4 / 3) / 8 * 8 }')
               w=$((h * 3 / 4)) ;;
        esac
        ffmpeg -nostdin -v error -y -f lavfi -i "${sources[$((i % 5))]}" -frames:v 1 \
            -vf "scale=$w:$h:flags=bicubic,noise=alls=14:allf=u,format=yuvj420p" -q:v 3 "$file"
    done
    if [ ! -f "$INPUTS/music.mp3" ]; then
        local melody='0.3*sin(2*PI*t*220*pow(2,(2*floor(mod(t*3,6))+7*floor(mod(t/4,2)))/12))*(0.6+0.4*exp(-4*mod(t,1/3)))'
        ffmpeg -nostdin -v error -y -f lavfi -i "aevalsrc='$melody|$melody':s=44100:d=95" \
            -c:a libmp3lame -b:a 192k "$INPUTS/music.mp3"
    fi
}

# A project of COUNT pictures (the 40 photos over and over), interval 2 s,
# speed 4, PAL, the music, in the given format keys (FORMAT_KEYS, else DVD).
write_project() {  # count file [format keys]
    local dvd_keys='VideoType=2\n'
    local count=$1 file=$2 keys=${3:-${FORMAT_KEYS:-$dvd_keys}} i
    {
        printf '[Set]\n%bTVSet=0\nMusicSync=0\nImageInterval=2\nEffectSpeed2=4\n' "$keys"
        printf 'PlayMusic=1\nShowCaption=0\nBack_Mode_UseColor=1\n[Pictures]\n'
        for i in $(seq 0 $((count - 1))); do
            local link
            link=$(printf '%s/show%03d.jpg' "$WORK" "$i")
            ln -sf "$(printf '%s/photo%02d.jpg' "$INPUTS" $((i % 40)))" "$link"
            printf '%s=1\n' "$link"
        done
        printf '[Music]\n%s=1\n[Mp3Length]\n%s=95000\n' "$INPUTS/music.mp3" "$INPUTS/music.mp3"
    } >"$file"
}

# Runs a command under /usr/bin/time; sets SECONDS_TAKEN (wall), CPU_SECONDS
# (user + system) and PEAK_MB.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$WORK/time.txt" "$@" >/dev/null 2>"$WORK/stderr" ||
        { cat "$WORK/stderr" >&2; return 1; }
    read -r SECONDS_TAKEN user system peak_kb <"$WORK/time.txt"
    CPU_SECONDS=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
    PEAK_MB=$((peak_kb / 1024))
}

video_frames() {  # file
    ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets \
        -of default=noprint_wrappers=1:nokey=1 "$1"
}

