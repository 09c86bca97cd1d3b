#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds in K3N, read off the real accessibility bus: the
# program runs on a private X display (Xvfb) with a private session bus and the
# desktop's accessibility bus (at-spi2-core); scripts/a11y_dump.py opens every
# page and every window of the menus in English and in Chinese and counts the
# controls one can focus or act on that have no name, and the grid column
# headers read as bare numbers.
# Needs the Debian packages xvfb, dbus, at-spi2-core and python3-pyatspi.
# Not part of the test suite. Prints the two counts; exits 1 unless both are 0.
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp &
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break || sleep 0.1; done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0 K3N_BUILD=$build
export A11Y_MENU_PLACES=$scratch/menu-places.json   # found in English, used in Chinese
status=0
for language in 0 1; do
    mkdir -p "$XDG_CONFIG_HOME/K3N"
    printf '[config]\nLanguage=%s\n' "$language" > "$XDG_CONFIG_HOME/K3N/config.ini"
    name=$([ "$language" = 0 ] && echo English || echo Chinese)
    dbus-run-session -- bash -c '
        /usr/libexec/at-spi-bus-launcher --launch-immediately &
        launcher=$!
        sleep 1
        "$K3N_BUILD/k3n-cps" &
        program=$!
        result=0
        timeout 600 /usr/bin/python3 "'"$here"'/a11y_dump.py" '"$name"' || result=$?
        kill $program $launcher 2>/dev/null
        exit $result
    ' 2> >(grep -v "dbus-daemon\|propagateSizeHints" >&2) || status=1
done
exit $status
