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
"""
import os
import shutil
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
