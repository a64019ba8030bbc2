#!/usr/bin/env python3
# Prints, for each byte of each FILE, the coarse class Pygments' LEXER gives
# it: "c" comment, "s" string (literal text: strings, characters,
# here-documents, regular expressions), "o" anything else, "." whitespace.
# One line per file, as many characters as the file has bytes. Shift JIS files are decoded as such; any
# other file byte for byte (Latin-1), so positions stay byte positions.
import sys

from pygments.lexers import get_lexer_by_name
from pygments.token import Comment, String, Text, Whitespace


def classes(lexer, path):
    data = open(path, 'rb').read()
    try:
        text, codec = data.decode('cp932'), 'cp932'
    except UnicodeDecodeError:
        text, codec = data.decode('latin-1'), 'latin-1'
    out = []
    for token, value in lexer.get_tokens(text):
        if token in Comment:
            cls = 'c'
        elif token in String:
            cls = 's'
        else:
            cls = 'o'
        for ch in value:
            n = len(ch.encode(codec))
            out.append(('.' if ch.isspace() else cls) * n)
    return ''.join(out)


def main():
    lexer = get_lexer_by_name(sys.argv[1], stripnl=False, stripall=False, ensurenl=False)
    for path in sys.argv[2:]:
        sys.stdout.write(classes(lexer, path) + '\n')


main()
