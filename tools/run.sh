#!/usr/bin/env bash
# Sets up, builds and starts the client against the local conference server
# with its demo data. Without a display it starts a virtual one and says how
# to look at it.
#
# The client keeps its settings under $KD_APPDATA (default: build/demo-appdata,
# so your own settings are left alone); the server address and port of this
# run are written into that folder's settings, and the script says so when it
# replaces a server saved there before.
#
# --portal (first argument) serves the demo organisation as a "CCM" server:
# the client then shows the server's own web pages for meetings, contacts
# and conference control. Other arguments go to the client.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seed=$root/confserver/seed/demo.json
if [ "${1:-}" = "--portal" ]; then
    seed=$root/confserver/seed/demo-portal.json
    shift
fi
build=${KD_BUILD_DIR:-$root/build}
appdata=${KD_APPDATA:-$build/demo-appdata}
"$root/tools/install-deps.sh"
"$root/tools/build.sh"

# Sets key=value in [section] of an INI file with CRLF lines, keeping the rest.
set_ini() {
    local file=$1 section=$2 key=$3 value=$4 tmp
    tmp=$(mktemp)
    touch "$file"
    awk -v section="$section" -v key="$key" -v value="$value" '
        { sub(/\r$/, "") }
        /^\[.*\]$/ {
            if (inside && !done) { print key "=" value; done = 1 }
            inside = ($0 == "[" section "]"); seen = seen || inside
        }
        inside && index($0, key "=") == 1 { if (!done) print key "=" value; done = 1; next }
        { print }
        END {
            if (!seen) print "[" section "]"
            if (!done) print key "=" value
        }' "$file" | sed 's/$/\r/' >"$tmp"
    mv "$tmp" "$file"
}

get_ini() {
    local file=$1 section=$2 key=$3
    [ -f "$file" ] || return 0
    awk -v section="$section" -v key="$key" '
        { sub(/\r$/, "") }
        /^\[.*\]$/ { inside = ($0 == "[" section "]"); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$file"
}

# The conference server on a free loopback port, ended with this script.
server_log=$(mktemp)
"$build/bin/confserver" --seed "$seed" --port 0 >"$server_log" 2>&1 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true; rm -f "$server_log"' EXIT
port=
for _ in $(seq 1 50); do
    port=$(sed -n 's|.*listening on http://127\.0\.0\.1:\([0-9]*\).*|\1|p' "$server_log" | head -n 1)
    [ -n "$port" ] && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
        cat "$server_log" >&2
        echo "The conference server did not start." >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "The conference server did not say its port." >&2
    exit 1
fi

config="$appdata/parvela/Brivana/Config/config.ini"
# The client's folder holds passwords, tokens and logs: the user's alone.
mkdir -p "$appdata"
mkdir -m 700 -p "$appdata/parvela"
chmod 700 "$appdata/parvela"
(umask 077 && mkdir -p "$(dirname "$config")")
previous=$(get_ini "$config" Config Ip)
previous_port=$(get_ini "$config" Config port)
if [ -n "$previous" ] && [ "$previous:$previous_port" != "127.0.0.1:$port" ]; then
    echo "Replacing the server saved in $config ($previous, port ${previous_port:-default}) with this run's."
fi
set_ini "$config" Config Ip 127.0.0.1
set_ini "$config" Config port "$port"
set_ini "$config" Config useHttps false
set_ini "$config" Config JoinConfServerAddress "127.0.0.1:$port"
export appdata

echo "Conference server: http://127.0.0.1:$port (demo data, ends with the client)."
echo "Sign in as: demo / Demo2026!  (server 127.0.0.1, port $port under \"More\", HTTPS off)"
echo "Or join meeting 80001 as a guest (server 127.0.0.1:$port)."
echo "Settings of this run: $appdata"
echo "Ring the signed-in demo user (the client rings within 2 s):"
echo "  curl -s -X POST http://127.0.0.1:$port/api/engine/v1/ring -H 'Content-Type: application/json' \\"
echo "       -d '{\"account\": \"demo\", \"from\": \"Carol Lee\", \"number\": \"80001\", \"audioOnly\": false}'"

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 1600x1000x24 >/dev/null 2>&1 &
        sleep 1
    fi
    echo "No display found: the client runs on the virtual display $DISPLAY."
    # xwd leaves some of the client's windows black here; ImageMagick reads them all.
    echo "Look at it with: import -display $DISPLAY -window root screen.png"
    echo "or install x11vnc, run: x11vnc -display $DISPLAY, and connect a VNC viewer."
fi
# The embedded web pages' sandbox cannot start as root.
if [ "$(id -u)" = 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
"$build/bin/parvela" "$@"
