#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user gets it: built from this build tree into a
# temporary folder, its file list and control fields checked, unpacked with
# dpkg-deb -x, the unpacked k3n run, the desktop entry, metainfo, file type,
# manual pages, completion and cable rule checked, and lintian's verdict taken.
# Also: the package made twice with one SOURCE_DATE_EPOCH is the same byte for
# byte, and lintian finds no hardening missing.
# Usage: package_test.sh BUILD-DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd) version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }; }
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli xmllint update-mime-database lintian man; do
    need "$tool"
done

# ---- build, twice: the same bytes from the same tree and time ---------------------
epoch=1700000000
for out in out again; do
    (cd "$build" && SOURCE_DATE_EPOCH=$epoch cpack -G DEB -B "$work/$out" >"$work/cpack.log" 2>&1) ||
        { cat "$work/cpack.log" >&2; exit 1; }
done
debs=("$work"/out/k3n_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "expected one k3n_${version}_<arch>.deb, found: ${debs[*]}"; exit 1; }
deb=${debs[0]}
cmp -s "$deb" "$work/again/$(basename "$deb")" || fail "two packages made with SOURCE_DATE_EPOCH=$epoch differ"
# Every member and every file in it carries that time, not the time it was made.
TZ=UTC ar tv "$deb" | grep -v ' Nov 14 22:13 2023 ' && fail "an ar member's time is not SOURCE_DATE_EPOCH"
dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time --utc | grep -v ' 2023-11-14 22:13:20 ' &&
    fail "a file's time in the package is not SOURCE_DATE_EPOCH"

# ---- control fields ------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = k3n ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
maintainer_form='^K3N developers <[^@]+@[^>]+\.invalid>$'
[[ $(field Maintainer) =~ $maintainer_form ]] || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Section)" = hamradio ] || fail "Section is '$(field Section)'"
# dpkg-shlibdeps found the libraries the binaries link.
for lib in libc6 libqt6core6 libqt6widgets6; do
    [[ $(field Depends) == *"$lib"* ]] || fail "Depends lacks $lib: $(field Depends)"
done
# The first start is in Chinese: a CJK font is needed, and Qt's own dialogs speak it with its translations.
[[ $(field Depends) == *"fonts-wqy-microhei | fonts-noto-cjk"* ]] || fail "Depends lacks a CJK font: $(field Depends)"
[ "$(field Recommends)" = qt6-translations-l10n ] || fail "Recommends is '$(field Recommends)'"

