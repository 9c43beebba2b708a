#!/usr/bin/env bash
# Photographs the windows for the README (docs/screenshots/) under a virtual
# X server: each wizard step (Options also at 1600x1000), the per-image
# dialog, the About box, the help window, the preview window and a running
# build. Usage: scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target vantoshow app_screenshots
xvfb-run -a -s "-screen 0 1700x1100x24" "$build/bin/app_screenshots" "$root/docs/screenshots"
