#!/usr/bin/env python3
"""Writes the manual pages of manpages-ja in every encoding this program reads, for the test
that no text is taken for binary.

    text_corpus.py OUT [MAN_ROOT]

Every gzipped page below MAN_ROOT (default /usr/share/man/ja) is read as UTF-8 and written in
its own form and converted: Shift JIS, EUC-JP, JIS (kanji by escape sequences, half-width
katakana between SO and SI), UTF-16LE and UTF-16BE with and without a byte-order mark, its
Shift JIS bytes in Base64, and its lines as a Shift JIS CSV table. A line of half-width
katakana is put before every page so that the JIS form holds SO and SI, and the end mark
0x1A that old pages close with stays at their end. Characters an encoding lacks become '?'.

OUT receives one record per file: its name and length on a line each, then its bytes.
"""
import base64
import codecs
import gzip
import pathlib
import sys

KANA_LINE = "\uff8a\uff9d\uff76\uff78\uff76\uff80\uff76\uff85 \uff83\uff7d\uff84\n"


def jis(text):
    """ISO-2022-JP, with half-width katakana as 7-bit bytes between SO and SI."""
    out = bytearray()
    plain = []

    def flush():
        if plain:
            out.extend("".join(plain).encode("iso2022_jp", "replace"))
            plain.clear()

    for ch in text:
        if "\uff61" <= ch <= "\uff9f":
            flush()
            out.extend(b"\x0e" + bytes([ord(ch) - 0xFF61 + 0x21]) + b"\x0f")
        else:
            plain.append(ch)
    flush()
    return bytes(out)


def csv(text):
    rows = []
    for number, line in enumerate(text.replace("\x1a", "").splitlines(), 1):
        rows.append('%d,"%s",%d' % (number, line.replace('"', '""'), len(line)))
    return ("\r\n".join(rows) + "\r\n").encode("cp932", "replace")


def forms(raw):
    text = KANA_LINE + raw.decode("utf-8", "replace")
    sjis = text.encode("cp932", "replace")
    return {
        "utf8": raw,
        "sjis": sjis,
        "eucjp": text.encode("euc_jp", "replace"),
        "jis": jis(text),
        "utf16le-bom": codecs.BOM_UTF16_LE + text.encode("utf-16-le", "replace"),
        "utf16be-bom": codecs.BOM_UTF16_BE + text.encode("utf-16-be", "replace"),
        "utf16le": text.encode("utf-16-le", "replace"),
        "utf16be": text.encode("utf-16-be", "replace"),
        "base64": base64.encodebytes(sjis).replace(b"\n", b"\r\n"),
        "csv": csv(text),
    }


def main():
    out_path = pathlib.Path(sys.argv[1])
    root = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else "/usr/share/man/ja")
    with open(out_path, "wb") as out:
        for page in sorted(root.rglob("*.gz")):
            for form, data in forms(gzip.decompress(page.read_bytes())).items():
                name = "%s:%s" % (page.relative_to(root), form)
                out.write(name.encode("utf-8") + b"\n" + str(len(data)).encode() + b"\n" + data)


if __name__ == "__main__":
    main()
