#!/usr/bin/env python3
"""Every function of every shipped plug-in, run through polyshift-cli over the same texts in
every form the program reads: UTF-8 (with a byte-order mark and without), Shift JIS, UTF-16
(little-endian and big-endian with a mark, little-endian without one), EUC-JP and JIS. Each
result must be either the right one, worked out here independently with Python's codecs and
Unicode normalisation (NFKC), or the input unchanged: with a message where the function
refuses the text, silently where it has nothing to do. A function that changes a text any
other way fails the test.

A Unicode form (UTF-8, UTF-16) is folded and converted as UTF-8 is; EUC-JP and JIS as Shift
JIS is: their right result is the function's Shift JIS result in their own encoding.

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

# The forms of a text, and the codecs that write them.
LEGACY = {"sjis": "cp932", "euc": "euc_jp", "jis": "iso2022_jp_ext"}
UTF16 = {"utf16le-bom": ("utf-16-le", b"\xff\xfe"), "utf16be-bom": ("utf-16-be", b"\xfe\xff"),
         "utf16le": ("utf-16-le", b"")}
FORMS = ("utf8", "utf8-bom", "sjis") + tuple(UTF16) + ("euc", "jis")
JIS = LEGACY["jis"]

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


def encode(text, form):
    if form in LEGACY:
        return text.encode(LEGACY[form])
    if form in UTF16:
        codec, mark = UTF16[form]
        return mark + text.encode(codec)
    return (BOM if form == "utf8-bom" else b"") + text.encode("utf-8")


def in_form(text, form):
    """The right result `text` as the bytes a function must give in `form`, or None where the
    form cannot hold it. JIS may place its mode switches as it likes: it is checked by decoding."""
    try:
        data = encode(text, form)
    except UnicodeEncodeError:
        return None
    return ("decodes", JIS, text) if form == "jis" else data


def base64_decoded(data):
    alphabet = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
    kept = bytes(b for b in data.split(b"=")[0] if b in alphabet)
    kept = kept[: len(kept) - (len(kept) % 4 == 1)]
    return base64.b64decode(kept + b"=" * (-len(kept) % 4))


# What each function must do: the right bytes, ("decodes", codec, text) for a result checked
# by decoding, "refused" (unchanged, with a message), "unchanged" (silently), or None where
# Python has no oracle for that input.
def expected(function, text, form):
    data = encode(text, form)
    name, index = function.split(":")
    index = int(index)
    unicode = form not in LEGACY
    if name == "eolfix":
        return in_form(re.sub(r"\r\n|\r|\n", ["\r\n", "\r", "\n"][index], text), form)
    if name == "widthfold":
        fold = WIDTH[index]
        result = fold(text) if index == 0 else fold(text, "utf8" if unicode else "sjis")
        return in_form(result, form)
    if name == "encswap":
        return "refused" if unicode else encswap_expected(index, text, form)
    if name == "glyphport":
        # Unicode has no platform codes; EUC-JP and JIS are no Mac or Windows code page.
        return "unchanged" if unicode else "refused" if form != "sjis" else None
    if name == "unibridge":
        return unibridge_expected(index, text, form)
    if name == "base64":
        return base64.b64encode(data) if index == 0 else base64_decoded(data) or "unchanged"
    if name == "pictile":
        return "unchanged"
    return None


def unibridge_expected(index, text, form):
    if index in (0, 6):  # 6 also turns numeric references back; none of the texts holds one
        return text.encode("utf-8")
    if index == 1:
        return BOM + text.encode("utf-8")
    if index == 2:
        return "\ufeff".encode("utf-16-le") + text.encode("utf-16-le")
    if form in LEGACY:
        return "unchanged"  # only UTF-8 and UTF-16 go to Shift JIS
    try:
        text.encode("cp932")
    except UnicodeEncodeError:
        if index == 3:
            return "refused"
        # The fallbacks: 〓 (readable, 4) or a hexadecimal reference (lossless, 5) for each
        # character Shift JIS lacks; the texts hold no sequences, selectors or look-alikes.
        return ("decodes", "cp932", "".join(
            c if cp932_holds(c) else "〓" if index == 4 else f"&#x{ord(c):X};" for c in text))
    # Characters with two Shift JIS codes (NEC and IBM rows) may take either.
    return ("decodes", "cp932", text)


def cp932_holds(c):
    try:
        c.encode("cp932")
        return True
    except UnicodeEncodeError:
        return False


# encswap's functions by the encoding each reads (None: the one it detects) and writes.
ENCSWAP = {0: (None, "sjis"), 1: (None, "jis"), 2: (None, "euc"), 3: ("sjis", "jis"),
           4: ("sjis", "euc"), 5: ("jis", "sjis"), 6: ("jis", "euc"), 7: ("euc", "sjis"),
           8: ("euc", "jis")}


def encswap_expected(index, text, form):
    """A legacy text through the functions that read its encoding, checked by decoding; a
    detecting function leaves a text already in its target unchanged. (On Shift JIS the
    detecting functions may take short texts of half-width katakana for EUC: that is their
    documented rule, tested with the plug-in.)"""
    source, target = ENCSWAP[index]
    if (source is None and form == "sjis") or source not in (None, form):
        return None
    if target == form:
        return "unchanged"
    try:
        text.encode(LEGACY[target])
    except UnicodeEncodeError:
        return None  # characters outside what Python's codec knows
    right = ("decodes", LEGACY[target], text)
    if source is None and form == "jis" and b"\x1b$" not in encode(text, form):
        return [right, "unchanged"]  # JIS of kana alone: the detection may find no JIS in it
    return right


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


def rulebook_expected(index, text, form, table_encoding):
    """A table goes with a text of its own encoding; a UTF-8 table (with a mark or without)
    goes with UTF-8 text (with a mark or without). Any other pair is refused, and so is every
    text in UTF-16, EUC-JP or JIS."""
    if form not in ("utf8", "utf8-bom", "sjis") or (table_encoding == "sjis") != (form == "sjis"):
        return "refused"
    return encode(rulebook_result(index, text), form)


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


def well_formed_jis(data):
    """Only the mode switches that JIS output is written with, and ASCII mode at the end."""
    switches = re.findall(rb"\x1b(?:\$B|\(B|\(I)|\x1b|[\x0e\x0f]", data)
    return all(len(s) == 3 for s in switches) and (not switches or switches[-1] == b"\x1b(B")


def mismatch(want, out, data, messages):
    """What is wrong with `out` for the outcome `want`, or None when it is that outcome. A list
    of outcomes takes any of them."""
    if isinstance(want, list):
        wrong = [mismatch(w, out, data, messages) for w in want]
        return None if None in wrong else " or ".join(wrong)
    if want == "refused":
        if out != data or not messages:
            return f"should pass unchanged with a message; got {out[:60]!r} {messages}"
    elif want == "unchanged":
        if out != data:
            return f"should pass unchanged; got {out[:60]!r}"
    elif isinstance(want, tuple):
        _, codec, text = want
        try:
            decoded = out.decode(codec)
        except UnicodeDecodeError as e:
            return f"not {codec}: {e}"
        if decoded != text:
            return f"decodes to {decoded!r}"
        if codec == JIS and not well_formed_jis(out):
            return f"mode switches not as JIS is written: {out[:60]!r}"
    elif out != want:
        return f"\n  want {want!r}\n  got  {out!r}\n  {messages}"
    return None


DECIDED = {}
UNDECIDED = set()


def told_apart(text_name, form, folder):
    """Whether the detection that the program and every plug-in share takes the text in `form`
    for what it is. Asked of unibridge, whose rule it is: it then gives the text's UTF-8. A text
    it takes for another form (too short, or readable as Shift JIS too) stays Shift JIS to every
    function, so the oracles here do not apply to it."""
    if form in ("utf8", "utf8-bom", "sjis"):
        return True
    if (text_name, form) not in DECIDED:
        text = TEXTS[text_name]
        status, out, _ = run("unibridge:0", encode(text, form), folder)
        DECIDED[(text_name, form)] = status == 0 and out == text.encode("utf-8")
        if not DECIDED[(text_name, form)]:
            UNDECIDED.add(f"{text_name} ({form})")
    return DECIDED[(text_name, form)]


def check(function, text_name, encoding, folder, table=None):
    text = TEXTS[text_name]
    try:
        data = encode(text, encoding)
    except UnicodeEncodeError:
        return None  # not every text has a Shift JIS, EUC-JP or JIS form
    if table:
        want = rulebook_expected(int(function.split(":")[1]), text, encoding, table[0])
    else:
        want = expected(function, text, encoding)
    if want is None or not told_apart(text_name, encoding, folder):
        return None
    status, out, messages = run(function, data, folder, table[1] if table else None)
    where = f"{function} on {text_name} ({encoding})" + (f" with a {table[0]} table" if table else "")
    # A refusal is a failed step: the file passes unchanged, and the exit status says so.
    outcomes = want if isinstance(want, list) else [want]
    if status not in {1 if w == "refused" else 0 for w in outcomes}:
        return f"{where}: exit status {status}"
    wrong = mismatch(want, out, data, messages)
    if wrong:
        return f"{where}: {wrong}"
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
                    for encoding in FORMS:
                        failure = check(function, text_name, encoding, folder, table)
                        checked += 1
                        if failure:
                            failures.append(failure)
    for failure in failures:
        print(failure)
    if UNDECIDED:
        print("not checked, the detection takes them for another form:", ", ".join(sorted(UNDECIDED)))
    print(f"{checked - len(failures)} of {checked} cases right")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
