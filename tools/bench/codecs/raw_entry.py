#!/usr/bin/env python3
"""Writes the packed bytes of a ZIP archive's first entry (as they follow its local header)
to a file, so that a decoder can be measured on the raw stream.
Usage: raw_entry.py ARCHIVE OUTPUT"""
import struct
import sys
import zipfile

with zipfile.ZipFile(sys.argv[1]) as archive:
    info = archive.infolist()[0]
with open(sys.argv[1], "rb") as f:
    f.seek(info.header_offset)
    header = f.read(30)
    name_length, extra_length = struct.unpack("<HH", header[26:30])
    f.seek(info.header_offset + 30 + name_length + extra_length)
    data = f.read(info.compress_size)
with open(sys.argv[2], "wb") as f:
    f.write(data)
