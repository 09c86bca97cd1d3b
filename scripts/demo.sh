#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A short terminal demonstration of the programming software, for a machine
# without a display: a virtual radio on a pseudo-terminal, a sample
# configuration written into it, read back, and its channel list printed.
# Usage: scripts/demo.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build/release}
k3n="$build/k3n"
here=$(cd "$(dirname "$0")" && pwd)
sample="$here/demo-sample.fse"

if [ ! -x "$k3n" ]; then
    echo "$k3n is missing: build first (make build)." >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/k3n-demo.XXXXXX")
radio_pid=
cleanup() {
    if [ -n "$radio_pid" ]; then
        kill "$radio_pid" 2>/dev/null || true
        wait "$radio_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

"$k3n" virtual-radio --link "$work/radio" >"$work/radio.log" 2>&1 &
radio_pid=$!
for _ in $(seq 50); do    # up to 5 s for the radio to make its port
    [ -e "$work/radio" ] && break
    kill -0 "$radio_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -e "$work/radio" ]; then
    echo "The virtual radio did not start:" >&2
    cat "$work/radio.log" >&2
    exit 1
fi

echo "== A virtual K3N radio answers on $(readlink "$work/radio")."
echo "== Writing the sample configuration into it: k3n write --port PORT $(basename "$sample")"
echo "   (about 12 s: one frame per 100 ms, as with a real radio)"
"$k3n" write --port "$work/radio" "$sample"
echo "== Reading the radio back: k3n read --port PORT -o read-back.fse"
"$k3n" read --port "$work/radio" -o "$work/read-back.fse"
if cmp -s "$sample" "$work/read-back.fse"; then
    echo "== The configuration read back is the one written."
else
    echo "== The configuration read back differs from the one written." >&2
    exit 1
fi
echo "== Its channels: k3n dump read-back.fse"
echo
"$k3n" dump "$work/read-back.fse" | sed '/^General settings/,$d'
echo "With a display, 'make run' starts the program with this virtual radio offered as a port."
