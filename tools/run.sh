#!/usr/bin/env bash
# Sets up, builds and starts the client. Without a display it starts a
# virtual one and says how to look at it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KD_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
"$root/tools/build.sh"

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 1600x1000x24 >/dev/null 2>&1 &
        sleep 1
    fi
    echo "No display found: the client runs on the virtual display $DISPLAY."
    echo "Look at it with: xwd -root -display $DISPLAY | convert xwd:- screen.png"
    echo "or connect a VNC viewer after: x11vnc -display $DISPLAY"
fi
exec "$build/bin/parvela" "$@"
