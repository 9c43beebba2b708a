# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not executed; expects VANTO_ROOT to be set.

VANTO_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-image-formats-plugins
    libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
    libx264-164
    libmpg123-dev libsdl2-dev libebur128-dev libaubio-dev libexif-dev libpixman-1-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libheif-dev libde265-0 libdav1d6 libraw-dev
    libdlib-dev libopencv-contrib-dev
    libheif-examples imagemagick webp
    python3-skimage python-matplotlib-data opencv-data
    fonts-dejavu-core fonts-droid-fallback libfontconfig-dev
    ffmpeg dvdauthor vcdimager genisoimage xorriso lsdvd xvfb xauth time
    openbox wmctrl
    clang libclang-rt-14-dev
)

vanto_install_packages() {
    local missing=()
    local package
    for package in "${VANTO_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing and sudo is not available: ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq || return 1
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
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
