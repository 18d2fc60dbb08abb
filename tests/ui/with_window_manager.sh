#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb, on a free display number) with the openbox
# window manager, and ends both by their process ids afterwards, whatever the command did.
# Usage: with_window_manager.sh WIDTHxHEIGHT COMMAND [ARGUMENT...]
set -euo pipefail
size=$1
shift
for tool in Xvfb openbox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is missing: scripts/deps.sh --tests installs it" >&2
        exit 1
    fi
done

work="$(mktemp -d)"
xvfb_pid=
openbox_pid=
# Asked to end first, killed after 5 s if still running.
stop() {
    local pid
    for pid in $openbox_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 1' HUP INT TERM

# Xvfb chooses a display number nobody uses and writes it to descriptor 3 once it listens.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        cat "$work/xvfb.log" >&2
        echo "Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb gave no display number" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

# The shipped settings of openbox, nothing from the home folder of whoever runs the tests.
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!

# The command waits for the window manager itself (its _NET_SUPPORTING_WM_CHECK).
status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
    kill -0 "$openbox_pid" 2>/dev/null || echo "openbox has ended" >&2
    cat "$work/openbox.log" >&2
fi
exit "$status"
