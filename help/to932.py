#!/usr/bin/env python3
"""Writes a help source (UTF-8) in code page 932, the code page of the help file's language.

    to932.py SOURCE TARGET [NAME=VALUE ...]

Each @NAME@ of the source becomes VALUE. A page, the table of contents and the index declare
their character set; the declaration of UTF-8 becomes Shift_JIS. A character that code page
932 cannot spell, a declaration missing, or an @NAME@ left without a value fails the build."""
import re
import sys

UTF8_DECLARATION = "charset=UTF-8"
DECLARED = (".html", ".hhc", ".hhk")


def convert(source: str, text: str, values: dict) -> bytes:
    for name, value in values.items():
        text = text.replace("@%s@" % name, value)
    left = re.search(r"@[A-Z_]+@", text)
    if left:
        raise SystemExit("%s: %s has no value" % (source, left.group(0)))
    if source.endswith(DECLARED):
        if UTF8_DECLARATION not in text:
            raise SystemExit("%s: no %s declaration" % (source, UTF8_DECLARATION))
        text = text.replace(UTF8_DECLARATION, "charset=Shift_JIS")
    try:
        return text.encode("cp932")
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        raise SystemExit("%s:%d: %r has no spelling in code page 932" % (source, line, text[error.start]))


def main() -> None:
    source, target = sys.argv[1], sys.argv[2]
    values = dict(pair.split("=", 1) for pair in sys.argv[3:])
    with open(source, encoding="utf-8") as f:
        data = convert(source, f.read(), values)
    with open(target, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
