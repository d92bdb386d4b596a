#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Mirel needs to build, run and test; does nothing when all are present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libxcb-xfixes0-dev libfontconfig-dev nlohmann-json3-dev
    # lrelease compiles the translations; Qt's own name the keys in the menu.
    qt6-l10n-tools qt6-translations-l10n
    fonts-dejavu-core
    # The calendar-server sync reads and writes tasks in iCalendar through libical, and keeps the password in
    # the desktop's Secret Service through QtKeychain.
    libical-dev qtkeychain-qt6-dev
)
if [[ ${1:-} == --test ]]; then
    # The end-to-end tests drive the real binary in their own X session; others check the manual
    # page and the software-centre metadata, and make and install the Debian package.
    packages+=(xvfb openbox xcompmgr xdotool x11-utils x11-xserver-utils desktop-file-utils xclip imagemagick python3
        man-db appstream dpkg-dev file clang-format lintian)
    # The window managers the panel is checked under, and what drives them.
    packages+=(xfwm4 fluxbox icewm jwm i3-wm wmctrl)
    # Those of KDE Plasma, GNOME, MATE and Cinnamon; marco and muffin do not start without their desktops'
    # settings schemas.
    packages+=(kwin-x11 mutter marco mate-desktop-common mate-settings-daemon-common muffin cinnamon-settings-daemon)
    # KDE Plasma's Wayland compositor, which brings XWayland, and the desktop portal with its KDE backend and
    # KDE's shortcut service, through which the new-goal shortcut is bound there.
    packages+=(kwin-wayland xdg-desktop-portal xdg-desktop-portal-kde libkf5globalaccel-bin)
    # The accessibility test reads the panel as a screen reader does, on a private session bus.
    packages+=(python3-pyatspi at-spi2-core dbus)
    # The daily clearing is checked at faked times of day; tzdata gives the local zone it runs in.
    packages+=(faketime tzdata)
    # A fake notification service takes the desktop notifications of failed sends.
    packages+=(python3-dbus python3-gi)
    # A real notification daemon shows the reminders; dunstctl reads back what it showed.
    packages+=(dunst)
    # The new-goal shortcut written into GNOME's keyboard settings, kept by dconf on a private session bus.
    packages+=(libglib2.0-bin dconf-service dconf-gsettings-backend gnome-settings-daemon-common)
    # Two computers sharing their goals through real Syncthing devices, on loopback only.
    packages+=(syncthing)
    # Real calendar servers on loopback, a second client of them that checks what the panel wrote, and openssl
    # for a self-signed certificate made at test time.
    packages+=(radicale xandikos python3-caldav openssl)
    # Cyrus IMAP's CalDAV with its SASL password tool, and DAViCal with the PostgreSQL server and the Apache with
    # PHP that the tests start for it in their own folders (Apache's binary alone: no system service of it).
    packages+=(cyrus-imapd cyrus-caldav sasl2-bin davical postgresql-15 apache2-bin libapache2-mod-php php-cli php-pgsql
        php-xml)
    # The passwords go to a GNOME Keyring on the test's own session bus; secret-tool reads them back.
    packages+=(gnome-keyring libsecret-tools)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == 'install ok installed' ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
# Through env, because sudo drops the caller's environment.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
