#!/usr/bin/env python3
"""Checks an exported HTML file with Python's own parser: every element
closed in order, every table-of-contents link finding its target, and one
section per page. Prints "ok SECTIONS LINKS" or the first fault; exit 1 on a
fault."""
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}


class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.ids, self.links, self.sections, self.faults = [], set(), [], 0, []
        self.in_nav = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            if a["id"] in self.ids:
                self.faults.append("duplicate id " + a["id"])
            self.ids.add(a["id"])
        if tag == "nav":
            self.in_nav = True
        if tag == "a" and self.in_nav and a.get("href", "").startswith("#"):
            self.links.append(a["href"][1:])
        if tag == "section":
            self.sections += 1
        if tag not in VOID:
            self.stack.append((tag, self.getpos()))

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID:
            self.faults.append("self-closed <%s> at %s" % (tag, self.getpos()))

    def handle_endtag(self, tag):
        if tag == "nav":
            self.in_nav = False
        if tag in VOID:
            return
        if not self.stack or self.stack[-1][0] != tag:
            open_tag = self.stack[-1] if self.stack else None
            self.faults.append("</%s> at %s closes %s" % (tag, self.getpos(), open_tag))
            return
        self.stack.pop()


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        text = f.read()
    c = Checker()
    c.feed(text)
    c.close()
    if c.stack:
        c.faults.append("unclosed " + ", ".join("<%s> at %s" % t for t in c.stack))
    missing = [l for l in c.links if l not in c.ids]
    if missing:
        c.faults.append("links without target: " + ", ".join(missing[:5]))
    if c.faults:
        print(c.faults[0])
        return 1
    print("ok %d %d" % (c.sections, len(c.links)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
