#!/usr/bin/env python3
"""Every function of every shipped plug-in, run through polyshift-cli over the same texts in
UTF-8, UTF-8 with a byte-order mark and Shift JIS. Each result must be either the right one,
worked out here independently with Python's codecs and Unicode normalisation (NFKC), or the
input unchanged: with a message where the function refuses the text, silently where it has
nothing to do. A function that changes a text any other way fails the test.

usage: every_function_test.py POLYSHIFT_CLI
"""
import base64
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

CLI = sys.argv[1]
BOM = b"\xef\xbb\xbf"

TEXTS = {
    "prose": "吾輩は猫である。名前はまだ無い。\r\nABC abc 123 ＡＢＣ ａｂｃ １２３ 「括弧」（丸）\r\n",
    "kana": "ｱｲｳｴｵ ｶﾞｷﾞ ﾊﾟﾋﾟ ｳﾞ ﾜﾞ ｱﾞ ﾟ｡｢｣､･ｰ ﾃｽﾄ\nｶﾞ",
    "symbols": "a!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ z\n！＃＄％＆（）＊＋，．／：；＜＝＞？＠［］＾＿｛｜｝　\r",
    "platform": "①②㈱Ⅰ髙 ≒∵\n",
    "emoji": "絵文字😀と１２３\n",
}

# --- the right results, in Unicode -------------------------------------------------------

DIGITS = set("0123456789")
LETTERS = set("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")
SYMBOLS = set(chr(c) for c in range(0x20, 0x7F)) - DIGITS - LETTERS

# Half width from full width by NFKC: U+FF01..U+FF5E and the ideographic space.
HALF_OF = {chr(c): unicodedata.normalize("NFKC", chr(c)) for c in range(0xFF01, 0xFF5F)}
HALF_OF["\u3000"] = " "
assert all(len(h) == 1 and ord(h) < 0x7F for h in HALF_OF.values())


def full_of(encoding):
    full = {h: f for f, h in HALF_OF.items()}
    if encoding == "sjis":
        # Shift JIS pairs these ASCII bytes with other full-width codes than UTF-8 does.
        full.update({"\\": "￥", "~": "￣", '"': "”", "'": "’", "`": "‘"})
    return full


def fold_half_to_full(text, charset, encoding):
    full = full_of(encoding)
    return "".join(full[c] if c in charset else c for c in text)


def fold_full_to_half(text, charset, encoding):
    half = {f: h for h, f in full_of(encoding).items()}
    return "".join(half[c] if c in half and half[c] in charset else c for c in text)


VOICED_BASES = set("ｳｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ")
SEMI_VOICED_BASES = set("ﾊﾋﾌﾍﾎ")
LONE_MARKS = {"ﾞ": "゛", "ﾟ": "゜"}  # NFKC would give combining marks; alone they are spacing


