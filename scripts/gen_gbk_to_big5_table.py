#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates src/core/text/gbk_to_big5_table.inc, the GBK -> Big5 character table.

Sources (Debian packages, no network):
  - glibc iconv (libc6) for the GBK and Big5 code pages;
  - OpenCC (packages opencc, libopencc-data) for Simplified -> Traditional characters.

For every GBK two-byte code (lead 0x81..0xFE, trail 0x40..0xFE) the character is
decoded with iconv, turned into its Traditional form with OpenCC ("s2tw", Taiwan
standard, then plain "s2t"), and encoded as Big5 with iconv. If neither form nor
the character itself exists in Big5, or the GBK code is unassigned, the entry is
the Big5 full-width question mark (0xA1 0x48). A few characters get the form the
interface texts need instead of OpenCC's one-character default (PREFERRED).

Entry layout: the program writes an entry low byte first and then inverts the top
bit of that first byte, so an entry holds (big5_trail << 8) | (big5_lead ^ 0x80).

Usage: scripts/gen_gbk_to_big5_table.py [output path]
"""
import ctypes
import ctypes.util
import os
import subprocess
import sys
import tempfile

TABLE_SIZE = 24066
PLACEHOLDER = b"\xa1\x48"  # U+FF1F FULLWIDTH QUESTION MARK in Big5

# Characters whose one-character OpenCC default is not the sense the texts use.
PREFERRED = {
    "钟": "鐘",  # minutes and clocks (分鐘, 時鐘), not the surname 鍾
}


class Iconv:
    """One glibc iconv conversion; convert() returns None unless the whole input converts."""

    _libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
    _libc.iconv_open.restype = ctypes.c_void_p
    _libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    _libc.iconv.restype = ctypes.c_size_t
    _libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                            ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                            ctypes.POINTER(ctypes.c_size_t)]

    def __init__(self, to_code, from_code):
        self.cd = self._libc.iconv_open(to_code.encode(), from_code.encode())
        if self.cd in (None, ctypes.c_void_p(-1).value):
            sys.exit(f"iconv cannot convert {from_code} to {to_code}")

    def convert(self, data):
        self._libc.iconv(self.cd, None, None, None, None)
        in_buf = ctypes.create_string_buffer(data, len(data))
        out_buf = ctypes.create_string_buffer(64)
        in_ptr = ctypes.c_char_p(ctypes.addressof(in_buf))
        out_ptr = ctypes.c_char_p(ctypes.addressof(out_buf))
        in_left = ctypes.c_size_t(len(data))
        out_left = ctypes.c_size_t(64)
        rc = self._libc.iconv(self.cd, ctypes.byref(in_ptr), ctypes.byref(in_left),
                              ctypes.byref(out_ptr), ctypes.byref(out_left))
        if rc == ctypes.c_size_t(-1).value or in_left.value != 0:
            return None
        return out_buf.raw[:64 - out_left.value]


def opencc(config, chars):
    """Converts each character on its own, so the mapping is character by character."""
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.txt")
        dst = os.path.join(tmp, "out.txt")
        with open(src, "w", encoding="utf-8") as f:
            f.write("\n".join(chars) + "\n")
        subprocess.run(["opencc", "-c", config, "-i", src, "-o", dst], check=True)
        with open(dst, encoding="utf-8") as f:
            out = f.read().split("\n")[:len(chars)]
    if len(out) != len(chars):
        sys.exit(f"opencc {config} changed the number of lines")
    return dict(zip(chars, out))


def main():
    out_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src", "core", "text", "gbk_to_big5_table.inc")

    from_gbk = Iconv("UTF-8", "GBK")
    to_big5 = Iconv("BIG5", "UTF-8")

    gbk_chars = []  # per table position: the character, or None if not a GBK character
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            utf8 = from_gbk.convert(bytes([lead, trail]))
            ch = utf8.decode("utf-8") if utf8 else None
            gbk_chars.append(ch if ch and len(ch) == 1 else None)
    assert len(gbk_chars) == TABLE_SIZE

    distinct = sorted({c for c in gbk_chars if c})
    taiwan = opencc("s2tw.json", distinct)
    traditional = opencc("s2t.json", distinct)

    def big5_of(ch):
        for candidate in (PREFERRED.get(ch, ""), taiwan[ch], traditional[ch], ch):
            if len(candidate) != 1:
                continue
            code = to_big5.convert(candidate.encode("utf-8"))
            if code and len(code) == 2:
                return code
        return None

    entries = []
    stats = {"mapped": 0, "unassigned": 0, "no_big5": 0}
    for ch in gbk_chars:
        code = big5_of(ch) if ch else None
        if ch is None:
            stats["unassigned"] += 1
        elif code is None:
            stats["no_big5"] += 1
        else:
            stats["mapped"] += 1
        lead, trail = code or PLACEHOLDER
        entries.append((trail << 8) | (lead ^ 0x80))

    with open(out_path, "w", encoding="ascii") as f:
        f.write("// Generated by scripts/gen_gbk_to_big5_table.py; do not edit.\n")
        f.write(f"// {stats['mapped']} GBK characters mapped, {stats['no_big5']} without a Big5 form and\n")
        f.write(f"// {stats['unassigned']} unassigned GBK codes shown as the Big5 full-width '?'.\n")
        for i in range(0, TABLE_SIZE, 12):
            f.write(" ".join(f"0x{e:04X}," for e in entries[i:i + 12]) + "\n")
    print(f"wrote {out_path}: {stats}")


if __name__ == "__main__":
    main()
