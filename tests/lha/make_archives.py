#!/usr/bin/env python3
"""Makes the LHA test archives with Debian's jlha and their reference extraction with lhasa.

Usage: make_archives.py OUTPUT_FOLDER

OUTPUT_FOLDER receives l{0,1,2}-lh{5,6,7}.lzh and dbcs-l{0,1,2}.lzh, and for each archive NAME
a manifest NAME.ref and a folder NAME.files. Each manifest line describes what lhasa extracted:
  F <name in hex> <size> <mtime> <index>   a file, its bytes in NAME.files/<index>
  D <name in hex>                          a folder
Names are the stored bytes (code page 932) with '\\' between folders; folders end in '\\'.
The files hold the bytes so that a Windows program can read them whatever their names.

The dbcs-* archives hold names whose double-byte characters end in 0x5C, the byte of '\\'.
lhasa takes that byte for a folder separator in level 0 and 1 names, so their manifests
describe the files the archives were made from instead.

No Debian tool writes what LHa for UNIX writes, nor level 3 headers, so these are made here:
  unix-l{0,1,2}.lzh  UTC times beside MS-DOS times of another zone (level 0's extended area,
                     level 1's 0x54 header) and symbolic links ("name|target" folder entries)
  l3-lh5.lzh         l2-lh5.lzh with each header rewritten as level 3 (4-byte sizes)
A symbolic link lhasa made is a manifest line
  L <name in hex> <target in hex>
"""
import os
import shutil
import struct
import subprocess
import sys

