#!/usr/bin/env bash
# Writes the fuzz targets' seed corpora into a folder (fuzz/seeds by
# default, where the small result is kept): tiny pictures and sounds made by
# the ffmpeg program, and hand-written texts. Targets that serve several
# formats read a leading byte that picks the format; it is prepended here.
set -euo pipefail
VANTO_ROOT=${VANTO_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
out=${1:-$VANTO_ROOT/fuzz/seeds}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
# seed TARGET NAME SELECTOR FILE: FILE prefixed by the byte SELECTOR.
seed() {
    mkdir -p "$out/$1"
    { printf "\\x$(printf %02x "$3")"; cat "$4"; } >"$out/$1/$2"
}

# Pictures: a 12 x 8 test card in each format we can write.
pic="testsrc=size=12x8:rate=1"
ff -f lavfi -i "$pic" -frames:v 1 "$work/a.jpg"
ff -f lavfi -i "$pic" -frames:v 1 -vf scale=12:8 -pix_fmt gray "$work/g.jpg"
for scale in 0 3 7; do seed fuzz_jpeg "card-$scale.jpg" $scale "$work/a.jpg"; done
seed fuzz_jpeg gray.jpg 1 "$work/g.jpg"

qt_formats=(png gif bmp tiff webp ico cur pbm pgm ppm xpm xbm)
for index in "${!qt_formats[@]}"; do
    format=${qt_formats[$index]}
    case $format in
    cur) continue ;;
    xpm) printf '/* XPM */\nstatic char *c[] = {\n"2 2 2 1",\n"a c #ff0000",\n"b c None",\n"ab",\n"ba"};\n' >"$work/a.xpm" ;;
    png) ff -f lavfi -i "$pic" -frames:v 1 -pix_fmt rgba "$work/a.png" ;;
    pbm) ff -f lavfi -i "$pic" -frames:v 1 -pix_fmt monob "$work/a.pbm" ;;
    xbm) ff -f lavfi -i "$pic" -frames:v 1 -pix_fmt monow "$work/a.xbm" ;;
    ico) ff -f lavfi -i "$pic" -frames:v 1 -c:v bmp "$work/a.ico" ;;
    *) ff -f lavfi -i "$pic" -frames:v 1 "$work/a.$format" ;;
    esac
    seed fuzz_qt_pictures "card.$format" "$index" "$work/a.$format"
done

ffmpeg_formats=(pcx tga sgi psd pcd ras xwd)  # the order of RasterFormat
for index in "${!ffmpeg_formats[@]}"; do
    format=${ffmpeg_formats[$index]}
    case $format in
    psd | pcd) continue ;;  # no writer for these
    ras) ff -f lavfi -i "$pic" -frames:v 1 -c:v sunrast -f image2 "$work/a.ras" ;;
    *) ff -f lavfi -i "$pic" -frames:v 1 "$work/a.$format" ;;
    esac
    seed fuzz_ffmpeg_pictures "card.$format" "$index" "$work/a.$format"
    seed fuzz_picture_headers "card.$format" "$index" "$work/a.$format"
done

# Our own Photoshop and PCX readers, from ImageMagick: a layered document
# with its merged image run-length encoded, 16-bit, CMYK and greyscale ones,
# and PCX with three and four planes.
convert -size 12x8 gradient:red-blue "$work/g.png"
convert "$work/g.png" -alpha set -channel A -evaluate set 50% +channel "$work/ga.png"
convert "$work/g.png" "$work/g.png" "$work/ga.png" -type TrueColor -compress RLE "$work/layered.psd"
convert "$work/g.png" -depth 16 -compress RLE "$work/deep.psd"
convert "$work/g.png" -colorspace CMYK -compress None "$work/cmyk.psd"
convert "$work/g.png" -colorspace Gray -compress RLE "$work/grey.psd"
convert "$work/g.png" -type TrueColor "$work/rgb.pcx"
convert "$work/ga.png" "$work/rgba.pcx"
for name in layered deep cmyk grey; do seed fuzz_own_readers "$name.psd" 0 "$work/$name.psd"; done
for name in rgb rgba; do seed fuzz_own_readers "$name.pcx" 1 "$work/$name.pcx"; done

# Sounds: a tenth of a second of tone.
tone="sine=frequency=440:duration=0.1:sample_rate=22050"
mkdir -p "$out/fuzz_mp3" "$out/fuzz_audio"
ff -f lavfi -i "$tone" -c:a libmp3lame -b:a 32k "$out/fuzz_mp3/tone.mp3"
ff -f lavfi -i "$tone" -c:a libmp3lame -q:a 9 -write_xing 1 "$out/fuzz_mp3/vbr.mp3"
ff -f lavfi -i "$tone" -c:a mp2 -b:a 64k "$out/fuzz_mp3/layer2.mp2"
cp "$out/fuzz_mp3/tone.mp3" "$out/fuzz_audio/tone.mp3"
ff -f lavfi -i "$tone" -ac 1 -c:a pcm_s16le "$out/fuzz_audio/tone.wav"
ff -f lavfi -i "$tone" -ac 2 -c:a flac "$out/fuzz_audio/tone.flac"

# Texts: an options store, a project and a catalogue in the shapes the
# program writes them.
mkdir -p "$out/fuzz_ini" "$out/fuzz_project" "$out/fuzz_catalogue"
cat >"$out/fuzz_project/project.dvprj" <<'INI'
[Settings]
ImageSequence=2
Interval=5
useeffects=5,59,100,
"key = with spaces "=value
[Pictures]
1=/tmp/a.jpg
2=/tmp/b.png
[Music]
1=/tmp/a.mp3
[Mp3Length]
/tmp/a.mp3=183000
INI
cp "$out/fuzz_project/project.dvprj" "$out/fuzz_ini/options.ini"
printf '[A]\r\nx=1\r\n[a]\r\ny = 2 \r\n;comment\r\n=\r\n[' >"$out/fuzz_ini/edges.ini"
cat >"$out/fuzz_catalogue/catalogue.txt" <<'INI'
5,59,100,175,
[Wipes]
Wipe left=5
Wipe right=6
[Blinds]
Blinds=59
Odd=x
[Empty]
INI
echo "seeds written to $out"