# ---- file list -----------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/files"
expected=(
    /usr/bin/k3n /usr/bin/k3n-cps
    /usr/share/applications/k3n-cps.desktop
    /usr/share/mime/packages/k3n.xml
    /usr/share/metainfo/invalid.k3n.cps.metainfo.xml
    /usr/share/man/man1/k3n.1.gz /usr/share/man/man1/k3n-cps.1.gz
    /usr/share/bash-completion/completions/k3n
    /usr/share/doc/k3n/copyright /usr/share/doc/k3n/changelog.gz
    /usr/lib/udev/rules.d/60-k3n-cables.rules
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/k3n.png")
done
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
if ! diff -u "$work/expected" "$work/files" >"$work/files.diff"; then
    fail "the package's files differ from the expected list:"
    cat "$work/files.diff" >&2
fi
dpkg-deb -c "$deb" | awk '$2 != "root/root" { print }' | grep . && fail "files not owned by root"

# ---- unpacked ------------------------------------------------------------------
root=$work/root
dpkg-deb -x "$deb" "$root"
out=$("$root/usr/bin/k3n" --version) || fail "the unpacked k3n --version failed"
[ "$out" = "k3n $version" ] || fail "k3n --version says '$out'"
# Without a display, k3n-cps answers --help and --version and opens nothing.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${headless[@]}" "$root/usr/bin/k3n-cps" --version 2>&1) || fail "k3n-cps --version without a display failed"
[ "$out" = "k3n-cps $version" ] || fail "k3n-cps --version says '$out'"
out=$("${headless[@]}" "$root/usr/bin/k3n-cps" --help 2>&1) || fail "k3n-cps --help without a display failed"
[[ $out == "usage: k3n-cps "* ]] || fail "k3n-cps --help says '$out'"
for binary in k3n k3n-cps; do
    readelf -S "$root/usr/bin/$binary" | grep -qE '\.(symtab|debug_info)' && fail "$binary is not stripped"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/k3n.png
    # PNG header: width and height are big-endian at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dims" = "${size}x${size}" ] || fail "icon ${size}x${size} is $dims"
done

# ---- desktop entry, metainfo, file type -------------------------------------------
desktop=$root/usr/share/applications/k3n-cps.desktop
desktop-file-validate "$desktop" | grep -v ': hint: ' | grep . && fail "desktop-file-validate complains"
grep -qx 'Exec=k3n-cps %f' "$desktop" || fail "the desktop entry does not pass the file (%f)"
grep -qx 'MimeType=application/x-k3n-configuration;' "$desktop" || fail "the desktop entry lacks the MIME type"
grep -qx 'Icon=k3n' "$desktop" || fail "the desktop entry's icon is not k3n"

metainfo=$root/usr/share/metainfo/invalid.k3n.cps.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || { fail "appstreamcli validate"; cat "$work/appstream.log" >&2; }
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q '<launchable type="desktop-id">k3n-cps.desktop</launchable>' "$metainfo" || fail "the metainfo does not launch the desktop entry"

mime=$root/usr/share/mime/packages/k3n.xml
xmllint --noout "$mime" || fail "the MIME XML is not well-formed"
[ "$(xmllint --xpath 'string(//*[local-name()="mime-type"]/@type)' "$mime")" = application/x-k3n-configuration ] ||
    fail "the MIME XML defines another type"
[ "$(xmllint --xpath 'string(//*[local-name()="glob"]/@pattern)' "$mime")" = '*.fse' ] || fail "the MIME XML lacks the *.fse glob"
# shared-mime-info compiles it and maps the file name to the type.
mkdir -p "$work/mime/packages" && cp "$mime" "$work/mime/packages/"
update-mime-database "$work/mime" 2>"$work/mime.log" || { fail "update-mime-database"; cat "$work/mime.log" >&2; }
grep -q 'application/x-k3n-configuration:\*\.fse' "$work/mime/globs" || fail "the compiled database has no *.fse glob"

# ---- cable rule ----------------------------------------------------------------
rule=$root/usr/lib/udev/rules.d/60-k3n-cables.rules
for id in 1a86:7523 1a86:5523 067b:2303 10c4:ea60 0403:6001; do
    line=$(grep -E "^ATTRS\{idVendor\}==\"${id%:*}\", ATTRS\{idProduct\}==\"${id#*:}\"," "$rule" || true)
    [ -n "$line" ] || { fail "the rule does not match $id"; continue; }
    [[ $line == *'TAG+="uaccess"'* ]] || fail "$id is not tagged uaccess"
    [[ $line == *'ENV{ID_MM_DEVICE_IGNORE}="1"'* ]] || fail "$id is not hidden from ModemManager"
done
[ "$(grep -cE '^ATTRS' "$rule")" -eq 5 ] || fail "the rule matches other devices too"
grep -qE '^SUBSYSTEM!="tty", GOTO="k3n_cables_end"' "$rule" || fail "the rule does not stay with ttys"
grep -qE '^LABEL="k3n_cables_end"' "$rule" || fail "the rule's end label is missing"
grep -vE '^\s*(#|$)' "$rule" | grep -qiE 'SYMLINK|MODE=|GROUP=' && fail "the rule makes links or changes modes"

# ---- manual pages, changelog, completion ---------------------------------------------
for page in k3n k3n-cps; do
    gz=$root/usr/share/man/man1/$page.1.gz
    # gzip -9n: no file name (flags byte 0) and no time stamp.
    [ "$(od -An -tu1 -j3 -N5 "$gz" | tr -s ' ')" = " 0 0 0 0 0" ] || fail "$page.1.gz keeps a name or a time"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null) || fail "man cannot show $page(1)"
    [ -z "$warnings" ] || fail "man warns about $page(1): $warnings"
