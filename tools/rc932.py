#!/usr/bin/env python3
"""Turns a UTF-8 resource script into code page 932 for windres -c 932.

windres reads a backslash inside a quoted text as an escape, even when it is the second
byte of a double-byte character (ソ, 表, 能 ...). Such second bytes are written doubled, so
windres turns them back into the single byte of the character."""
import sys

LEAD = set(range(0x81, 0xA0)) | set(range(0xE0, 0xFD))


def convert(text: str) -> bytes:
    raw = text.encode("cp932")
    out = bytearray()
    i = 0
    while i < len(raw):
        b = raw[i]
        if b in LEAD and i + 1 < len(raw):
            out.append(b)
            out.append(raw[i + 1])
            if raw[i + 1] == 0x5C:
                out.append(0x5C)
            i += 2
        else:
            out.append(b)
            i += 1
    return bytes(out)


def main() -> None:
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        data = convert(f.read())
    with open(target, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
