#!/usr/bin/env python3
"""Makes the ZIP archives the plug-in tests read, with Debian's zip, 7z and zstd, and unpacks the
reference copies with Debian's unzip and 7z.  Usage: make_fixtures.py OUTPUT_FOLDER

OUTPUT_FOLDER/
  input/tree/...          the files that were packed (known contents and times)
  *.zip, adjusted.exe     the archives
  expected/<archive>/...  what unzip made of an archive, file names turned into UTF-8 so
                          that Windows programs under Wine find them by their code page 932 names
  six-zip.zip, six-7z.zip the six names of tests/support/wide_names.py, by zip (UTF-8 unflagged)
                          and by 7z (flagged); deep.zip: its tree of a path of over 300 characters
"""
import bz2
import calendar
import lzma
import os
import random
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import wide_names  # noqa: E402

out = os.path.abspath(sys.argv[1])
BASE_TIME = 1615000000  # 2021-03-06 03:06:40 UTC

# Names in code page 932; 0x5C is the second byte of both "表" and "ソ".
SJIS_FOLDER = "ソフト".encode("cp932")
SJIS_FILE = "表ソ.txt".encode("cp932")


def run(*args, cwd=None, stdout=None):
    subprocess.run(args, cwd=cwd, stdout=stdout, check=True, env=dict(os.environ, LC_ALL="C"))


def write(path, data, stamp):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (stamp, stamp))


def make_tree(root):
    t = os.path.join(root, b"tree")
    rng = random.Random(7)
    write(os.path.join(t, b"readme.txt"), b"Varnito test archive\r\n" * 40, BASE_TIME)
    write(os.path.join(t, b"empty.txt"), b"", BASE_TIME + 2)
    write(os.path.join(t, b"odd-second.txt"), b"odd\n", BASE_TIME + 7)
    write(os.path.join(t, b"docs", b"nested", b"deep", b"note.txt"), b"deep inside\n" * 3, BASE_TIME + 100)
    write(os.path.join(t, SJIS_FOLDER, SJIS_FILE), "日本語の本文\r\n".encode("cp932") * 5, BASE_TIME + 200)
    big = bytearray()
    while len(big) < 3 * 1024 * 1024:
        big += b"line %08d of the big file\n" % len(big)
    big += rng.randbytes(2 * 1024 * 1024)
    write(os.path.join(t, b"big.bin"), bytes(big), BASE_TIME + 300)
    os.makedirs(os.path.join(t, b"emptyfolder"), exist_ok=True)
    # Folder times last, deepest first, once nothing more changes inside them.
    for folder, _, _ in sorted(os.walk(t), key=lambda w: -len(w[0])):
        os.utime(folder, (BASE_TIME + 1000, BASE_TIME + 1000))


def readable(name):
    try:
        return os.fsencode(name).decode("cp932")
    except UnicodeDecodeError:
        return name


def to_utf8_names(root):
    # Renaming inside a folder changes its time: note the times unzip set, rename, restore.
    times = {}
    for folder, dirs, _ in os.walk(root):
        for name in dirs:
            times[os.path.join(folder, name)] = os.stat(os.path.join(folder, name)).st_mtime
    for folder, dirs, files in os.walk(root, topdown=False):
        for name in dirs + files:
            if readable(name) != name:
                os.rename(os.path.join(folder, name), os.path.join(folder, readable(name)))
    for old in sorted(times, key=len, reverse=True):
        parts = os.path.relpath(old, root).split(os.sep)
        new = os.path.join(root, *[readable(p) for p in parts])
        os.utime(new, (times[old], times[old]))


def unzip_reference(archive, name):
    target = os.path.join(out, "expected", name)
    os.makedirs(target)
    run("unzip", "-q", "-o", os.path.join(out, archive), "-d", target)
    to_utf8_names(target)


def make_attribute_folders():
    """Folders as old PKZIP wrote them: no trailing '/', only the MS-DOS directory attribute."""
    stamp = (2001, 2, 3, 4, 5, 6)
    with zipfile.ZipFile(os.path.join(out, "attrdir.zip"), "w") as z:
        for name, attributes, data in (("OLDDIR", 0x10, b""), ("OLDDIR/SUB", 0x10, b""),
                                       ("OLDDIR/SUB/FILE.TXT", 0x20, b"in a folder\r\n"),
                                       ("EMPTY.TXT", 0x20, b""), ("ODD.DAT", 0x10, b"content wins\r\n")):
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 0
            info.external_attr = attributes
            z.writestr(info, data)


