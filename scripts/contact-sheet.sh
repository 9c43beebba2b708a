#!/usr/bin/env bash
# Redraws docs/transition-sheet.png: every transition at one progress, from
# the first sample picture to the second. Without the sample pictures it
# makes two stand-ins with ffmpeg's generated sources (a landscape at dusk and
# a coloured gradient with two blocks).
#   scripts/contact-sheet.sh [PROGRESS] [OUTPUT]
set -euo pipefail
VANTO_ROOT=${VANTO_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
progress=${1:-50}
output=${2:-$VANTO_ROOT/docs/transition-sheet.png}
program=${VANTO_PROGRAM:-$VANTO_ROOT/build/bin/vantoshow}

from=$VANTO_ROOT/data/sample/t1.jpg
to=$VANTO_ROOT/data/sample/t2.jpg
if [ ! -f "$from" ] || [ ! -f "$to" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    from=$work/landscape.jpg
    to=$work/gradient.jpg
    hills='(430+45*sin(X/110)+18*sin(X/37+1))'
    sun='lt(hypot(X-690,Y-250),62)'
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i "nullsrc=s=1024x768,format=rgb24" \
        -vf "geq=r='if(gt(Y,$hills),25+40*(768-Y)/340,if($sun,255,40+200*Y/450))':g='if(gt(Y,$hills),70+70*(768-Y)/340+12*sin(X/9)*sin(Y/7),if($sun,225,50+110*Y/450))':b='if(gt(Y,$hills),30+20*(768-Y)/340,if($sun,150,120+60*(450-Y)/450))',gblur=sigma=0.8" \
        -frames:v 1 -q:v 3 "$from"
    ffmpeg -hide_banner -loglevel error -y -f lavfi \
        -i "gradients=s=900x600:c0=0x1e3c72:c1=0xff7e5f:c2=0xfeb47b:c3=0x2a5298:n=4:x0=0:y0=0:x1=900:y1=600:seed=7" \
        -vf "drawbox=x=90:y=380:w=250:h=160:color=0x203040@0.9:t=fill,drawbox=x=580:y=120:w=180:h=180:color=0xfff3c0@0.8:t=fill,vignette" \
        -frames:v 1 -q:v 3 "$to"
fi
"$program" render-transition --sheet --progress "$progress" --from "$from" --to "$to" -o "$output"
echo "Wrote $output"