SJIS_ENV = dict(os.environ, LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")


def words_text(size, seed):
    """Compressible text: words from a small vocabulary in a repeatable pseudo-random order."""
    vocabulary = [b"lorem", b"ipsum", b"dolor", b"archive", b"varnito", b"huffman", b"window",
                  b"\x82\xa0\x82\xa2", b"\x93\xfa\x96\x7b", b"0123456789", b"\n", b"  "]
    out = bytearray()
    state = seed
    while len(out) < size:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out += vocabulary[(state >> 16) % len(vocabulary)]
        if (state >> 8) % 97 == 0:   # now and then a long repeat from far back
            start = (state >> 4) % max(1, len(out))
            out += out[start:start + 200]
    return bytes(out[:size])


def random_bytes(size, seed):
    out = bytearray()
    state = seed
    for _ in range(size):
        state = (state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        out.append(state >> 56)
    return bytes(out)


def write_files(root, files, stamp):
    """Writes the files, each with its own modification time (even seconds: MS-DOS times)."""
    for i, (name, data) in enumerate(sorted(files.items())):
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        when = stamp + i * 86400 * 17 + i * 2
        os.utime(path, (when, when))


def make_tree(root):
    files = {
        "a.txt": b"hello hello hello world\n",
        "empty.bin": b"",
        "日本.txt": b"\x93\xfa\x96\x7b\x8c\xea\r\n",
        "dir/sub/numbers.txt": b"".join(b"%d\n" % i for i in range(3000)),
        "dir/資料/data.txt": words_text(20000, 7),
        "dir/noise.dat": random_bytes(70000, 3),
        "big.txt": words_text(3 * 1024 * 1024 + 12345, 1),
    }
    write_files(root, files, 1552576166)   # 2019-03-14 15:09:26 UTC, then weeks apart
    return ["a.txt", "empty.bin", "日本.txt", "big.txt", "dir"]


def make_dbcs_tree(root):
    files = {
        "表示/ソース.txt": words_text(5000, 11),   # 表 is 0x95 0x5C, ソ is 0x83 0x5C
        "表示/readme.txt": b"plain name in a folder named with 0x5C\r\n",
    }
    write_files(root, files, 1600000000)
    return ["表示"]


def jlha(options, archive, items, cwd):
    subprocess.run(["jlha", options, archive] + items, cwd=cwd, env=SJIS_ENV, check=True, stdout=subprocess.DEVNULL)


def stored_name(relative, from_source):
    """The name as the archive stores it: lhasa writes the stored bytes, the source tree
    has UTF-8 names that jlha stores in code page 932."""
    raw = relative.encode("cp932") if from_source else os.fsencode(relative)
    return raw.replace(b"/", b"\\")


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def dos_time(year, month, day, hour, minute, second):
    return (year - 1980) << 25 | month << 21 | day << 16 | hour << 11 | minute << 5 | second // 2


def chain(extensions, width):
    """Extended headers (type and data each), each followed by the size of the next one."""
    sizes = [len(e) + width for e in extensions] + [0]
    return sizes[0], b"".join(e + sizes[i + 1].to_bytes(width, "little") for i, e in enumerate(extensions))


def level0(name, data, stamp, unix_area=b"", method=b"-lh0-"):
    body = (method + struct.pack("<IIIBB", len(data), len(data), stamp, 0x20, 0) + bytes([len(name)]) + name
            + struct.pack("<H", crc16(data)) + unix_area)
    return bytes([len(body), sum(body) & 0xFF]) + body + data


def level1(name, data, stamp, extensions, method=b"-lh0-"):
    first, exts = chain(extensions, 2)
    body = (method + struct.pack("<IIIBB", len(data) + len(exts), len(data), stamp, 0x20, 1) + bytes([len(name)])
            + name + struct.pack("<H", crc16(data)) + b"U" + struct.pack("<H", first))
    return bytes([len(body), sum(body) & 0xFF]) + body + exts + data


def long_header(level, method, packed, size, stamp, crc, extensions):
    """A level 2 or 3 header whose first extended header holds the header's own CRC."""
    width = 2 if level == 2 else 4
    fixed = 26 if level == 2 else 32
    first, exts = chain([b"\0\0\0"] + extensions, width)
    total = fixed + len(exts)
    lead = struct.pack("<H", total) if level == 2 else struct.pack("<H", 4)
    tail = struct.pack("<H", first) if level == 2 else struct.pack("<II", total, first)
    fields = struct.pack("<IIIBBH", packed, size, stamp, 0x20, level, crc)
    header = bytearray(lead + method + fields + b"U" + tail + exts)
    header[fixed + 1:fixed + 3] = struct.pack("<H", crc16(bytes(header)))
    return bytes(header)


def unix_members(level):
    """A file with both times, a file with the MS-DOS time alone, a folder, and in it a link
    to the first file, its name divided at the last '/' as LHa for UNIX divides it."""
    utc = 1600000001                                    # 2020-09-13 12:26:41 UTC
    tokyo = dos_time(2020, 9, 13, 21, 26, 42)           # the same moment on a clock in Tokyo
    other = dos_time(2001, 2, 3, 4, 5, 6)
    link_mode = struct.pack("<H", 0o120777)
    text, old = b"written on UNIX\n", b"only an MS-DOS time\n"
    if level == 0:
        area = b"U\0" + struct.pack("<I", utc)
        return (level0(b"unix.txt", text, tokyo, area + struct.pack("<HHH", 0o100644, 1000, 1000))
                + level0(b"dos.txt", old, other)
                + level0(b"sub\\link|..\\unix.txt", b"", tokyo, area + link_mode + b"\xe8\x03\xe8\x03", b"-lhd-"))
    if level == 1:
        stamp = b"\x54" + struct.pack("<I", utc)
        return (level1(b"unix.txt", text, tokyo, [stamp])
                + level1(b"dos.txt", old, other, [])
                + level1(b"", b"", tokyo, [stamp, b"\x02sub\xff"], b"-lhd-")
                + level1(b"unix.txt", b"", tokyo, [stamp, b"\x50" + link_mode, b"\x02sub\xfflink|..\xff"], b"-lhd-"))
    return (long_header(2, b"-lh0-", len(text), len(text), utc, crc16(text), [b"\x01unix.txt"]) + text
            + long_header(2, b"-lhd-", 0, 0, utc, 0, [b"\x02sub\xff"])
            + long_header(2, b"-lhd-", 0, 0, utc, 0, [b"\x01unix.txt", b"\x02sub\xfflink|..\xff", b"\x50" + link_mode]))


# Members stored under UTF-8 names, as LHA archivers on UNIX systems write them: stored name,
# then the name Windows should get (composed; '_' for what code page 932 lacks; kept apart).
UTF8_NAMES = [("\u304c.txt", "\u304c.txt"), ("\u304f\u3099.txt", "\u3050.txt"), ("caf\u00e9.txt", "caf_.txt"),
              ("caf\u00e8.txt", "caf_~2.txt"), ("\ud55c\uad6d\uc5b4.txt", "___.txt"), ("plain.txt", "plain.txt")]


def utf8_members():
    stamp = dos_time(2020, 4, 5, 6, 7, 8)
    return b"".join(level0(stored.encode(), ("member %d\n" % i).encode(), stamp)
                    for i, (stored, _) in enumerate(UTF8_NAMES))


def as_level3(level2_archive):
    """The same members behind level 3 headers: the extended headers kept, their sizes widened."""
    out, at = b"", 0
    while at < len(level2_archive) and level2_archive[at] != 0:
        size, = struct.unpack_from("<H", level2_archive, at)
        method = level2_archive[at + 2:at + 7]
        packed, original, stamp = struct.unpack_from("<III", level2_archive, at + 7)
        crc, = struct.unpack_from("<H", level2_archive, at + 21)
        extensions, ext_at, next_size = [], at + 26, struct.unpack_from("<H", level2_archive, at + 24)[0]
        while next_size:
            record = level2_archive[ext_at:ext_at + next_size]
            if record[0] != 0:                          # the header CRC is made anew
                extensions.append(record[:-2])
            ext_at += next_size
            next_size, = struct.unpack_from("<H", record, len(record) - 2)
        out += long_header(3, method, packed, original, stamp, crc, extensions)
        out += level2_archive[at + size:at + size + packed]
        at += size + packed
    return out + b"\0"


def write_manifest(extracted, manifest, files_dir, from_source=False):
    os.makedirs(files_dir)
    lines = []
    index = 0
    for folder, dirs, names in sorted(os.walk(extracted)):
        dirs.sort()
        rel = os.path.relpath(folder, extracted)
        if rel != ".":
            lines.append("D " + (stored_name(rel, from_source) + b"\\").hex())
        for name in sorted(names):
            path = os.path.join(folder, name)
            stored = stored_name(os.path.relpath(path, extracted), from_source)
            if os.path.islink(path):
                lines.append("L %s %s" % (stored.hex(), os.fsencode(os.readlink(path)).hex()))
                continue
            info = os.stat(path)
            shutil.copyfile(path, os.path.join(files_dir, str(index)))
            lines.append("F %s %d %d %d" % (stored.hex(), info.st_size, int(info.st_mtime), index))
            index += 1
    with open(manifest, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    out = os.path.abspath(sys.argv[1])
    shutil.rmtree(out, ignore_errors=True)
    src = os.path.join(out, "src")
    os.makedirs(src)
    items = make_tree(src)
    made = {}
    for level in (0, 1, 2):
        for method in (5, 6, 7):
            name = "l%d-lh%d" % (level, method)
            archive = os.path.join(out, name + ".lzh")
            jlha("c%do%dq" % (level, method), archive, items, src)
            extracted = os.path.join(out, name + ".x")
            os.makedirs(extracted)
            subprocess.run(["lhasa", "xq", archive], cwd=extracted, check=True, stdout=subprocess.DEVNULL)
            write_manifest(extracted, os.path.join(out, name + ".ref"), os.path.join(out, name + ".files"))
            shutil.rmtree(extracted)
    shutil.rmtree(src)

    with open(os.path.join(out, "l2-lh5.lzh"), "rb") as f:
        made["l3-lh5"] = as_level3(f.read())
    for level in (0, 1, 2):
        made["unix-l%d" % level] = unix_members(level) + b"\0"
    made["utf8-l0"] = utf8_members() + b"\0"
    for name, archive in made.items():
        with open(os.path.join(out, name + ".lzh"), "wb") as f:
            f.write(archive)
        extracted = os.path.join(out, name + ".x")
        os.makedirs(extracted)
        subprocess.run(["lhasa", "xq", os.path.join(out, name + ".lzh")], cwd=extracted, check=True,
                       stdout=subprocess.DEVNULL)
        utf8 = name == "utf8-l0"
        if utf8:
            for stored, shown in UTF8_NAMES:
                os.rename(os.path.join(extracted, stored), os.path.join(extracted, shown))
        write_manifest(extracted, os.path.join(out, name + ".ref"), os.path.join(out, name + ".files"), utf8)
        shutil.rmtree(extracted)

    dbcs = os.path.join(out, "dbcs")
    os.makedirs(dbcs)
    items = make_dbcs_tree(dbcs)
    for level in (0, 1, 2):
        name = "dbcs-l%d" % level
        jlha("c%do5q" % level, os.path.join(out, name + ".lzh"), items, dbcs)
        write_manifest(dbcs, os.path.join(out, name + ".ref"), os.path.join(out, name + ".files"), True)
    shutil.rmtree(dbcs)


if __name__ == "__main__":
    main()