done
manual=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/k3n.1.gz" 2>/dev/null)
for command in $("$root/usr/bin/k3n" --help | awk '/^Commands:/ { l = 1; next } l && /^  [a-z]/ { print $1 }'); do
    grep -qE "^   $command( |$)" <<<"$manual" || fail "k3n(1) does not describe '$command'"
done
# A section's text, as man lays it out: from its heading to the next one.
section() { awk -v name="$2" '/^[A-Z]/ { on = ($0 == name) } on' <<<"$1"; }
for name in "EXIT STATUS" ENVIRONMENT FILES; do
    [ -n "$(section "$manual" "$name")" ] || fail "k3n(1) has no $name"
done
# The exit statuses say what k3n --help says.
"$root/usr/bin/k3n" --help | awk '/^Exit status:/ { on = 1; next } on && /^  [0-9]/ { print $1, $2, $3 }' >"$work/statuses"
[ "$(wc -l <"$work/statuses")" -eq 4 ] || fail "k3n --help lists $(wc -l <"$work/statuses") exit statuses"
while read -r code first second; do
    section "$manual" "EXIT STATUS" | tr -s ' \n' ' ' | grep -qF "$code $first $second" ||
        fail "k3n(1) lacks exit status $code ($first $second)"
done <"$work/statuses"
cps_manual=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/k3n-cps.1.gz" 2>/dev/null)
for page in k3n k3n-cps; do
    text=$manual
    [ $page = k3n-cps ] && text=$cps_manual
    for file in config.ini autosave.fse backups/ programming-log.csv; do
        section "$text" FILES | grep -qF "$file" || fail "$page(1) does not name $file under FILES"
    done
    for variable in XDG_CONFIG_HOME XDG_DATA_HOME; do
        section "$text" ENVIRONMENT | grep -qF "$variable" || fail "$page(1) does not name $variable under ENVIRONMENT"
    done
done
[ "$(gzip -dc "$root/usr/share/doc/k3n/changelog.gz" | head -1 | sed -E 's/^k3n \(([^)]*)\).*/\1/')" = "$version" ] ||
    fail "the changelog's last entry is not version $version"

completion=$(PATH=$root/usr/bin:$PATH bash -c '
    source "$1"
    COMP_WORDS=(k3n rea); COMP_CWORD=1; _k3n; echo "${COMPREPLY[*]}"
    COMP_WORDS=(k3n read --po); COMP_CWORD=2; _k3n; echo "${COMPREPLY[*]}"
    COMP_WORDS=(k3n diff --language ""); COMP_CWORD=3; _k3n; echo "${COMPREPLY[*]}"
    COMP_WORDS=(k3n log --since ""); COMP_CWORD=3; _k3n; echo "[${COMPREPLY[*]}]"
    COMP_WORDS=(k3n write --p); COMP_CWORD=2; _k3n; echo "${COMPREPLY[*]}"
    COMP_WORDS=(k3n help ex); COMP_CWORD=2; _k3n; echo "${COMPREPLY[*]}"' _ "$root/usr/share/bash-completion/completions/k3n")
[ "$completion" = $'read\n--port\nen zh-CN zh-TW\n[]\n--port --ports\nexport' ] ||
    fail "bash completion offers '$completion'"

# ---- lintian -----------------------------------------------------------------------
lintian --fail-on error --display-level '>=warning' "$deb" >"$work/lintian.log" 2>&1 || { fail "lintian reports errors"; }
cat "$work/lintian.log"
# The binaries are hardened as Debian's own (fortify, stack protector, relro, bindnow, PIE).
lintian --display-level '>=pedantic' "$deb" 2>&1 | grep -E 'hardening-' && fail "lintian finds hardening missing"

[ $failures -eq 0 ] && echo "package $(basename "$deb"): all checks passed"
exit $((failures > 0))
