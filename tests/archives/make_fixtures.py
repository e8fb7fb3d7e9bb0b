#!/usr/bin/env python3
"""Makes the 7z and TAR archives the plug-in tests read, with Debian's 7z, GNU tar, bsdtar,
gzip, bzip2, xz and zstd, and the reference copies those tools extract.  Usage: make_fixtures.py OUT

OUT/
  input/tree/...           the files that were packed (known contents and times; Japanese names,
                           a long name, an empty file and folder)
  input/bin/...            real x86 and ARM executables, for the branch converters
  *.7z                     one archive per switch set (SEVEN_ZIP below), plus encrypted ones
                           (ENCRYPTED_7Z: the tree, solid, with a password, with its names
                           encrypted too, and stored), PPMd,
                           a name code page 932 cannot spell, and many.7z (5,000 small files)
  *.tar*, *.tgz            GNU tar and bsdtar archives, plain and in each wrapper (TARS below),
                           with symbolic and hard links and a FIFO; ustar.tgz the long folder in ustar's
                           layout; sjis.tar holds names in code page 932
  lone.bin.gz|.bz2|.xz|.zst a compressed file that holds no TAR
  zeros-first.img.gz|.xz   a compressed file that holds no TAR but begins with a kilobyte of zeros;
                           empty.tar.gz an empty TAR (nothing but zero blocks)
  sparse-*.tar*            sparse files (holes made by seeking) in every sparse form of GNU tar and
                           bsdtar (SPARSE_TARS below), each followed by a plain file
  links.tar.xz             files followed by hard links to them (hard_links below)
  nul-padded.tar           headers written byte by byte whose numbers are padded with NULs, left
                           empty or in base-256 (nul_padded_tar below)
  pieces/                  volumes.7z.001...: 7-Zip's volumes of the tree; gnu.tar.001...,
                           gnu.tar.gz.001... and pieces.zip.001...: those archives cut by split;
                           split.z01..., split.zip: zip -s 64k of the tree
  expected/<archive>/...   what 7z x or tar -x made of each archive; symbolic links replaced by
                           files holding their targets, as the plug-in hands them out
  six.7z, six-gnu.tar,     the six names of tests/support/wide_names.py by 7z, GNU tar and bsdtar
  six-bsd.tar              (pax); deep.7z, deep-gnu.tgz, deep-bsd.tar its tree as npm leaves it,
                           a path of over 300 characters
"""
import glob
import os
import random
import shutil
import stat
import subprocess
import sys
import tarfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import wide_names  # noqa: E402

out = os.path.abspath(sys.argv[1])
inp = os.path.join(out, "input")
BASE_TIME = 1615000000  # 2021-03-06 03:06:40 UTC
LONG_FOLDER = "a-folder-whose-name-is-rather-long-" + "x" * 30
LONG_FILE = "and-a-file-name-longer-than-the-hundred-bytes-of-an-old-tar-header-" + "y" * 40 + ".txt"
ENV = dict(os.environ, LC_ALL="C.UTF-8")