def local_record(name, method, crc, packed, size, flags=0, extra=b"", stamp=(0, 0x5221)):
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, stamp[0], stamp[1], crc, packed & 0xFFFFFFFF,
                       size & 0xFFFFFFFF, len(name), len(extra)) + name + extra


def central_record(name, method, crc, packed, size, offset, flags=0, extra=b"", stamp=(0, 0x5221)):
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, stamp[0], stamp[1], crc,
                       packed & 0xFFFFFFFF, size & 0xFFFFFFFF, len(name), len(extra), 0, 0, 0, 0,
                       offset & 0xFFFFFFFF) + name + extra


def end_record(count, directory, offset):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(directory), offset & 0xFFFFFFFF, 0)


def raw_deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return packer.compress(data) + packer.flush()


def stored_block_header(length):
    """A deflate block that is not the last, of `length` bytes stored as they are."""
    return struct.pack("<BHH", 0, length, length ^ 0xFFFF)


def make_quoted_overlap():
    """A zip bomb of the kind whose every entry's data runs over the next entry's local header:
    each entry's deflate stream quotes the next local header in a stored block and goes on into
    the next entry's data, down to one kernel of zeros that all of them share."""
    kernel_data = bytes(1 << 20)
    kernel = raw_deflate(kernel_data)
    count = 4
    headers, outputs = [None] * count, [None] * count
    # From the last entry back: an entry's output is the headers it quotes, then the kernel's.
    packed, output = kernel, kernel_data
    for i in reversed(range(count)):
        headers[i] = local_record(b"%d.bin" % i, 8, zlib.crc32(output), len(packed), len(output))
        outputs[i] = output
        packed, output = stored_block_header(len(headers[i])) + headers[i] + packed, headers[i] + output
    archive, directory = b"", b""
    for i in range(count):
        directory += central_record(b"%d.bin" % i, 8, zlib.crc32(outputs[i]), struct.unpack("<I", headers[i][18:22])[0],
                                    len(outputs[i]), len(archive))
        archive += headers[i] + (stored_block_header(len(headers[i + 1])) if i + 1 < count else kernel)
    with open(os.path.join(out, "quoted-overlap.zip"), "wb") as f:
        f.write(archive + directory + end_record(count, directory, len(archive)))


def make_impossible_claims():
    """One small valid stream of each packed method, each entry claiming 3 GiB of output."""
    data = random.Random(5).randbytes(60) + b"repeated " * 4
    alone = lzma.compress(data, format=lzma.FORMAT_ALONE)  # 5 property bytes, 8-byte size, the stream
    zstd = subprocess.run(["zstd", "-q", "-c"], input=data, stdout=subprocess.PIPE, check=True).stdout
    streams = [(b"deflate.bin", 8, 0, raw_deflate(data)), (b"deflate64.bin", 9, 0, raw_deflate(data)),
               (b"bzip2.bin", 12, 0, bz2.compress(data)),
               (b"lzma.bin", 14, 2, b"\x09\x14\x05\x00" + alone[:5] + alone[13:]),  # with its end marker
               (b"xz.bin", 95, 0, lzma.compress(data)), (b"zstd.bin", 93, 0, zstd)]
    archive, directory = b"", b""
    for name, method, flags, packed in streams:
        directory += central_record(name, method, zlib.crc32(data), len(packed), 3 << 30, len(archive), flags)
        archive += local_record(name, method, zlib.crc32(data), len(packed), 3 << 30, flags) + packed
    with open(os.path.join(out, "claims.zip"), "wb") as f:
        f.write(archive + directory + end_record(len(streams), directory, len(archive)))


CUT_STORED_SIZE = (4 << 30) + 100
CUT_STORED_MARKERS = [(0, b"big.bin starts here"), ((4 << 30) - 8, b"across the 4 GiB line"),
                      (CUT_STORED_SIZE - 16, b"big.bin ends.\r\n!")]


def zstd_of_zeros(total):
    """A Zstandard frame of `total` zero bytes in blocks that each repeat one byte 128 KiB times
    (the most a block may hold); no content size, no checksum, a window of 128 KiB."""
    block = 128 << 10
    frame = struct.pack("<IBB", 0xFD2FB528, 0x00, 7 << 3)
    full, rest = divmod(total, block)
    frame += (struct.pack("<I", (block << 3) | (1 << 1))[:3] + b"\0") * full
    return frame + struct.pack("<I", (rest << 3) | (1 << 1) | 1)[:3] + b"\0"


