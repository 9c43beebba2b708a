#!/usr/bin/env bash
# Checks the Debian package as its consumers read it: makes it from a built
# tree (CPack; nothing is compiled when the tree is up to date), unpacks it
# into a temporary root, runs the program from there and builds the sample
# show with its installed data, and has lintian, appstreamcli and man read
# their parts. The manual page must list the options --help prints.
#
#   scripts/check-package.sh BUILD_DIR [PACKAGE.deb]
set -euo pipefail
build_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

deb=${2:-}
if [ -z "$deb" ]; then
    cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; exit 1; }
    deb=$(echo "$work"/out/vantoshow_*.deb)
fi
[ -f "$deb" ] || { echo "no package: $deb" >&2; exit 1; }
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
version=$(dpkg-deb -f "$deb" Version)

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/vantoshow
program_dir=$root/usr/lib/vantoshow
for file in "$program_dir/vantoshow" "$program_dir/libmpegdll.so" "$program_dir/VantoSaver.001" \
    "$program_dir/help/manual.md" "$program_dir/sample/sample.dvprj" \
    "$program_dir/background/linen.jpg" "$root/usr/share/applications/vantoshow.desktop" \
    "$root/usr/share/mime/packages/vantoshow.xml" "$root/usr/share/man/man1/vantoshow.1.gz" \
    "$root/usr/share/icons/hicolor/scalable/apps/vantoshow.svg"; do
    [ -f "$file" ] || fail "the package lacks ${file#"$root"}"
done
for size in 48 64 128 256; do
    [ -f "$root/usr/share/icons/hicolor/${size}x$size/apps/vantoshow.png" ] ||
        fail "the package lacks the ${size}px icon"
done

# The program from the unpacked root, with a home of its own: it must find its
# data there and write only to the XDG folders.
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CACHE_HOME=$work/home/cache
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
listing() { (cd "$root" && find . -printf '%p %s %T@\n' | sort); }
listing >"$work/before"

[ "$("$program" --version)" = "vantoshow $version" ] ||
    fail "vantoshow --version says '$("$program" --version)', the package is $version"
if "$program" build "$program_dir/sample/sample.dvprj" -o "$work/sample.mpg" --format vcd \
    >"$work/build.log" 2>&1; then
    [ -s "$work/sample.mpg" ] || fail "the sample show's video is empty"
else
    cat "$work/build.log" >&2
    fail "building the sample show from the unpacked package failed"
fi
listing >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the program wrote in its installed folders"

# The manual page, as man shows it, lists each command and the options its
# --help prints, no more and no fewer.
options() { grep -oE '(^|[][ |(])--?[a-z][a-z0-9-]*' | grep -oE -- '--?[a-z][a-z0-9-]*' | sort -u; }
LC_ALL=C MANWIDTH=80 man -l "$root/usr/share/man/man1/vantoshow.1.gz" 2>"$work/man.err" |
    col -bx >"$work/man.txt"
[ -s "$work/man.err" ] && { cat "$work/man.err" >&2; fail "man warns about the page"; }
grep -q '^EXIT STATUS' "$work/man.txt" || fail "the manual page does not render"
commands=$("$program" --help | awk '/^Commands:/ {on = 1; next} on && NF == 0 {exit} on {print $1}')
man_commands=$(grep -oE '^   vantoshow [a-z-]+' "$work/man.txt" | awk '{print $2}')
[ "$commands" = "$man_commands" ] ||
    fail "commands: --help lists '$(echo $commands)', the manual page '$(echo $man_commands)'"
# A command's section runs from its heading to the next heading.
section() { awk -v head="   vantoshow $1 " 'index($0, head) == 1 {on = 1; print; next}
    on && (/^[A-Z]/ || /^   vantoshow /) {exit} on' "$work/man.txt"; }
for command in $commands; do
    in_help=$("$program" "$command" --help | options)
    in_man=$(section "$command" | options)
    [ "$in_help" = "$in_man" ] ||
        fail "$command: --help and the manual page differ:
$(diff <(echo "$in_help") <(echo "$in_man") | grep '^[<>]' | sed 's/^</  help only:/; s/^>/  manual only:/')"
done
top_help=$("$program" --help | awk '/^Options:/ {on = 1} on' | options)
top_man=$(awk '/^OPTIONS/ {on = 1; next} on && /^[A-Z]/ {exit} on' "$work/man.txt" | options)
[ "$top_help" = "$top_man" ] || fail "the manual page's OPTIONS differ from --help's"

# The software centres' metadata: valid without a warning, and its newest
# release is the program's version.
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metadata names no release $version"

# lintian: no errors; what it warns about is shown.
lintian --fail-on error "$deb" | tee "$work/lintian.log" ||
    fail "lintian reports errors"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "the package passed"
