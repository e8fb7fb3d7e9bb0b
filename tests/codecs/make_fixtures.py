#!/usr/bin/env python3
"""Makes the packed streams the codec tests read, with Debian's gzip, bzip2, xz, zstd and 7z, and checks
that those tools unpack each of them to the original.  Usage: make_fixtures.py OUTPUT_FOLDER

OUTPUT_FOLDER/data.bin and the streams: *.gz, *.bz2, *.xz (some with branch converters), *.lzma (5 property bytes, 8-byte size,
raw LZMA), data.lzma2 (raw, 1 MiB dictionary), data.deflate64 (raw, from a ZIP made by 7z), *.zst.
"""
import os
import random
import shutil
import struct
import subprocess
import sys
import zipfile

out = os.path.abspath(sys.argv[1])


def run(*args, stdin=None, stdout=None):
    return subprocess.run(args, cwd=out, stdin=stdin, stdout=stdout, check=True).stdout


def pack(name, *command):
    with open(os.path.join(out, "data.bin"), "rb") as source, open(os.path.join(out, name), "wb") as target:
        subprocess.run(command, stdin=source, stdout=target, check=True)


def make_data():
    rng = random.Random(3)
    words = [bytes(rng.choice(b"abcdefghijklmnop") for _ in range(rng.randint(1, 9))) for _ in range(4000)]
    data = bytearray()
    while len(data) < 1200000:
        data += b" ".join(rng.choices(words, k=3000)) + b"\n"
        data += rng.randbytes(rng.randint(1000, 20000))
        # Runs around the lengths that bzip2's run coding treats specially.
        data += bytes([rng.randrange(256)]) * rng.choice([3, 4, 5, 258, 259, 260, 5000])
    return bytes(data)


def deflate64_stream():
    run("7z", "a", "-bd", "-tzip", "-mm=Deflate64", "d64.zip", "data.bin", stdout=subprocess.DEVNULL)
    with zipfile.ZipFile(os.path.join(out, "d64.zip")) as archive:
        info = archive.infolist()[0]
    with open(os.path.join(out, "d64.zip"), "rb") as f:
        f.seek(info.header_offset)
        name_length, extra_length = struct.unpack("<HH", f.read(30)[26:30])
        f.seek(info.header_offset + 30 + name_length + extra_length)
        return f.read(info.compress_size)


def main():
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    data = make_data()
    with open(os.path.join(out, "data.bin"), "wb") as f:
        f.write(data)
    open(os.path.join(out, "empty.bin"), "wb").close()

    pack("data.bz2", "bzip2", "-9")
    pack("data-1.bz2", "bzip2", "-1")    # blocks of 100 kB: many blocks
    run("sh", "-c", "bzip2 < empty.bin > empty.bz2")
    for check in ("none", "crc32", "crc64", "sha256"):
        pack("data-%s.xz" % check, "xz", "-T1", "--check=" + check)
    pack("data-delta.xz", "xz", "-T1", "--delta=dist=3", "--lzma2=preset=1")
    pack("data-blocks.xz", "xz", "-T1", "--block-size=100000")
    pack("data-x86.xz", "xz", "-T1", "--x86", "--lzma2=preset=1")
    pack("data-arm64.xz", "xz", "-T1", "--arm64", "--lzma2=preset=1")
    pack("data.gz", "gzip", "-6")
    run("sh", "-c", "xz < empty.bin > empty.xz")
    pack("data.lzma", "xz", "--format=lzma")
    pack("data.lzma2", "xz", "--format=raw", "--lzma2=dict=1MiB")
    with open(os.path.join(out, "data.deflate64"), "wb") as f:
        f.write(deflate64_stream())
    pack("data-1.zst", "zstd", "-1")
    # Packed from the file, so that the frame states the content size (and no window of its own).
    run("zstd", "-q", "-19", "data.bin", "-o", "data-19.zst")
    pack("data-nocheck.zst", "zstd", "--no-check")
    # From a pipe, zstd knows no size: the frame declares its whole window (128 MiB) instead.
    pack("data-long.zst", "zstd", "--long=27")
    # A window of 128 KiB, far smaller than the data: matches reach back across the ring's end.
    pack("data-window.zst", "zstd", "-3", "--zstd=wlog=17")
    run("sh", "-c", "zstd < empty.bin > empty.zst")

    def read(name):
        with open(os.path.join(out, name), "rb") as f:
            return f.read()

    # Two streams one after the other (xz with stream padding between them).
    with open(os.path.join(out, "two.bz2"), "wb") as f:
        f.write(read("data-1.bz2") + read("data.bz2"))
    with open(os.path.join(out, "two.gz"), "wb") as f:
        f.write(read("data.gz") + read("data.gz"))
    # A skippable frame (magic 0x184D2A5?, size, bytes) between two frames.
    with open(os.path.join(out, "two.zst"), "wb") as f:
        f.write(read("data-1.zst") + struct.pack("<II", 0x184D2A53, 5) + b"skip!" + read("data-nocheck.zst"))
    with open(os.path.join(out, "two.xz"), "wb") as f:
        f.write(read("data-crc32.xz") + b"\0" * 12 + read("data-sha256.xz"))
    # The LZMA stream with its size stated (xz writes "unknown" and an end marker).
    lzma = read("data.lzma")
    with open(os.path.join(out, "data-sized.lzma"), "wb") as f:
        f.write(lzma[:5] + struct.pack("<Q", len(data)) + lzma[13:])

    # 64 MiB of zeros as densely as each tool packs them: what the method table's bound on output
    # per packed byte must allow.
    with open(os.path.join(out, "zeros.bin"), "wb") as f:
        f.write(bytes(64 << 20))
    for name, command in (("zeros.gz", ["gzip", "-9n"]), ("zeros.bz2", ["bzip2", "-9"]),
                          ("zeros.xz", ["xz", "-9e", "-T1"]), ("zeros.zst", ["zstd", "-q", "--ultra", "-22"])):
        with open(os.path.join(out, "zeros.bin"), "rb") as source, open(os.path.join(out, name), "wb") as target:
            subprocess.run(command + ["-c"], stdin=source, stdout=target, check=True)
    os.remove(os.path.join(out, "zeros.bin"))

    # What the reference tools make of them.
    for name, tool in (("data.bz2", "bzip2"), ("two.bz2", "bzip2"), ("two.gz", "gzip"), ("data-arm64.xz", "xz"), ("data-sha256.xz", "xz"), ("two.xz", "xz"),
                       ("data-delta.xz", "xz"), ("data.lzma", "xz"),
                       ("data-long.zst", "zstd"), ("data-window.zst", "zstd"), ("two.zst", "zstd")):
        unpacked = run(tool, "-dc", *(["--long=27"] if name == "data-long.zst" else []), name, stdout=subprocess.PIPE)
        assert unpacked == data * (2 if name.startswith("two") else 1), name + " does not unpack to the data"
    assert run("7z", "e", "-so", "d64.zip", stdout=subprocess.PIPE) == data
    open(os.path.join(out, "made"), "w").close()  # the build's mark that all is there


main()
