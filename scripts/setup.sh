# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not executed; expects VANTO_ROOT to be set.

# What building and running the program needs, and making its package
# (dpkg-shlibdeps, and file, which CPack sorts the binaries with). A name
# with "#" stands for the package of that name whose number is the highest
# the machine offers (libx264-164 on Debian 12), so the list outlives a
# release's library bumps.
VANTO_BUILD_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-image-formats-plugins
    libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
    'libx264-#'
    libmpg123-dev libsdl2-dev libebur128-dev libaubio-dev libexif-dev libpixman-1-dev libjpeg62-turbo-dev
    libheif-dev 'libde265-#' 'libdav1d#' libraw-dev
    libdlib-dev libopencv-contrib-dev
    fonts-dejavu-core fonts-droid-fallback libfontconfig-dev
    dvdauthor vcdimager genisoimage xorriso
    dpkg-dev file
)
# What ./test adds: the test and benchmark libraries, the tools the tests
# read results with, the virtual desktop, the sanitizer compiler (its
# runtime numbered as clang is) and the readers the package test runs.
VANTO_TEST_PACKAGES=(
    libgtest-dev libgmock-dev libbenchmark-dev
    libheif-examples imagemagick webp python3-skimage python-matplotlib-data opencv-data
    ffmpeg lsdvd xvfb xauth time openbox wmctrl
    clang 'libclang-rt-#-dev'
    lintian appstream man-db
)

# The newest package whose name is PATTERN with "#" as a number: one already
# installed first, else the highest apt offers; nothing when neither has one.
vanto_numbered_package() {
    local pattern=$1
    local regex="^${pattern/\#/[0-9]+}\$"
    local prefix=${pattern%%#*}
    if [ "$pattern" = 'libclang-rt-#-dev' ]; then
        # The runtime must be the one of the clang that is installed.
        local clang
        clang=$(readlink -f "$(command -v clang 2>/dev/null || echo /nonexistent)" | grep -oE '[0-9]+$')
        [ -z "$clang" ] && clang=$(apt-cache depends clang 2>/dev/null | grep -oE 'clang-[0-9]+$' | head -1 | cut -d- -f2)
        [ -n "$clang" ] && { echo "libclang-rt-$clang-dev"; return; }
    fi
    { dpkg-query -W -f='${Package} ${Status}\n' "${prefix}*" 2>/dev/null |
          awk '$NF == "installed" {print $1}' | grep -E "$regex" ||
          apt-cache pkgnames "$prefix" 2>/dev/null | grep -E "$regex"; } | sort -V | tail -1
}

vanto_sudo() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Not root and sudo is not available: $*" >&2
        return 1
    fi
}

# vanto_install_packages [test]: the build and run packages, with "test" the
# test tools too.
vanto_install_packages() {
    local wanted=("${VANTO_BUILD_PACKAGES[@]}")
    [ "${1:-}" = test ] && wanted+=("${VANTO_TEST_PACKAGES[@]}")
    export DEBIAN_FRONTEND=noninteractive
    local missing=() package name updated=0
    for package in "${wanted[@]}"; do
        name=$package
        if [[ $package == *#* ]]; then
            name=$(vanto_numbered_package "$package")
            if [ -z "$name" ] && [ $updated -eq 0 ]; then
                vanto_sudo apt-get update -qq || return 1
                updated=1
                name=$(vanto_numbered_package "$package")
            fi
            [ -n "$name" ] || { echo "No package matches $package" >&2; return 1; }
        fi
        if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$name")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing: ${missing[*]}"
    [ $updated -eq 1 ] || vanto_sudo apt-get update -qq || return 1
    vanto_sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}

# vanto_build BUILD_DIR [cmake options...]
vanto_build() {
    local build_dir=$1
    shift
    cmake -S "$VANTO_ROOT" -B "$build_dir" -G Ninja "$@" || return 1
    cmake --build "$build_dir" --parallel "$(nproc)" || return 1
}

# vanto_configure_sanitized BUILD_DIR: the clang build with the address and
# undefined-behaviour sanitizers that the sanitized tests and the fuzz targets
# share, so ./test compiles the code base under ASan once; -O1 with line
# tables only keeps that compile short while reports still name lines.
vanto_configure_sanitized() {
    CC=clang CXX=clang++ cmake -S "$VANTO_ROOT" -B "$1" -G Ninja -DVANTO_FUZZ=ON \
        -DVANTO_SANITIZE=ON -DVANTO_BUILD_TESTS=ON -DVANTO_BUILD_BENCH=OFF \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
        "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" >/dev/null
}