SEVEN_ZIP = {  # archive name: 7z switches (the filters' archives hold the folder "bin", the others "tree")
    "default.7z": [], "mx1.7z": ["-mx=1"], "mx9.7z": ["-mx=9"], "not-solid.7z": ["-ms=off"],
    "bcj.7z": ["-mf=BCJ"], "bcj2.7z": ["-mf=BCJ2"], "arm64.7z": ["-mf=ARM64"], "arm.7z": ["-mf=ARM"],
    "bzip2.7z": ["-m0=BZip2"], "deflate.7z": ["-m0=Deflate"], "deflate64.7z": ["-m0=Deflate64"],
    "copy.7z": ["-m0=Copy"], "lzma.7z": ["-m0=LZMA"], "delta.7z": ["-m0=Delta:4", "-m1=LZMA2"],
    "plain-header.7z": ["-mhc=off"], "lzma-eos.7z": ["-m0=LZMA:eos"],
}
ENCRYPTED_7Z = {  # archive name: 7z switches, the password first (typed in code page 932 in the tests)
    "encrypted.7z": ["-psecret"], "encrypted-names.7z": ["-p\u79d8\u5bc6secret", "-mhe=on"],
    "encrypted-stored.7z": ["-psecret", "-m0=Copy"],
}
TARS = {  # archive name: the command that makes it from the folder "tree"
    "gnu.tar": ["tar", "-cf"], "gnu.tar.gz": ["tar", "-czf"], "gnu.tar.bz2": ["tar", "-cjf"],
    "gnu.tar.xz": ["tar", "-cJf"], "pax.tar": ["tar", "--format=pax", "-cf"],
    "bsd.tar": ["bsdtar", "-cf"], "bsd.tgz": ["bsdtar", "-czf"],
    "bsd.tar.bz2": ["bsdtar", "-cjf"], "bsd.tar.xz": ["bsdtar", "-cJf"],
    "gnu.tar.zst": ["tar", "--zstd", "-cf"], "bsd.tzst": ["bsdtar", "--zstd", "-cf"],
}
SPARSE_TARS = {  # archive name: the command that makes it from the files SPARSE_FILES
    "sparse-gnu.tar": ["tar", "-S", "--format=gnu", "-cf"],
    "sparse-pax0.0.tar": ["tar", "-S", "--format=pax", "--sparse-version=0.0", "-cf"],
    "sparse-pax0.1.tar": ["tar", "-S", "--format=pax", "--sparse-version=0.1", "-cf"],
    "sparse-pax1.0.tar": ["tar", "-S", "--format=pax", "--sparse-version=1.0", "-cf"],
    "sparse-bsd.tar": ["bsdtar", "-cf"], "sparse-gnu.tar.xz": ["tar", "-S", "--format=gnu", "-cJf"],
}
# In this order: the sparse files, then one that must not be lost behind them.
SPARSE_FILES = ["sparse/many-regions.bin", "sparse/hole-first.bin", "sparse/after.txt"]


def run(*args, cwd=None):
    subprocess.run(args, cwd=cwd, check=True, env=ENV, stdout=subprocess.DEVNULL)


def write(path, data, stamp):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (stamp, stamp))


def make_tree(root):
    t = os.path.join(root, "tree")
    rng = random.Random(11)
    write(os.path.join(t, "readme.txt"), b"Varnito test archive\r\n" * 40, BASE_TIME)
    write(os.path.join(t, "empty.txt"), b"", BASE_TIME + 2)
    write(os.path.join(t, "docs", "nested", "deep", "note.txt"), b"deep inside\n" * 3, BASE_TIME + 100)
    # 0x5C is the second byte of both characters in code page 932.
    write(os.path.join(t, "ソフト", "表ソ.txt"), "日本語の本文\r\n".encode("cp932") * 5, BASE_TIME + 200)
    write(os.path.join(t, LONG_FOLDER, LONG_FILE), b"a long name\n", BASE_TIME + 250)
    big = bytearray()
    while len(big) < 1024 * 1024:
        big += b"line %08d of the big file\n" % len(big)
    big += rng.randbytes(512 * 1024)
    write(os.path.join(t, "big.bin"), bytes(big), BASE_TIME + 300)
    write(os.path.join(t, LONG_FOLDER, "second-folder-of-a-long-path", "short.txt"), b"ustar prefix\n", BASE_TIME + 260)
    os.makedirs(os.path.join(t, "emptyfolder"), exist_ok=True)
    for folder, _, _ in sorted(os.walk(t), key=lambda w: -len(w[0])):
        os.utime(folder, (BASE_TIME + 1000, BASE_TIME + 1000))