def make_cut_sizes():
    """Entries of 4 GiB and 1000 zero bytes, deflated and in Zstandard, whose sizes are cut to
    32 bits without a ZIP64 field, as old writers did; then a small entry. No tool writes this,
    so it is made here: the deflate stream of identical blocks after full flushes, one per MiB,
    the Zstandard one of blocks repeating a byte."""
    chunk, total = 1 << 20, (4 << 30) + 1000
    packer = zlib.compressobj(6, zlib.DEFLATED, -15)
    first = packer.compress(bytes(chunk)) + packer.flush(zlib.Z_FULL_FLUSH)
    steady = packer.compress(bytes(chunk)) + packer.flush(zlib.Z_FULL_FLUSH)
    data = first + steady * (total // chunk - 1) + packer.compress(bytes(total % chunk)) + packer.flush()
    crc = zeros_crc(total)
    after = b"after the large entry\n"
    entries = [(b"zeros.bin", 8, crc, total, data), (b"zeros-zstd.bin", 93, crc, total, zstd_of_zeros(total)),
               (b"after.txt", 0, zlib.crc32(after), len(after), after)]
    archive, directory = b"", b""
    for name, method, crc, size, body in entries:
        directory += central_record(name, method, crc, len(body), size, len(archive))
        archive += local_record(name, method, crc, len(body), size) + body
    with open(os.path.join(out, "cut-sizes.zip"), "wb") as f:
        f.write(archive + directory + end_record(len(entries), directory, len(archive)))


def zeros_crc(total, markers=()):
    crc, at, zeros = 0, 0, bytes(1 << 24)
    for offset, data in list(markers) + [(total, b"")]:
        while at < offset:
            n = min(len(zeros), offset - at)
            crc = zlib.crc32(zeros[:n], crc)
            at += n
        crc = zlib.crc32(data, crc)
        at += len(data)
    return crc


def make_cut_stored():
    """A stored entry of 4 GiB and 100 bytes, last in the archive, whose sizes (and the
    directory's offset) its writer cut to 32 bits without ZIP64 fields; zeros but for marker
    bytes, written sparse, so that only the headers and markers take disk space."""
    before = b"before the large entry\n"
    first = local_record(b"before.txt", 0, zlib.crc32(before), len(before), len(before)) + before
    crc = zeros_crc(CUT_STORED_SIZE, CUT_STORED_MARKERS)
    big = local_record(b"big.bin", 0, crc, CUT_STORED_SIZE, CUT_STORED_SIZE)
    data_start = len(first) + len(big)
    directory = (central_record(b"before.txt", 0, zlib.crc32(before), len(before), len(before), 0)
                 + central_record(b"big.bin", 0, crc, CUT_STORED_SIZE, CUT_STORED_SIZE, len(first)))
    with open(os.path.join(out, "cut-stored.zip"), "wb") as f:
        f.write(first + big)
        for offset, data in CUT_STORED_MARKERS:
            f.seek(data_start + offset)
            f.write(data)
        f.seek(data_start + CUT_STORED_SIZE)
        f.write(directory + end_record(2, directory, data_start + CUT_STORED_SIZE))


def make_time_shapes():
    """Entries whose central record and local header hold different time fields, each field
    another time: an NTFS field in the central record and a Unix field in the local header, as
    some archivers write them, and the reverse. expected/times.txt gives for each entry its DOS
    time and the times unzip, 7z and bsdtar extract it with, a line each: name, then the four
    as seconds since 1970 (the DOS time read as UTC, as the tools here read it)."""
    ntfs_time, old_time, ut_time = BASE_TIME + 10000, BASE_TIME + 20000, BASE_TIME + 30000
    ntfs_ticks = (ntfs_time + 11644473600) * 10000000
    ntfs = struct.pack("<HHIHHQQQ", 0x000A, 32, 0, 1, 24, ntfs_ticks, ntfs_ticks, ntfs_ticks)
    old = struct.pack("<HHII", 0x5855, 8, old_time + 5, old_time)  # access, then modification time
    ut = struct.pack("<HHBI", 0x5455, 5, 1, ut_time)
    dos = ((4 << 11) | (5 << 5) | 3, ((2001 - 1980) << 9) | (2 << 5) | 3)  # 2001-02-03 04:05:06
    shapes = [(b"ntfs-central-old-local.txt", ntfs, old), (b"old-central-ntfs-local.txt", old, ntfs),
              (b"ntfs-central-ut-local.txt", ntfs, ut), (b"ut-central-ntfs-local.txt", ut, ntfs),
              (b"old-local-only.txt", b"", old)]
    archive, directory = b"", b""
    for name, central, local in shapes:
        data = name + b"\n"
        directory += central_record(name, 0, zlib.crc32(data), len(data), len(data), len(archive), extra=central,
                                    stamp=dos)
        archive += local_record(name, 0, zlib.crc32(data), len(data), len(data), extra=local, stamp=dos) + data
    path = os.path.join(out, "times.zip")
    with open(path, "wb") as f:
        f.write(archive + directory + end_record(len(shapes), directory, len(archive)))

    expected = os.path.join(out, "expected", "times")
    commands = {"unzip": ["unzip", "-q", "-o", path, "-d"], "7z": ["7z", "x", "-bd", "-y", path, "-o"],
                "bsdtar": ["bsdtar", "-xf", path, "-C"]}
    for tool, command in commands.items():
        folder = os.path.join(expected, tool)
        os.makedirs(folder)
        arguments = command[:-1] + [command[-1] + folder] if tool == "7z" else command + [folder]
        subprocess.run(arguments, stdout=subprocess.DEVNULL, check=True, env=dict(os.environ, TZ="UTC"))
    dos_seconds = calendar.timegm((2001, 2, 3, 4, 5, 6))
    with open(os.path.join(out, "expected", "times.txt"), "w") as f:
        for name, _, _ in shapes:
            times = [int(os.stat(os.path.join(expected, tool, name.decode())).st_mtime) for tool in commands]
            f.write(" ".join([name.decode(), str(dos_seconds)] + [str(t) for t in times]) + "\n")


def make_zips_behind_archives(inp):
    """small.zip behind an archive of each kind another plug-in reads: zip-behind.gz, .bz2, .xz,
    .zst, .7z and .lzh, the ZIP's offsets counting from its own start."""
    readme = os.path.join(inp, "tree", "readme.txt")
    packed = {ext: subprocess.run([tool, "-c", readme], stdout=subprocess.PIPE, check=True).stdout
              for ext, tool in ((".gz", "gzip"), (".bz2", "bzip2"), (".xz", "xz"), (".zst", "zstd"))}
    run("7z", "a", "-bd", os.path.join(out, "front.7z"), "tree/readme.txt", cwd=inp, stdout=subprocess.DEVNULL)
    subprocess.run(["jlha", "c2o5q", os.path.join(out, "front.lzh"), "tree/readme.txt"], cwd=inp, check=True,
                   stdout=subprocess.DEVNULL)
    for ext in (".7z", ".lzh"):
        with open(os.path.join(out, "front" + ext), "rb") as f:
            packed[ext] = f.read()
        os.remove(os.path.join(out, "front" + ext))
    with open(os.path.join(out, "small.zip"), "rb") as f:
        zip_bytes = f.read()
    for ext, front in packed.items():
        with open(os.path.join(out, "zip-behind" + ext), "wb") as f:
            f.write(front + zip_bytes)


def zstd_zip(inp):
    """method-zstd.zip, written field by field (neither zip nor 7z here writes Zstandard): each
    file packed by Debian's zstd, with method 93, or 20 as some programs wrote it before 93 was
    assigned. Its reference copy is the packed files themselves."""
    local, central = b"", b""
    members = (("tree/readme.txt", 20), ("tree/big.bin", 93), ("tree/empty.txt", 93))
    for name, method in members:
        with open(os.path.join(inp, name), "rb") as f:
            data = f.read()
        packed = subprocess.run(["zstd", "-q", "-c"], input=data, stdout=subprocess.PIPE, check=True).stdout
        fields = (method, 0x6000, 0x5266, zlib.crc32(data), len(packed), len(data), len(name))
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 63, 63, 0, *fields, 0, 0, 0, 0, 0x20,
                               len(local)) + name.encode()
        local += struct.pack("<IHHHHHIIIHH", 0x04034B50, 63, 0, *fields, 0) + name.encode() + packed
        write(os.path.join(out, "expected", "method-zstd", name), data, BASE_TIME)
    with open(os.path.join(out, "method-zstd.zip"), "wb") as f:
        f.write(local + central + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members),
                                              len(central), len(local), 0))


