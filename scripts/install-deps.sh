#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the screenshots need,
# when any is missing. As root it installs directly, otherwise through sudo;
# without either it prints the exact command to run.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgtest-dev
          qt6-translations-l10n xvfb xauth imagemagick fonts-wqy-microhei
          dpkg-dev lintian appstream desktop-file-utils shared-mime-info libxml2-utils man-db poppler-utils
          clang-format-14)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get install -y --no-install-recommends ${missing[*]}"
echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive $line
elif command -v sudo >/dev/null 2>&1; then
    sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive $line
else
    echo "Please run as root:  apt-get update && $line" >&2
    exit 1
fi
