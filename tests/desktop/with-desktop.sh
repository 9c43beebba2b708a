#!/usr/bin/env bash
# Runs a command on a virtual X server with a window manager (openbox), as a
# user's desktop has one: closing from the title bar, focus and the stacking
# of prompts then go through a real window manager.
set -euo pipefail
if [ -z "${VANTO_IN_DESKTOP:-}" ]; then
    exec env VANTO_IN_DESKTOP=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.1
done
wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start" >&2; exit 1; }
QT_QPA_PLATFORM=xcb "$@"
