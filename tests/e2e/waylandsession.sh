#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command as an X client of the XWayland of a headless KWin Wayland session, on a session bus of its
# own; the command's status is the result. The command finds the compositor's name in MIREL_E2E_WM.
#   waylandsession.sh -- COMMAND...
set -euo pipefail
[[ ${1-} == -- ]] && shift
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
mkdir -m 700 "$state/run"
mkdir -p "$state/home/.config"
# Two desktops, as a Plasma session has, so that being on every desktop can be seen.
printf '[Desktops]\nNumber=2\nRows=1\n' >"$state/home/.config/kwinrc"
# The packaged binary carries a file capability that a container may not grant, and then cannot start;
# a copy runs without it.
install -m 755 "$(command -v kwin_wayland)" "$state/kwin_wayland"
# KWin starts the session with DISPLAY and WAYLAND_DISPLAY set and ends when it ends, but keeps neither
# its status nor its output.
{
    echo '#!/usr/bin/env bash'
    printf 'MIREL_E2E_WM=kwin_wayland '
    printf '%q ' "$@"
    printf '>%q 2>&1\necho $? >%q\n' "$state/output" "$state/status"
} >"$state/session"
chmod +x "$state/session"
env XDG_RUNTIME_DIR="$state/run" HOME="$state/home" timeout 120 dbus-run-session -- \
    "$state/kwin_wayland" --virtual --xwayland --width 1440 --height 900 --socket mirel-e2e \
    --exit-with-session "$state/session" >"$state/kwin.log" 2>&1 || true
cat "$state/output" 2>/dev/null || true
[[ -s $state/status ]] || { echo "waylandsession.sh: the session did not run" >&2; cat "$state/kwin.log" >&2; exit 1; }
status=$(cat "$state/status")
if ((status != 0 && status != 77)); then
    echo "--- the last lines of kwin_wayland's log:"
    tail -n 15 "$state/kwin.log"
fi
exit "$status"
