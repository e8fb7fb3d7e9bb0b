#!/usr/bin/env python3
"""Makes a ZIP64 archive holding one stored entry of more than 4 GiB, as a sparse file: only
the headers and a few marker bytes take disk space.  Usage: make_large_zip64.py ARCHIVE

The archive holds "small.txt" (a few bytes) and then "big.bin" of ENTRY_SIZE bytes: zeros,
except MARKERS (offset, bytes), one of which straddles the 4 GiB boundary.  check() tells
whether a file holds exactly the content of big.bin.
"""
import os
import struct
import sys
import zlib

ENTRY_SIZE = (1 << 32) + 100
MARKERS = [(0, b"big.bin starts here"),
           ((1 << 32) - 8, b"across the 4 GiB line"),
           (ENTRY_SIZE - 16, b"big.bin ends.\r\n!")]
SMALL = b"a small entry\r\n"
DOS_TIME, DOS_DATE = (12 << 11) | (34 << 5), ((2024 - 1980) << 9) | (5 << 5) | 6  # 2024-05-06 12:34:00
CHUNK = 1 << 24


def content_crc():
    crc, at, zeros = 0, 0, bytes(CHUNK)
    for offset, data in MARKERS + [(ENTRY_SIZE, b"")]:
        while at < offset:
            n = min(CHUNK, offset - at)
            crc = zlib.crc32(zeros[:n], crc)
            at += n
        crc = zlib.crc32(data, crc)
        at += len(data)
    return crc


def local_header(name, crc, size, zip64):
    extra = struct.pack("<HHQQ", 1, 16, size, size) if zip64 else b""
    shown = 0xFFFFFFFF if zip64 else size
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 45, 0, 0, DOS_TIME, DOS_DATE, crc, shown, shown,
                       len(name), len(extra)) + name + extra


def central_record(name, crc, size, offset):
    zip64 = size >= 0xFFFFFFFF or offset >= 0xFFFFFFFF
    extra = struct.pack("<HHQQQ", 1, 24, size, size, offset) if zip64 else b""
    shown_size = 0xFFFFFFFF if zip64 else size
    shown_offset = 0xFFFFFFFF if zip64 else offset
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 45, 45, 0, 0, DOS_TIME, DOS_DATE, crc,
                       shown_size, shown_size, len(name), len(extra), 0, 0, 0, 0, shown_offset) + name + extra


def make(path):
    big_crc = content_crc()
    small_crc = zlib.crc32(SMALL)
    with open(path, "wb") as f:
        f.write(local_header(b"small.txt", small_crc, len(SMALL), False) + SMALL)
        big_offset = f.tell()
        f.write(local_header(b"big.bin", big_crc, ENTRY_SIZE, True))
        data_offset = f.tell()
        for offset, data in MARKERS:          # the zeros between them stay a hole
            f.seek(data_offset + offset)
            f.write(data)
        f.seek(data_offset + ENTRY_SIZE)
        directory_offset = f.tell()
        directory = (central_record(b"small.txt", small_crc, len(SMALL), 0) +
                     central_record(b"big.bin", big_crc, ENTRY_SIZE, big_offset))
        f.write(directory)
        end64_offset = f.tell()
        f.write(struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, 2, 2, len(directory), directory_offset))
        f.write(struct.pack("<IIQI", 0x07064B50, 0, end64_offset, 1))
        f.write(struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 2, 2, len(directory), 0xFFFFFFFF, 0))


def check(path):
    """None when the file holds exactly big.bin's content, else what differs."""
    if os.path.getsize(path) != ENTRY_SIZE:
        return "size %d, not %d" % (os.path.getsize(path), ENTRY_SIZE)
    expected = dict()
    for offset, data in MARKERS:
        for i, byte in enumerate(data):
            expected[offset + i] = byte
    zeros = bytes(CHUNK)
    with open(path, "rb") as f:
        at = 0
        while at < ENTRY_SIZE:
            chunk = f.read(CHUNK)
            wanted = bytearray(zeros[:len(chunk)])
            for offset, data in MARKERS:
                lo, hi = max(offset, at), min(offset + len(data), at + len(chunk))
                if lo < hi:
                    wanted[lo - at:hi - at] = data[lo - offset:hi - offset]
            if chunk != wanted:
                first = next(i for i in range(len(chunk)) if chunk[i] != wanted[i])
                return "differs at byte %d" % (at + first)
            at += len(chunk)
    return None


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        problem = check(sys.argv[2])
        print(problem or "same bytes as big.bin")
        sys.exit(1 if problem else 0)
    make(sys.argv[1])
