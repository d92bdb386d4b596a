#!/usr/bin/env bash
# Runs a command in a private X session: Xvfb on a free display, openbox unless --no-window-manager is
# given, and xcompmgr unless --no-compositor is given. The session ends with the command; the command's
# status is the result.
#   xsession.sh [--no-compositor] [--no-window-manager] -- COMMAND...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
compositor=1
window_manager=1
while [[ $# -gt 0 && $1 != -- ]]; do
    case $1 in
        --no-compositor) compositor=0 ;;
        --no-window-manager) window_manager=0 ;;
        *) echo "xsession.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
shift

state=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$state"
}
trap cleanup EXIT

# wait_for SECONDS COMMAND... polls every 50 ms.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# Xvfb picks a free display itself and writes its number to the descriptor.
exec 3>"$state/display"
# -noreset: what a test sets up (root colour, monitors) stays while no other client holds the display.
Xvfb -displayfd 3 -screen 0 1440x900x24 -nolisten tcp -dpi 96 -noreset +extension Composite >"$state/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for 10 test -s "$state/display" || { cat "$state/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(tr -dc 0-9 <"$state/display")"
wait_for 10 xdpyinfo || { echo "xsession.sh: Xvfb did not answer on $DISPLAY" >&2; exit 1; }

# Openbox now and then fails to open a display that has just come up; without a window manager every
# window-manager test would fail for the wrong reason, so it is started again until it has taken the screen.
# (xprop succeeds whether or not the property exists; only a window id in its answer counts.)
wm_running() { xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
attempts=(1 2 3)
((window_manager)) || attempts=()
for attempt in "${attempts[@]}"; do
    openbox --sm-disable --config-file "$here/openbox-rc.xml" >"$state/openbox.log" 2>&1 &
    pids+=($!)
    wait_for 5 wm_running && break
    kill "${pids[-1]}" 2>/dev/null || true
    ((attempt < 3)) || { echo "xsession.sh: openbox did not start" >&2; cat "$state/openbox.log" >&2; exit 1; }
done

if ((compositor)); then
    xcompmgr >"$state/xcompmgr.log" 2>&1 &
    pids+=($!)
    # xcompmgr names the window that owns the compositing-manager selection after itself.
    wait_for 10 sh -c 'xwininfo -root -children | grep -q "\"xcompmgr\""' \
        || { echo "xsession.sh: xcompmgr did not start" >&2; exit 1; }
fi

"$@"