def make_programs(root):
    """Real executables for the branch converters: x86-64 and i686 Windows DLLs, an x86-64 Linux
    library, ARM libraries."""
    programs = sorted(glob.glob("/usr/lib/gcc/x86_64-w64-mingw32/*/libgcc_s_seh-1.dll"))[:1] + \
        sorted(glob.glob("/usr/lib/gcc/i686-w64-mingw32/*/libgcc_s_dw2-1.dll"))[:1] + \
        [os.path.realpath("/usr/lib/x86_64-linux-gnu/libz.so.1")]
    for i, program in enumerate(programs):
        with open(program, "rb") as f:
            write(os.path.join(root, "bin", "x86-%d.bin" % i), f.read(), BASE_TIME + 400 + i)
    for name, library in (("arm64.so", "/usr/aarch64-linux-gnu/lib/libc.so.6"),
                          ("arm.so", "/usr/arm-linux-gnueabi/lib/libc.so.6")):
        with open(library, "rb") as f:
            write(os.path.join(root, "bin", name), f.read(), BASE_TIME + 410)


def add_links(root):
    """A symbolic and a hard link and a FIFO in the tree, for the TAR archives."""
    t = os.path.join(root, "tree")
    os.mkfifo(os.path.join(t, "pipe"))
    os.symlink("readme.txt", os.path.join(t, "link-to-readme"))
    os.utime(os.path.join(t, "link-to-readme"), (BASE_TIME + 500, BASE_TIME + 500), follow_symlinks=False)
    os.link(os.path.join(t, "docs", "nested", "deep", "note.txt"), os.path.join(t, "hard-note.txt"))
    os.utime(t, (BASE_TIME + 1000, BASE_TIME + 1000))


def reference(archive, tool, password_switch=None):
    target = os.path.join(out, "expected", archive)
    os.makedirs(target)
    if tool == "7z":
        run("7z", "x", "-bd", *([password_switch] if password_switch else []), "-o" + target, os.path.join(out, archive))
    else:  # nul-padded.tar holds a time of 1969, which tar warns of
        run("tar", "--warning=no-timestamp", "-xf", os.path.join(out, archive), "-C", target)
    # A symbolic link comes out of the plug-in as a file holding its target; a FIFO not at all.
    for folder, dirs, files in os.walk(target):
        for name in files + dirs:
            path = os.path.join(folder, name)
            if stat.S_ISFIFO(os.lstat(path).st_mode):
                os.unlink(path)
            elif os.path.islink(path):
                stamp = os.lstat(path).st_mtime
                text = os.readlink(path).encode()
                os.unlink(path)
                write(path, text, stamp)


def sjis_tar():
    """A TAR as an archiver on Japanese Windows writes it: names in code page 932."""
    path = os.path.join(out, "sjis.tar")
    with tarfile.open(path, "w", format=tarfile.GNU_FORMAT, encoding="cp932") as archive:
        for name, data in (("sjis/表ソ.txt", b"code page 932 name\r\n"), ("sjis/ソフト/説明.txt", b"in a folder\r\n")):
            info = tarfile.TarInfo(name)
            info.size, info.mtime = len(data), BASE_TIME + 600
            archive.addfile(info, __import__("io").BytesIO(data))
    target = os.path.join(out, "expected", "sjis.tar")
    with tarfile.open(path, encoding="cp932") as archive:
        archive.extractall(target)