def make_linux_names(inp):
    """Names as zip on Linux stores them in a UTF-8 locale: UTF-8 with neither the flag nor a
    Unicode path field; one decomposed (as a Mac writes it), some with characters code page 932 lacks. The
    expected tree holds each file under the name Windows should get."""
    names = [("\u304c.txt", "\u304c.txt"), ("\u304f\u3099.txt", "\u3050.txt"), ("caf\u00e9.txt", "caf_.txt"),
             ("\ud55c\uad6d\uc5b4.txt", "___.txt"),
             ("\u65e5\u672c\u8a9e/\u30e1\u30e2.txt", "\u65e5\u672c\u8a9e/\u30e1\u30e2.txt")]
    expected = os.path.join(out, "expected", "linux-names")
    for number, (stored, shown) in enumerate(names):
        data = ("file %d: %s\n" % (number, stored)).encode()
        write(os.path.join(inp, "names", stored), data, BASE_TIME + number)
        write(os.path.join(expected, "names", shown), data, BASE_TIME + number)
    for root in (inp, expected):
        for folder in ("names/\u65e5\u672c\u8a9e", "names"):
            os.utime(os.path.join(root, folder), (BASE_TIME + 1000, BASE_TIME + 1000))
    subprocess.run(["zip", "-q", "-r", os.path.join(out, "linux-names.zip"), "names"], cwd=inp, check=True,
                   env=dict(os.environ, LC_ALL="C.UTF-8"))


