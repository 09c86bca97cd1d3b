#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the k3n(1) manual page from the tool's own help, so that it lists every
# command with its options as the tool states them: the command list of
# `k3n --help`, then `k3n <command> --help` for each.
# Usage: make-man-page.sh PATH-OF-K3N VERSION OUTPUT
set -euo pipefail
k3n=$1 version=$2 out=$3

# Text as roff reads it: backslashes and minus signs escaped, no line starting a request.
roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

help=$("$k3n" --help)
commands=$(awk '/^Commands:/ { listed = 1; next } listed && /^  [a-z]/ { print $1 }' <<<"$help")
[ -n "$commands" ] || { echo "make-man-page.sh: no commands in '$k3n --help'" >&2; exit 1; }

{
    echo ".TH K3N 1 \"\" \"K3N $version\" \"User Commands\""
    echo ".SH NAME"
    echo "k3n \\- command-line tool for the configurations of K3N radios"
    echo ".SH SYNOPSIS"
    echo ".B k3n"
    echo ".I command"
    echo ".RI [ arguments ]"
    echo ".br"
    echo ".B k3n"
    echo ".BR \\-\\-help \" | \" \\-\\-version"
    echo ".SH DESCRIPTION"
    sed -n '/^Works with/p' <<<"$help" | roff
    echo "Every command also takes"
    echo ".BR \\-\\-help ,"
    echo "which prints what this page says about it."
    echo ".SH COMMANDS"
    for command in $commands; do
        text=$("$k3n" "$command" --help)
        echo ".SS \"$(sed -n '1s/^usage: k3n //p' <<<"$text" | roff)\""
        sed -n '3p' <<<"$text" | roff
        options=$(sed -n '5,$p' <<<"$text")
        if [ -n "$options" ]; then
            echo ".PP"
            echo ".nf"
            roff <<<"$options"
            echo ".fi"
        fi
    done
    echo ".SH EXIT STATUS"
    echo "0 when the command succeeded, 1 when it failed, 2 for a wrong command line."
    echo ".SH SEE ALSO"
    echo ".BR k3n\\-cps (1)"
} >"$out"