def write_regions(path, size, regions, stamp):
    """A file of `size` bytes whose only data are the (offset, bytes) regions; the rest are holes
    (whole 4 KB blocks, so that the file system keeps them as holes and tar finds them)."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.truncate(size)
        for offset, data in regions:
            f.seek(offset)
            f.write(data)
    os.utime(path, (stamp, stamp))


def sparse_tars():
    """Sparse files in each sparse form: one of 30 data regions that ends in a hole (GNU's old
    header holds 4 regions, so two extension blocks follow it), one that begins with a hole."""
    rng = random.Random(7)
    many = [(i * 131072, bytes([65 + i % 26]) * (4096 * (1 + i % 3))) for i in range(30)]
    write_regions(os.path.join(inp, SPARSE_FILES[0]), 4 << 20, many, BASE_TIME + 700)
    first = [((i + 1) * 65536, rng.randbytes(4096)) for i in range(9)]
    write_regions(os.path.join(inp, SPARSE_FILES[1]), 10 * 65536, first, BASE_TIME + 710)
    write(os.path.join(inp, SPARSE_FILES[2]), b"after the sparse files\n", BASE_TIME + 720)
    for archive, command in SPARSE_TARS.items():
        path = os.path.join(out, archive)
        run(*command, path, *SPARSE_FILES, cwd=inp)
        with tarfile.open(path) as made:
            if not all(member.issparse() for member in made.getmembers()[:2]):
                sys.exit("%s holds no sparse files: does this file system keep holes?" % archive)
        reference(archive, "tar")
        for name in SPARSE_FILES:
            with open(os.path.join(inp, name), "rb") as a, open(os.path.join(out, "expected", archive, name), "rb") as b:
                if a.read() != b.read():
                    sys.exit("tar extracted %s from %s wrongly" % (name, archive))


def zeros_first():
    """A disk image, say: a kilobyte of zeros, then data; and an empty TAR, which is all zeros."""
    data = bytes(1024) + b"".join(b"sector %06d\n" % i for i in range(20000))
    write(os.path.join(inp, "zeros-first.img"), data, BASE_TIME + 800)
    for suffix, tool in ((".gz", "gzip"), (".xz", "xz")):
        with open(os.path.join(out, "zeros-first.img" + suffix), "wb") as target:
            subprocess.run([tool, "-c"], input=data, stdout=target, check=True)
    with open(os.path.join(out, "empty.tar.gz"), "wb") as target:
        subprocess.run(["gzip", "-c"], input=bytes(10240), stdout=target, check=True)


def hard_links():
    """Hard links: 200 files of 18 KB, each followed by a link to it; 30 links to one file; and a
    file of 40 MB (more than the plug-in keeps of links' targets) followed by a link to it."""
    folder = os.path.join(out, "links")
    rng = random.Random(3)
    for i in range(200):
        name = os.path.join(folder, "f%03d.bin" % i)
        write(name, b"".join(b"file %d line %d %d\n" % (i, n, rng.randint(0, 9)) for n in range(1000)), BASE_TIME + i)
        os.link(name, os.path.join(folder, "f%03d.link" % i))
    shared = os.path.join(folder, "s-00.link")  # the first of its names in the archive: the one stored
    write(shared, b"one file of many names\n" * 4000, BASE_TIME + 300)
    for i in range(1, 31):
        os.link(shared, os.path.join(folder, "s-%02d.link" % i))
    big = os.path.join(folder, "big.bin")
    write(big, b"".join(b"big file line %08d\n" % n for n in range(2 << 20)), BASE_TIME + 400)
    os.link(big, os.path.join(folder, "big.link"))
    run("tar", "--sort=name", "-cJf", os.path.join(out, "links.tar.xz"), "links", cwd=out)
    shutil.rmtree(folder)
    reference("links.tar.xz", "tar")


def tar_header(name, size, mtime, kind=b"0", checksum_format=b"%06o\0 "):
    """A ustar header whose numeric fields are the given bytes (owner fields left all NUL)."""
    block = bytearray(512)
    block[0:len(name)] = name
    block[100:108] = b"0000644\0"
    block[124:136] = size
    block[136:148] = mtime
    block[156:157] = kind
    block[257:265] = b"ustar\x0000"
    block[148:156] = b" " * 8
    block[148:156] = checksum_format % sum(block)
    return bytes(block)


def nul_padded_tar():
    """Numbers as some writers leave them, each read by GNU tar: a NUL before the digits (and
    before the checksum's), spaces after it, no terminator, digits left behind the terminator,
    empty fields, base-256 (a positive size, a negative time)."""
    def octal(number, prefix, digits, suffix=b""):
        return prefix + b"%0*o" % (digits, number) + suffix
    def base256(number):  # GNU's: 0x80 and 11 bytes, or a negative number's two's complement
        return b"\x80" + number.to_bytes(11, "big") if number >= 0 else (number % (1 << 96)).to_bytes(12, "big")
    files = [(b"nul/size-after-nul.txt", b"a size and a time after a NUL\n", lambda n: octal(n, b"\0", 10, b"\0"),
              octal(BASE_TIME + 900, b"\0", 11)),
             (b"nul/spaces-after-nul.txt", b"a NUL, then spaces\n" * 40, lambda n: octal(n, b"\0   ", 7, b" "),
              octal(BASE_TIME + 910, b" ", 11)),
             (b"nul/stale-digits.txt", b"digits left behind the terminator\n", lambda n: octal(n, b"", 7, b"\0" b"1234"),
              octal(BASE_TIME + 930, b"", 11, b"\0")),
             (b"nul/base-256.bin", bytes(range(256)) * 3, base256, base256(-86400))]
    blocks = [tar_header(b"nul/", bytes(12), octal(BASE_TIME + 920, b"\0", 11), b"5", b"\0%06o ")]
    for name, data, size, mtime in files:
        blocks.append(tar_header(name, size(len(data)), mtime))
        blocks.append(data + bytes(-len(data) % 512))
    with open(os.path.join(out, "nul-padded.tar"), "wb") as archive:
        archive.write(b"".join(blocks) + bytes(1024))
    reference("nul-padded.tar", "tar")


def unicode_names():
    """7z (UTF-16) and pax TAR (UTF-8) names: one decomposed, as a Mac writes it, some with
    characters code page 932 lacks. The expected trees hold each file under the name Windows
    should get."""
    names = [("\u304c.txt", "\u304c.txt"), ("\u304f\u3099.txt", "\u3050.txt"), ("caf\u00e9.txt", "caf_.txt"),
             ("\ud55c\uad6d\uc5b4.txt", "___.txt"),
             ("\u65e5\u672c\u8a9e/\u30e1\u30e2.txt", "\u65e5\u672c\u8a9e/\u30e1\u30e2.txt")]
    for number, (stored, shown) in enumerate(names):
        data = ("file %d: %s\n" % (number, stored)).encode()
        write(os.path.join(inp, "names", stored), data, BASE_TIME + number)
        for archive in ("names.7z", "names.tar"):
            write(os.path.join(out, "expected", archive, "names", shown), data, BASE_TIME + number)
    run("7z", "a", "-bd", os.path.join(out, "names.7z"), "names", cwd=inp)
    run("tar", "--format=pax", "-cf", os.path.join(out, "names.tar"), "names", cwd=inp)


def wide_names_archives():
    """The six names and the deep tree of tests/support/wide_names.py, by 7z, GNU tar and bsdtar."""
    wide_names.write_six(inp, BASE_TIME + 7000)
    wide_names.write_deep(inp, BASE_TIME + 7100)
    for archive, command, folder in (
            ("six.7z", ["7z", "a", "-bd"], wide_names.SIX_FOLDER), ("six-gnu.tar", ["tar", "-cf"], wide_names.SIX_FOLDER),
            ("six-bsd.tar", ["bsdtar", "-cf"], wide_names.SIX_FOLDER), ("deep.7z", ["7z", "a", "-bd"], "deep"),
            ("deep-gnu.tgz", ["tar", "-czf"], "deep"), ("deep-bsd.tar", ["bsdtar", "-cf"], "deep")):
        run(*command, os.path.join(out, archive), folder, cwd=inp)


def cut(archive, piece_size, name):
    """Cuts OUT/archive into numbered pieces OUT/pieces/name.001, .002, ... as a splitter does."""
    os.makedirs(os.path.join(out, "pieces"), exist_ok=True)
    run("split", "-b", str(piece_size), "-d", "-a", "3", "--numeric-suffixes=1", os.path.join(out, archive),
        os.path.join(out, "pieces", name + "."))


def volumes_and_pieces():
    """7-Zip's volumes of the tree, a ZIP of it cut into pieces, and a split ZIP of it (before the
    tree has links)."""
    os.makedirs(os.path.join(out, "pieces"), exist_ok=True)
    run("7z", "a", "-bd", "-v200k", os.path.join(out, "pieces", "volumes.7z"), "tree", cwd=inp)
    target = os.path.join(out, "expected", "volumes.7z")
    run("7z", "x", "-bd", "-o" + target, os.path.join(out, "pieces", "volumes.7z.001"))
    # 7z marks the UTF-8 names (Info-ZIP's zip gives them only in an extra field).
    run("7z", "a", "-bd", "-tzip", os.path.join(out, "pieces.zip"), "tree", cwd=inp)
    target = os.path.join(out, "expected", "pieces.zip")
    run("unzip", "-q", "-d", target, os.path.join(out, "pieces.zip"))
    cut("pieces.zip", 200 * 1024, "pieces.zip")
    # Info-ZIP's split archive: split.z01, split.z02, ... and split.zip last, with the directory;
    # big.bin runs over many pieces. Its reference is the tree itself: unzip reads no split
    # archive, and zip 3.0 joining it (-s 0 --out) damages the entries that cross pieces. The
    # Japanese names stay out: this zip stores them in UTF-8 without marking them so.
    run("zip", "-q", "-r", "-s", "64k", os.path.join(out, "pieces", "split.zip"), "tree", "-x", "tree/ソフト/*",
        cwd=inp)
    shutil.copytree(os.path.join(inp, "tree"), os.path.join(out, "expected", "split.zip", "tree"),
                    ignore=lambda folder, names: ["ソフト"] if folder == os.path.join(inp, "tree") else [])


def many_files():
    """5,000 small files in one solid block."""
    folder = os.path.join(out, "many-input")
    rng = random.Random(5)
    for i in range(5000):
        write(os.path.join(folder, "d%02d" % (i % 50), "f%04d.txt" % i),
              b"entry %d\n" % i * rng.randint(1, 40), BASE_TIME + i)
    run("7z", "a", "-bd", "-mx=1", os.path.join(out, "many.7z"), ".", cwd=folder)
    run("tar", "-cJf", os.path.join(out, "many.tar.xz"), ".", cwd=folder)
    shutil.rmtree(folder)


def main():
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(inp)
    make_tree(inp)
    make_programs(inp)
    for archive, switches in SEVEN_ZIP.items():
        packed = "bin" if any(s.startswith("-mf=") for s in switches) else "tree"
        run("7z", "a", "-bd", *switches, os.path.join(out, archive), packed, cwd=inp)
        reference(archive, "7z")
    for archive, switches in ENCRYPTED_7Z.items():
        run("7z", "a", "-bd", *switches, os.path.join(out, archive), "tree", cwd=inp)
        reference(archive, "7z", switches[0])
    run("7z", "a", "-bd", "-m0=PPMd", os.path.join(out, "ppmd.7z"), "tree/readme.txt", cwd=inp)
    write(os.path.join(inp, "unicode", "smile😀.txt"), b"no such character in code page 932\n", BASE_TIME)
    run("7z", "a", "-bd", os.path.join(out, "unicode.7z"), "unicode", cwd=inp)
    run("tar", "-cf", os.path.join(out, "unicode.tar"), "unicode", cwd=inp)
    volumes_and_pieces()
    unicode_names()
    wide_names_archives()

    add_links(inp)
    for archive, command in TARS.items():
        run(*command, os.path.join(out, archive), "tree", cwd=inp)
        reference(archive, "tar")
    # ustar keeps a long path in two fields (the file name must fit one of 100 bytes).
    run("tar", "--format=ustar", "-czf", os.path.join(out, "ustar.tgz"),
        os.path.join("tree", LONG_FOLDER, "second-folder-of-a-long-path"), cwd=inp)
    reference("ustar.tgz", "tar")
    sjis_tar()
    cut("gnu.tar", 400 * 1024, "gnu.tar")
    cut("gnu.tar.gz", 200 * 1024, "gnu.tar.gz")
    lone = os.path.join(inp, "tree", "big.bin")
    for suffix, tool in ((".gz", "gzip"), (".bz2", "bzip2"), (".xz", "xz"), (".zst", "zstd")):
        with open(lone, "rb") as source, open(os.path.join(out, "lone.bin" + suffix), "wb") as target:
            subprocess.run([tool, "-c"], stdin=source, stdout=target, check=True)
    many_files()
    sparse_tars()
    zeros_first()
    hard_links()
    nul_padded_tar()
    open(os.path.join(out, "made"), "w").close()  # the build's mark that all is there


main()
