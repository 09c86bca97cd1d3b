#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every C++ file under the folders given is laid out as clang-format 14 lays it
# out with the tree's .clang-format. Other versions lay some constructs out
# differently, so without clang-format-14 the check is skipped (exit 77).
# Folders named "misformatted" hold the check's own bad example and are left
# out, unless --expect-misformatted asks for them: then a file must fail.
# Usage: check_format.sh [--expect-misformatted] DIR...
set -uo pipefail
expect_bad=0
if [ "${1-}" = --expect-misformatted ]; then
    expect_bad=1
    shift
fi
command -v clang-format-14 >/dev/null || { echo "clang-format-14 is not installed: the format check is skipped"; exit 77; }
if [ $expect_bad -eq 1 ]; then
    mapfile -t files < <(find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
else
    mapfile -t files < <(find "$@" -name misformatted -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
fi
[ ${#files[@]} -gt 0 ] || { echo "no C++ files under $*" >&2; exit 1; }
if clang-format-14 --dry-run --Werror "${files[@]}" 2>"${TMPDIR:-/tmp}/k3n-format.$$"; then
    rm -f "${TMPDIR:-/tmp}/k3n-format.$$"
    [ $expect_bad -eq 0 ] && { echo "${#files[@]} files laid out as .clang-format says"; exit 0; }
    echo "the misformatted example passed the check" >&2
    exit 1
fi
if [ $expect_bad -eq 1 ]; then
    rm -f "${TMPDIR:-/tmp}/k3n-format.$$"
    echo "the misformatted example fails the check, as it must"
    exit 0
fi
head -n 60 "${TMPDIR:-/tmp}/k3n-format.$$" >&2
rm -f "${TMPDIR:-/tmp}/k3n-format.$$"
echo "Run: clang-format-14 -i FILE (the files above are not laid out as .clang-format says)" >&2
exit 1