def fold_katakana(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        pair = text[i:i + 2]
        joins = (pair[1:] == "ﾞ" and c in VOICED_BASES) or (pair[1:] == "ﾟ" and c in SEMI_VOICED_BASES)
        if joins:
            out.append(unicodedata.normalize("NFKC", pair))
            i += 2
            continue
        if "\uff61" <= c <= "\uff9f":
            out.append(LONE_MARKS.get(c) or unicodedata.normalize("NFKC", c))
        else:
            out.append(c)
        i += 1
    return "".join(out)


WIDTH = {
    0: fold_katakana,
    1: lambda t, e: fold_half_to_full(t, DIGITS, e),
    2: lambda t, e: fold_full_to_half(t, DIGITS, e),
    3: lambda t, e: fold_half_to_full(t, LETTERS, e),
    4: lambda t, e: fold_full_to_half(t, LETTERS, e),
    5: lambda t, e: fold_half_to_full(t, SYMBOLS, e),
    6: lambda t, e: fold_full_to_half(t, SYMBOLS, e),
}


def encode(text, encoding):
    if encoding == "sjis":
        return text.encode("cp932")
    return (BOM if encoding == "utf8-bom" else b"") + text.encode("utf-8")


def base64_decoded(data):
    alphabet = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
    kept = bytes(b for b in data.split(b"=")[0] if b in alphabet)
    kept = kept[: len(kept) - (len(kept) % 4 == 1)]
    return base64.b64decode(kept + b"=" * (-len(kept) % 4))


# What each function must do: the right bytes, "refused" (unchanged, with a message),
# "unchanged" (silently), or None where Python has no oracle for that input.
def expected(function, text, encoding):
    data = encode(text, encoding)
    name, index = function.split(":")
    index = int(index)
    utf8 = encoding != "sjis"
    if name == "eolfix":
        return re.sub(rb"\r\n|\r|\n", [b"\r\n", b"\r", b"\n"][index], data)
    if name == "widthfold":
        fold = WIDTH[index]
        result = fold(text) if index == 0 else fold(text, encoding)
        return encode(result, encoding)
    if name == "encswap":
        return "refused" if utf8 else encswap_expected(index, text, data)
    if name == "glyphport":
        return "unchanged" if utf8 else None
    if name == "unibridge":
        return unibridge_expected(index, text)
    if name == "base64":
        return base64.b64encode(data) if index == 0 else base64_decoded(data) or "unchanged"
    if name == "pictile":
        return "unchanged"
    return None


def unibridge_expected(index, text):
    if index == 0:
        return text.encode("utf-8")
    if index == 1:
        return BOM + text.encode("utf-8")
    if index == 2:
        return "\ufeff".encode("utf-16-le") + text.encode("utf-16-le")
    try:
        text.encode("cp932")
    except UnicodeEncodeError:
        return "refused"
    # Characters with two Shift JIS codes (NEC and IBM rows) may take either.
    return ("decodes", "cp932", text)


def encswap_expected(index, text, data):
    """Shift JIS input through the functions that read Shift JIS, checked by decoding. (The
    detecting functions may take short texts of half-width katakana for EUC: that is their
    documented rule, tested with the plug-in.)"""
    codec = {3: "iso2022_jp", 4: "euc_jp"}.get(index)
    if codec is None:
        return None
    try:
        text.encode(codec)
    except UnicodeEncodeError:
        return None  # characters outside what Python's codec knows
    return ("decodes", codec, text)


# rulebook's tables, the same commands and pairs in each encoding a table may have. Every
# command takes characters (k), so that the result does not depend on the encoding.
REGEX_TABLE = "s/名前/なまえ/gk\ntr/０-９/0-9/k\ns/ｶﾞ/ガ/gk\ns/①/(1)/gk\ns/a/A/gk\n"
STRING_TABLE = "猫\tねこ\nABC\tＡＢＣ\n①\t(1)\n"


def rulebook_result(index, text):
    if index == 0:
        text = text.replace("名前", "なまえ")
        text = text.translate({0xFF10 + d: ord("0") + d for d in range(10)})
        return text.replace("ｶﾞ", "ガ").replace("①", "(1)").replace("a", "A")
    for search, replacement in (("猫", "ねこ"), ("ABC", "ＡＢＣ"), ("①", "(1)")):
        text = text.replace(search, replacement)
    return text


def rulebook_expected(index, text, encoding, table_encoding):
    """A table goes with a text of its own encoding; a UTF-8 table (with a mark or without)
    goes with UTF-8 text (with a mark or without). Any other pair is refused."""
    if (table_encoding == "sjis") != (encoding == "sjis"):
        return "refused"
    return encode(rulebook_result(index, text), encoding)


def write_tables(folder):
    tables = {}
    for index, table in ((0, REGEX_TABLE), (1, STRING_TABLE)):
        for table_encoding in ("utf8", "utf8-bom", "sjis"):
            path = os.path.join(folder, f"table{index}-{table_encoding}.tbl")
            with open(path, "wb") as f:
                f.write(encode(table, table_encoding))
            tables[(index, table_encoding)] = path
    return tables


# --- running the command line ------------------------------------------------------------

def run(function, data, folder, table=None):
    source = os.path.join(folder, "in")
    with open(source, "wb") as f:
        f.write(data)
    arguments = [CLI, "run", "-f", function] + (["-t", table] if table else []) + ["-"]
    with open(source, "rb") as stdin:
        done = subprocess.run(arguments, stdin=stdin, capture_output=True, timeout=60)
    messages = [line for line in done.stderr.decode("utf-8", "replace").splitlines()
                if line.startswith("エラー")]
    return done.returncode, done.stdout, messages


def functions():
    listed = subprocess.run([CLI, "list"], capture_output=True, check=True).stdout.decode()
    return [line.split("\t")[0] for line in listed.splitlines() if "\t" in line]


def check(function, text_name, encoding, folder, table=None):
    text = TEXTS[text_name]
    try:
        data = encode(text, encoding)
    except UnicodeEncodeError:
        return None  # not every text has a Shift JIS form
    if table:
        want = rulebook_expected(int(function.split(":")[1]), text, encoding, table[0])
    else:
        want = expected(function, text, encoding)
    if want is None:
        return None
    status, out, messages = run(function, data, folder, table[1] if table else None)
    where = f"{function} on {text_name} ({encoding})" + (f" with a {table[0]} table" if table else "")
    # A refusal is a failed step: the file passes unchanged, and the exit status says so.
    if status != (1 if want == "refused" else 0):
        return f"{where}: exit status {status}"
    if want == "refused":
        if out != data or not messages:
            return f"{where}: should pass unchanged with a message; got {out[:60]!r} {messages}"
    elif want == "unchanged":
        if out != data:
            return f"{where}: should pass unchanged; got {out[:60]!r}"
    elif isinstance(want, tuple):
        _, codec, text = want
        try:
            decoded = out.decode(codec)
        except UnicodeDecodeError as e:
            return f"{where}: not {codec}: {e}"
        if decoded != text:
            return f"{where}: decodes to {decoded!r}"
    elif out != want:
        return f"{where}:\n  want {want!r}\n  got  {out!r}\n  {messages}"
    if encoding != "sjis" and want not in ("refused", "unchanged") and function.split(":")[0] in (
            "widthfold", "eolfix") and out.startswith(BOM) != data.startswith(BOM):
        return f"{where}: the byte-order mark moved"
    return None


def main():
    failures, checked = [], 0
    with tempfile.TemporaryDirectory() as folder:
        tables = write_tables(folder)
        for function in functions():
            name, index = function.split(":")
            # rulebook runs with each of its tables; every other function without one.
            runs = [(kind, tables[(int(index), kind)]) for kind in ("utf8", "utf8-bom", "sjis")
                    ] if name == "rulebook" else [None]
            for table in runs:
                for text_name in TEXTS:
                    for encoding in ("utf8", "utf8-bom", "sjis"):
                        failure = check(function, text_name, encoding, folder, table)
                        checked += 1
                        if failure:
                            failures.append(failure)
    for failure in failures:
        print(failure)
    print(f"{checked - len(failures)} of {checked} cases right")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
