# Prints the half-width/full-width pairs that Unicode's compatibility
# normalisation (NFKC) defines for digits, Latin letters and katakana, as
# "table<TAB>half<TAB>full" lines in UTF-8, reduced to what Shift JIS holds:
# a voiced form Shift JIS lacks (ヷ) stays a kana and a spacing mark, and the
# lone voicing marks are the spacing marks.
import sys
import unicodedata

SPACING = {"\u3099": "\u309b", "\u309a": "\u309c"}


def cp932(text):
    try:
        text.encode("cp932")
        return True
    except UnicodeEncodeError:
        return False


def full_of(half):
    full = unicodedata.normalize("NFKC", half)
    full = "".join(SPACING.get(c, c) for c in full)
    if len(full) == 1 and cp932(full):
        return full
    # Compose what Shift JIS cannot hold from the kana and its mark.
    return "".join(SPACING.get(c, c) for c in unicodedata.normalize("NFKD", full)) if len(half) == 2 else full


out = []
for c in "0123456789":
    out.append(("digits", c, unicodedata.lookup("FULLWIDTH DIGIT " + unicodedata.name(c).split()[-1])))
for code in range(0xFF21, 0xFF3B):
    out.append(("letters", unicodedata.normalize("NFKC", chr(code)), chr(code)))
for code in range(0xFF41, 0xFF5B):
    out.append(("letters", unicodedata.normalize("NFKC", chr(code)), chr(code)))
for code in range(0xFF66, 0xFFA0):  # half-width katakana, the prolonged mark and the voicing marks
    out.append(("katakana", chr(code), full_of(chr(code))))
for code in range(0xFF66, 0xFF9E):
    for mark in "\uff9e\uff9f":
        pair = chr(code) + mark
        composed = unicodedata.normalize("NFKC", pair)
        if len(composed) == 1:
            out.append(("katakana", pair, full_of(pair)))
for table, half, full in out:
    sys.stdout.write(f"{table}\t{half}\t{full}\n")
