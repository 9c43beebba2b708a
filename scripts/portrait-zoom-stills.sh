#!/usr/bin/env bash
# Redraws docs/motion/portrait-*.jpg, the README's zoom on a portrait: Grace
# Hopper's public-domain portrait (python-matplotlib-data) alone in an MP4
# 720p show, zoom in at strength 4, its first frame after the transition and
# its last, drawn by `vantoshow frame`:
#   before  the crop through the middle, as every picture moved before faces
#           were looked for (the picture's subject cached as found empty),
#   fill    the crop placed around the face, the zoom ending on it,
#   whole   the whole picture on its blurred fill, the zoom ending on the face
#           (what Auto chooses for this picture).
#   scripts/portrait-zoom-stills.sh [OUTPUT-FOLDER]
set -euo pipefail
VANTO_ROOT=${VANTO_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
output=${1:-$VANTO_ROOT/docs/motion}
program=${VANTO_PROGRAM:-$VANTO_ROOT/build/bin/vantoshow}
portrait=/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg
[ -f "$portrait" ] || { echo "$portrait is missing: install python-matplotlib-data" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A picture of 5 s after the shortest transition (10 frames at 25 a second):
# the first frame that shows it whole is frame 11, the last is frame 134.
printf '[Set]\nImageInterval=5\nEffectSpeed2=1\nPlayMusic=0\nShowCaption=0\n[Pictures]\n%s=1\n' \
    "$portrait" >"$work/show.dvprj"
first=0.44 last=5.36

still() {  # name time fit
    XDG_CACHE_HOME=$work/cache "$program" frame "$work/show.dvprj" --at "$2" \
        -o "$work/$1.png" --format mp4-720p --fps 25 --motion zoom-in:4 --motion-fit "$3" \
        --background blur >/dev/null
    ffmpeg -hide_banner -loglevel error -y -i "$work/$1.png" -vf scale=480:270:flags=area \
        -q:v 4 "$output/$1.jpg"
}

mkdir -p "$output"
for fit in fill whole; do
    still "portrait-$fit-first" "$first" "$fit"
    still "portrait-$fit-last" "$last" "$fit"
done
# The same picture as a subject search that found nothing leaves it: the
# motion of a picture without a subject is the centred one of old.
for cached in "$work"/cache/*/subjects/*; do
    printf 'vanto-subject 1\nend\n' >"$cached"
done
still portrait-before-first "$first" fill
still portrait-before-last "$last" fill
