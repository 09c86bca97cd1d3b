#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package twice, each time from a clean clone of the
# committed sources in a folder of its own, with the same SOURCE_DATE_EPOCH
# (the last commit's time), and compares the two packages byte for byte.
# Not part of the test suite: two builds take a while. Exit status 0 when the
# packages are the same, 1 when they differ (the differing files are listed).
# Usage: scripts/reproducible-build.sh [COMMIT]   (default: HEAD)
set -euo pipefail
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse "${1:-HEAD}")
jobs=${JOBS:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct "$commit")}

build() {   # FOLDER-NAME: clone, build the programs and their documents, pack
    local src=$work/$1/k3n
    git clone -q --no-local "$repo" "$src"
    git -C "$src" checkout -q "$commit"
    cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DK3N_BUILD_TESTS=OFF -DK3N_BUILD_BENCH=OFF >"$work/$1.log"
    cmake --build "$src/build" -j "$jobs" --target k3n k3n-cps k3n_package_docs >>"$work/$1.log"
    (cd "$src/build" && cpack -G DEB -B "$work/$1/out" >>"$work/$1.log")
    ls "$work/$1"/out/k3n_*.deb
}

echo "building $commit twice with SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH ..."
first=$(build one)
second=$(build two-in-another-folder)
if cmp -s "$first" "$second"; then
    echo "reproducible: $(basename "$first") is the same from both clones ($(sha256sum <"$first" | cut -c1-16))"
    exit 0
fi
echo "NOT reproducible: the two packages differ" >&2
for deb in "$first" "$second"; do
    mkdir -p "$deb.x" && dpkg-deb -R "$deb" "$deb.x"
done
diff -r "$first.x" "$second.x" >&2 || true
exit 1