def wide_names_zips(inp):
    wide_names.write_six(inp, BASE_TIME + 7000)
    wide_names.write_deep(inp, BASE_TIME + 7100)
    utf8 = dict(os.environ, LC_ALL="C.UTF-8")
    subprocess.run(["zip", "-q", "-r", os.path.join(out, "six-zip.zip"), wide_names.SIX_FOLDER], cwd=inp, check=True,
                   env=utf8)
    subprocess.run(["7z", "a", "-bd", "-tzip", os.path.join(out, "six-7z.zip"), wide_names.SIX_FOLDER], cwd=inp,
                   check=True, env=utf8, stdout=subprocess.DEVNULL)
    subprocess.run(["zip", "-q", "-r", os.path.join(out, "deep.zip"), "deep"], cwd=inp, check=True, env=utf8)


def main():
    shutil.rmtree(out, ignore_errors=True)
    inp = os.path.join(out, "input")
    os.makedirs(inp)
    make_tree(os.fsencode(inp))

    z = lambda name, *args: run("zip", "-q", "-r", *args, os.path.join(out, name), "tree", cwd=inp)
    z("tree.zip")                      # deflated, with exact times
    z("stored.zip", "-0")              # stored
    run("zip", "-q", "-r", os.path.join(out, "small.zip"), "tree", "-x", "tree/big.bin", cwd=inp)
    z("dostime.zip", "-X")             # no extra fields: DOS times only
    z("descriptor.zip", "-fd")         # data descriptors behind every entry
    with open(os.path.join(out, "streamed.zip"), "wb") as f:   # written to a pipe
        run("zip", "-q", "-r", "-", "tree", cwd=inp, stdout=f)
    with open(os.path.join(out, "stdin.zip"), "wb") as f:     # from a pipe: ZIP64 end records
        subprocess.run(["zip", "-q", "-", "-"], input=b"read from a pipe\n", stdout=f, check=True)
    run("zip", "-q", "-P", "secret", os.path.join(out, "encrypted.zip"), "tree/readme.txt", cwd=inp)
    # The whole tree encrypted: by zip -P (ZipCrypto; the password パス in UTF-8, as zip on Linux
    # takes it, and "Secret1" written to a pipe, with data descriptors) and by 7z (WinZip AES).
    run("zip", "-q", "-r", "-P", "パス", os.path.join(out, "pw-zipcrypto.zip"), "tree", cwd=inp)
    with open(os.path.join(out, "pw-streamed.zip"), "wb") as f:
        run("zip", "-q", "-r", "-P", "Secret1", "-", "tree", cwd=inp, stdout=f)
    for bits in ("128", "256"):
        run("7z", "a", "-bd", "-tzip", "-pSecret1", "-mem=AES" + bits, os.path.join(out, "pw-aes%s.zip" % bits),
            "tree", cwd=inp, stdout=subprocess.DEVNULL)
    run("zip", "-q", "-Z", "bzip2", os.path.join(out, "bzip2.zip"), "tree/readme.txt", cwd=inp)
    with open(os.path.join(out, "comment.zip.txt"), "w") as f:
        f.write("an archive comment\n")
    with open(os.path.join(out, "comment.zip.txt")) as f:
        subprocess.run(["zip", "-q", "-z", os.path.join(out, "comment.zip"), "tree/readme.txt"],
                       cwd=inp, stdin=f, check=True)

    # Bytes in front of an archive whose offsets do not count them (a self-extractor's stub).
    with open(os.path.join(out, "prefixed.zip"), "wb") as f:
        f.write(b"MZ" + b"\0" * 4094)
        with open(os.path.join(out, "tree.zip"), "rb") as g:
            f.write(g.read())

    # The same bytes with the offsets counted from the start of the file (zip -A).
    shutil.copyfile(os.path.join(out, "prefixed.zip"), os.path.join(out, "adjusted.exe"))
    run("zip", "-q", "-A", os.path.join(out, "adjusted.exe"))

    # A TAR whose last member is a ZIP, and a ZIP behind a script, its offsets counting from
    # the start of the archive and (zip -A) from the start of the file.
    shutil.copyfile(os.path.join(out, "small.zip"), os.path.join(inp, "member.zip"))
    run("tar", "-cf", os.path.join(out, "zip-last.tar"), "tree/readme.txt", "member.zip", cwd=inp)
    with open(os.path.join(out, "text-prefixed.zip"), "wb") as f:
        f.write(b"#!/bin/sh\necho not a program header\nexit 0\n")
        with open(os.path.join(out, "small.zip"), "rb") as g:
            f.write(g.read())
    shutil.copyfile(os.path.join(out, "text-prefixed.zip"), os.path.join(out, "text-adjusted.zip"))
    run("zip", "-q", "-A", os.path.join(out, "text-adjusted.zip"))
    make_zips_behind_archives(inp)

    # Times only in Info-ZIP's old Unix field (0x5855: access, then modification time), and
    # in both that field and an extended timestamp; the DOS times say something else.
    with zipfile.ZipFile(os.path.join(out, "oldunix.zip"), "w") as u:
        old_field = struct.pack("<HHII", 0x5855, 8, BASE_TIME + 5000, BASE_TIME + 4000)
        info = zipfile.ZipInfo("old-unix.txt", (2001, 2, 3, 4, 5, 6))
        info.extra = old_field
        u.writestr(info, "old field\n")
        info = zipfile.ZipInfo("both.txt", (2001, 2, 3, 4, 5, 6))
        info.extra = struct.pack("<HHBI", 0x5455, 5, 1, BASE_TIME + 6000) + old_field
        u.writestr(info, "both fields\n")

    make_attribute_folders()
    make_linux_names(inp)
    make_cut_sizes()
    make_cut_stored()
    make_quoted_overlap()
    make_impossible_claims()
    make_time_shapes()
    wide_names_zips(inp)

    # Names flagged as UTF-8 (Debian's zip never sets the flag, Python's zipfile does).
    with zipfile.ZipFile(os.path.join(out, "utf8.zip"), "w", zipfile.ZIP_DEFLATED) as u:
        u.writestr(zipfile.ZipInfo("utf8/日本語ファイル.txt", (2022, 5, 6, 7, 8, 10)), "UTF-8 name\n")
        u.writestr(zipfile.ZipInfo("utf8/smile😀.txt", (2022, 5, 6, 7, 8, 12)), "no such character\n")
    zipfile.ZipFile(os.path.join(out, "empty.zip"), "w").close()

    for name in ("tree", "dostime"):
        unzip_reference(name + ".zip", name)
    unzip_reference("bzip2.zip", "bzip2")

    # The methods of the codec library as 7-Zip writes them (LZMA with and without its end
    # marker), and what 7-Zip extracts from them.
    files = ["tree/readme.txt", "tree/empty.txt", "tree/big.bin", "tree/docs"]
    for name, switches in (("deflate64", ["-mm=Deflate64"]), ("bzip2", ["-mm=BZip2"]), ("lzma", ["-mm=LZMA"]),
                           ("lzma-sized", ["-mm=LZMA", "-meos=off"]), ("xz", ["-mm=XZ"])):
        archive = os.path.join(out, "method-%s.zip" % name)
        run("7z", "a", "-bd", "-tzip", *switches, archive, *files, cwd=inp, stdout=subprocess.DEVNULL)
        run("7z", "x", "-bd", "-o" + os.path.join(out, "expected", "method-" + name), archive,
            stdout=subprocess.DEVNULL)
    zstd_zip(inp)
    run("7z", "a", "-bd", "-tzip", "-mm=PPMd", os.path.join(out, "ppmd.zip"), "tree/readme.txt", cwd=inp,
        stdout=subprocess.DEVNULL)
    open(os.path.join(out, "made"), "w").close()  # the build's mark that all is there


main()
