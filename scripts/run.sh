#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the programming software. With a display: the GUI, with a virtual
# radio attached and offered in the port list (its memory kept in the build
# folder between runs). Without one: a short terminal demonstration of the
# same job.
set -euo pipefail
build=${1:-build/release}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (DISPLAY is not set): running the terminal demonstration instead."
    exec scripts/demo.sh "$build"
fi
exec "$build/k3n-cps" --virtual-radio --virtual-radio-memory "$build/virtual-radio.bin"
