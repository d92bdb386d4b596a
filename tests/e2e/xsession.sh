#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a private X session: Xvfb on a free display, a window manager (openbox unless --wm
# names another or --no-window-manager is given), and a compositor unless --no-compositor is given: xcompmgr,
# or the window manager's own where it composites itself. The session ends with the command; the command's
# status is the result. The command finds the window manager's name in MIREL_E2E_WM.
#   xsession.sh [--wm openbox|xfwm4|fluxbox|icewm|jwm|i3|kwin_x11|mutter|marco|muffin] [--no-window-manager]
#               [--no-compositor] -- COMMAND...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arguments=("$@")
compositor=1
wm=openbox
while [[ $# -gt 0 && $1 != -- ]]; do
    case $1 in
        --no-compositor) compositor=0 ;;
        --no-window-manager) wm=none ;;
        --wm) wm=${2:?}; shift ;;
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
        kill "$pid" 2>/dev/null || continue
        # A window manager busy with a dying display may not answer the request to end.
        for _ in {1..50}; do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
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

# Every window manager but openbox runs with its packaged defaults; a home of its own keeps the files some
# of them write at their first start out of the caller's.
mkdir "$state/home"
wm_environment=(HOME="$state/home")
# How long a window manager may take to take the screen; the large desktops' ones load much more.
start_seconds=10
# A session bus for the window manager, with the session's home, so that the services it starts on that bus
# (settings, accessibility) write there too.
start_session_bus() {
    env HOME="$state/home" dbus-daemon --session --nofork --print-address=4 4>"$state/bus" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 10 test -s "$state/bus" || { echo "xsession.sh: no session bus" >&2; exit 1; }
    wm_environment+=(DBUS_SESSION_BUS_ADDRESS="$(head -1 "$state/bus")")
}
case $wm in
    openbox) wm_command=(openbox --sm-disable --config-file "$here/openbox-rc.xml") ;;
    # Its own compositor would take the place of xcompmgr, which the translucency checks expect.
    xfwm4)
        wm_command=(xfwm4 --compositor=off --sm-client-disable)
        # It reads its settings over a session bus and does not start without one.
        start_session_bus
        ;;
    fluxbox)
        wm_command=(fluxbox)
        # Its default style sets a wallpaper through a helper that, missing, says so in a window of its own.
        mkdir "$state/home/.fluxbox"
        echo 'background: none' >"$state/home/.fluxbox/overlay"
        ;;
    icewm) wm_command=(icewm) ;;
    jwm) wm_command=(jwm) ;;
    i3) wm_command=(i3 -c "$here/i3-config") ;;
    # The window managers of the large desktops, each on a session bus and named by the variables its
    # desktop's session sets; each composites itself. Every one of them replaces a window manager that runs.
    kwin_x11)
        wm_command=(kwin_x11 --replace)
        start_session_bus
        wm_environment+=(XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 QT_QPA_PLATFORM=xcb)
        start_seconds=20
        ((compositor)) || wm_environment+=(KWIN_COMPOSE=N)
        ;;
    mutter | muffin)
        ((compositor)) || { echo "xsession.sh: $wm always composites" >&2; exit 2; }
        wm_command=("$wm" --replace)
        [[ $wm == mutter ]] && wm_command+=(--x11)
        start_session_bus
        desktop=GNOME
        [[ $wm == muffin ]] && desktop=X-Cinnamon
        wm_environment+=(XDG_CURRENT_DESKTOP=$desktop)
        start_seconds=20
        ;;
    marco)
        wm_command=(marco --replace)
        ((compositor)) || wm_command+=(--no-composite)
        start_session_bus
        wm_environment+=(XDG_CURRENT_DESKTOP=MATE)
        start_seconds=20
        ;;
    none) wm_command=() ;;
    *) echo "xsession.sh: unknown window manager $wm" >&2; exit 2 ;;
esac
export MIREL_E2E_WM=$wm

# A window manager now and then fails to open a display that has just come up; without one every
# window-manager test would fail for the wrong reason, so it is started again until it has taken the screen.
# (xprop succeeds whether or not the property exists; only a window id in its answer counts.)
wm_running() { xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
attempts=(1 2 3)
[[ $wm != none ]] || attempts=()
for attempt in "${attempts[@]}"; do
    env "${wm_environment[@]}" "${wm_command[@]}" >"$state/wm.log" 2>&1 &
    pids+=($!)
    wait_for "$start_seconds" wm_running && break
    kill "${pids[-1]}" 2>/dev/null || true
    ((attempt < 3)) || { echo "xsession.sh: $wm did not start" >&2; cat "$state/wm.log" >&2; exit 1; }
done
wm_pid=
[[ $wm == none ]] || wm_pid=${pids[-1]}
# A case may hold the window manager still, as a machine busy elsewhere would.
export MIREL_E2E_WM_PID=$wm_pid
# Gone, or a zombie not yet reaped.
wm_ended() { [[ -n $wm_pid && $(ps -o stat= -p "$wm_pid" || true) != [^Z]* ]]; }

# Taskbars map after the window manager has taken the screen; a panel started before them would be placed
# against the whole screen.
has_taskbar() { [[ $wm == fluxbox || $wm == icewm || $wm == jwm ]]; }
work_area_shrunk() { xprop -root -notype _NET_WORKAREA | grep -qv '= 0, 0, 1440, 900'; }
if has_taskbar; then
    wait_for 10 work_area_shrunk || { echo "xsession.sh: $wm set no work area" >&2; xprop -root _NET_WORKAREA >&2; exit 1; }
fi

composites_itself() { [[ $wm == kwin_x11 || $wm == mutter || $wm == marco || $wm == muffin ]]; }
# No command-line tool asks for a selection's owner; libX11 does, through Python's ctypes.
compositor_running() {
    python3 - <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
display = x.XOpenDisplay(None)
sys.exit(0 if display and x.XGetSelectionOwner(display, x.XInternAtom(display, b"_NET_WM_CM_S0", 0)) else 1)
PY
}
if ((compositor)) && composites_itself; then
    wait_for 20 compositor_running || { echo "xsession.sh: $wm did not start compositing" >&2; exit 1; }
elif ((compositor)); then
    xcompmgr >"$state/xcompmgr.log" 2>&1 &
    pids+=($!)
    # xcompmgr names the window that owns the compositing-manager selection after itself.
    wait_for 10 sh -c 'xwininfo -root -children | grep -q "\"xcompmgr\""' \
        || { echo "xsession.sh: xcompmgr did not start" >&2; exit 1; }
fi

# A failure names the window manager's last words: what it said often tells a fault of the panel from its own.
status=0
"$@" || status=$?
# Now and then, on a loaded machine, a window manager crashes in the middle of a case (muffin 5.6 with a
# segmentation fault); that is its own fault, not the panel's, so the case runs once more in a fresh session.
# A crash the panel caused would come again, and fail the case then.
if ((status != 0 && status != 77)) && wm_ended && [[ -z ${MIREL_E2E_WM_CRASHED-} ]]; then
    echo "--- $wm ended while the case ran; the last lines of its log:"
    tail -n 15 "$state/wm.log"
    echo "--- xsession.sh: running the case once more in a fresh session"
    trap - EXIT
    cleanup
    MIREL_E2E_WM_CRASHED=1 exec "$0" "${arguments[@]}"
fi
if ((status != 0 && status != 77)) && [[ -s $state/wm.log ]]; then
    echo "--- the last lines of $wm's log:"
    tail -n 15 "$state/wm.log"
fi
exit "$status"
