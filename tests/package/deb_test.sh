#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package made by `cpack -G DEB`.
#   deb_test.sh build BUILD_DIR APP_ID VERSION    makes the package, checks what it holds and needs, and
#                                                 has lintian, Debian's own checker, find nothing to warn of
#   deb_test.sh install BUILD_DIR APP_ID VERSION  installs it with apt, runs the installed program, removes it
# Installing changes the machine, so that case runs only as root (as in CI) and only when no mirel package
# is installed yet; otherwise it reports itself skipped (status 77) rather than passing.
set -euo pipefail
mode=$1 build=$2 app_id=$3 version=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
files=(
    /usr/bin/mirel
    /usr/lib/mirel/libmirel_intake.so
    "/usr/share/applications/$app_id.desktop"
    /usr/share/icons/hicolor/scalable/apps/mirel.svg
    /usr/share/man/man1/mirel.1.gz
    /usr/share/doc/mirel/changelog.gz
    /usr/share/doc/mirel/copyright
    "/usr/share/metainfo/$app_id.metainfo.xml"
)
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }
package() { compgen -G "$build/mirel_*.deb" | head -n 1; }

if [[ $mode == build ]]; then
    rm -f "$build"/mirel_*.deb
    (cd "$build" && cpack -G DEB >/dev/null)
    deb=$(package)
    [[ -n $deb ]] || fail "cpack made no package"
    contents=$(dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }')
    for file in "${files[@]}"; do
        grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
    done
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in libqt6widgets6 libqt6gui6 libqt6network6 libxcb1; do
        grep -qw "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
    done
    recommends=$(dpkg-deb -f "$deb" Recommends)
    grep -qw fonts-noto-color-emoji <<<"$recommends" || fail "the package does not recommend an emoji font: $recommends"
    # A release whose history does not name it would ship last release's changelog under the new version.
    history=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/mirel/changelog.gz | gunzip)
    latest=$(dpkg-parsechangelog -l - -S Version <<<"$history")
    [[ $latest == "$version" ]] || fail "the changelog's latest entry is $latest, the package $version"
    command -v lintian >/dev/null || fail "lintian is missing (scripts/deps.sh --test installs it)"
    # Info tags are advice; errors and warnings fail, as they do for a package in Debian.
    lintian --fail-on error,warning --display-info "$deb" || fail "lintian found faults in $deb"
    exit 0
fi

[[ $(id -u) -eq 0 ]] || skip "installing the package needs root"
# Builds in other folders of the same machine may run this case at the same time; one at a time owns the package.
exec 9>/run/lock/mirel-deb-install-test.lock
flock -w 200 9 || fail "another run of this test held the machine for too long"
[[ $(dpkg-query -W -f='${Status}' mirel 2>/dev/null || true) != 'install ok installed' ]] \
    || skip "a mirel package is installed already; it is left alone"
deb=$(package)
[[ -n $deb ]] || fail "no package in $build; the build case makes it"

apt() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 -y -qq "$@" >/dev/null; }
home=$(mktemp -d)
cleanup() {
    dpkg-query -W -f='${Status}' mirel >/dev/null 2>&1 && apt purge mirel || true
    rm -rf "$home"
}
trap cleanup EXIT

apt install --no-install-recommends "$deb"
for file in "${files[@]}"; do
    [[ -f $file ]] || fail "$file was not installed"
done
[[ $(/usr/bin/mirel --version) == "mirel $version" ]] || fail "the installed mirel gives no version"
[[ $(man -w mirel) == /usr/share/man/man1/mirel.1* ]] || fail "man does not find the installed page"

# The installed program, on a real X server, starts a panel for the text and loads its module from /usr/lib;
# the panel it started is ended before its X session, by the pid in its lock.
mkdir -m 700 "$home/runtime"
export HOME=$home XDG_RUNTIME_DIR=$home/runtime XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config
unset QT_QPA_PLATFORM UITEST_GOALS
export LANGUAGE=en # the message compared below is the English one
sent=$("$here/../e2e/xsession.sh" -- bash -c '
    /usr/bin/mirel --send "From the package" || exit
    panel=$(head -n 1 "$XDG_RUNTIME_DIR/mirel.lock")
    kill "$panel"
    for _ in {1..100}; do kill -0 "$panel" 2>/dev/null || exit 0; sleep 0.05; done
    echo "the panel did not quit" >&2; exit 1') || fail "the installed mirel did not send: $sent"
[[ $sent == 'Added 1 goal to Mirel.' ]] || fail "the installed mirel said: $sent"
grep -qF '"text":"From the package"' "$home/data/Mirel/todos.json" || fail "the goal is not in the goals file"

apt remove mirel
for file in "${files[@]}"; do
    [[ ! -e $file ]] || fail "$file is left after removal"
done
[[ ! -e /usr/lib/mirel ]] || fail "/usr/lib/mirel is left after removal"
# Only dpkg's record of the package's scripts is left; purging it leaves the machine as it was.
dpkg --purge mirel >/dev/null
echo "installed, ran and removed $deb"
