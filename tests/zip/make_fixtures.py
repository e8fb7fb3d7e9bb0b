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


def make_cut_sizes():
    """An entry of 4 GiB and 1000 zero bytes, deflated, whose sizes are cut to 32 bits without
    a ZIP64 field, as old writers did; then a small entry. No tool writes this, so it is made
    here: identical deflate blocks after full flushes, one per MiB."""
    chunk, total = 1 << 20, (4 << 30) + 1000
    packer = zlib.compressobj(6, zlib.DEFLATED, -15)
    first = packer.compress(bytes(chunk)) + packer.flush(zlib.Z_FULL_FLUSH)
    steady = packer.compress(bytes(chunk)) + packer.flush(zlib.Z_FULL_FLUSH)
    data = first + steady * (total // chunk - 1) + packer.compress(bytes(total % chunk)) + packer.flush()
    crc, left = 0, total
    while left:
        crc = zlib.crc32(bytes(min(left, 1 << 24)), crc)
        left -= min(left, 1 << 24)
    after = b"after the large entry\n"
    entries = [(b"zeros.bin", 8, crc, len(data), total, data),
               (b"after.txt", 0, zlib.crc32(after), len(after), len(after), after)]
    archive, directory = b"", b""
    for name, method, crc, packed, size, body in entries:
        fields = struct.pack("<HHHHIII", 0, method, 0, 0x5221, crc, packed & 0xFFFFFFFF, size & 0xFFFFFFFF)
        directory += (struct.pack("<IHH", 0x02014B50, 20, 20) + fields
                      + struct.pack("<HHHHHII", len(name), 0, 0, 0, 0, 0, len(archive)) + name)
        archive += struct.pack("<IH", 0x04034B50, 20) + fields + struct.pack("<HH", len(name), 0) + name + body
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 2, 2, len(directory), len(archive), 0)
    with open(os.path.join(out, "cut-sizes.zip"), "wb") as f:
        f.write(archive + directory + end)


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
