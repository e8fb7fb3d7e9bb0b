#!/usr/bin/env python3
"""Makes the archives the end-to-end tests hand to Varnito.exe, with Debian's zip, and the
reference copies unzip makes of them.  Usage: make_archives.py OUTPUT_FOLDER

OUTPUT_FOLDER/
  first.zip, second.zip, third.zip   immediate mode; second.zip has many entries to abort
  first-pw.zip                       first.zip's tree encrypted by zip -P (password Varnito1)
  listed.zip                         list mode: files in folders, one with the viewer's type
  first.7z, third.tar.xz             the trees of first.zip and third.zip packed by 7z and GNU tar
  volumes.7z.001 .. .003             first.zip's tree stored in 7-Zip's volumes of 40 KB
  empty.zip (0 bytes), plain.txt (no archive), truncated.zip (half of first.zip)
  escaping.zip                       names with "../", a leading "/" and a drive letter
  names.zip                          six names of other scripts (UTF-8 flag), an entry under five folders
                                     of 58 characters and a short entry after it (names.txt lists them)
  expected/<archive name>/...        what unzip made of first, third and listed, 7z x of first.7z
                                     and tar -x of third.tar.xz
"""
import os
import shutil
import subprocess
import sys
import zipfile

out = os.path.abspath(sys.argv[1])
BASE_TIME = 1620000000  # 2021-05-03 00:00:00 UTC, an even second for DOS times


def run(*args, cwd=None):
    subprocess.run(args, cwd=cwd, check=True, env=dict(os.environ, LC_ALL="C"))


def write(path, data, stamp):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (stamp, stamp))


def make_first(root):
    write(os.path.join(root, "readme.txt"), b"first archive\r\n" * 50, BASE_TIME)
    write(os.path.join(root, "data", "numbers.bin"), bytes(range(256)) * 400, BASE_TIME + 61)
    write(os.path.join(root, "data", "deep", "odd.txt"), b"odd second\n", BASE_TIME + 7)
    write(os.path.join(root, "empty.txt"), b"", BASE_TIME + 3600)


def make_second(root):
    # Enough entries that the run is still going when the test presses the abort button.
    for i in range(1500):
        body = (b"entry %05d of the second archive\n" % i) * 300
        write(os.path.join(root, "part%02d" % (i // 100), "file%05d.txt" % i), body, BASE_TIME + 2 * i)


def make_third(root):
    write(os.path.join(root, "third.txt"), b"the third archive is still extracted\n", BASE_TIME + 86400)
    write(os.path.join(root, "sub", "more.txt"), b"more\n" * 1000, BASE_TIME + 86402)


def make_listed(root):
    write(os.path.join(root, "alpha.txt"), b"alpha\n" * 10, BASE_TIME)
    write(os.path.join(root, "beta.bin"), bytes(range(256)) * 64, BASE_TIME + 120)
    write(os.path.join(root, "docs", "guide.txt"), b"a guide\r\n" * 200, BASE_TIME + 240)
    write(os.path.join(root, "docs", "note.e2eview"), b"opened through its association\n", BASE_TIME + 360)


def zip_folder(name, folder):
    run("zip", "-q", "-r", os.path.join(out, name), ".", cwd=folder)


def unzip_reference(name):
    target = os.path.join(out, "expected", name)
    os.makedirs(target)
    run("unzip", "-q", "-o", os.path.join(out, name), "-d", target)


# Names of scripts code page 932 cannot spell, as every current zip tool writes them (UTF-8 with
# its flag); a path of about 300 characters as node_modules and Java trees hold them, and a
# short entry after it.
NAMES = ["\ud55c\uad6d\uc5b4.txt", "\u7b80\u4f53\u4e2d\u6587.txt", "caf\u00e9.txt", "emoji\U0001f600.txt",
         "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt", "\u65e5\u672c\u8a9e.txt"]
DEEP = "/".join("%02d-" % i + "f" * 55 for i in range(5)) + "/deep.txt"


def make_names(path):
    stamp = (2021, 5, 3, 9, 0, 0)
    entries = [("names/" + name, ("the file %s\n" % name).encode()) for name in NAMES]
    entries += [(DEEP, b"five folders down\n"), ("short.txt", b"after the deep one\n")]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            z.writestr(zipfile.ZipInfo(name, stamp), data)
    with open(os.path.join(out, "names.txt"), "w", encoding="utf-8") as f:
        for name, data in entries:
            f.write("%s\t%s" % (name.replace("/", "\\"), data.decode()))


def main():
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    source = os.path.join(out, "source")
    for name, make in (("first.zip", make_first), ("second.zip", make_second),
                       ("third.zip", make_third), ("listed.zip", make_listed)):
        folder = os.path.join(source, name)
        make(folder)
        zip_folder(name, folder)
    for name in ("first.zip", "third.zip", "listed.zip"):
        unzip_reference(name)
    run("zip", "-q", "-r", "-P", "Varnito1", os.path.join(out, "first-pw.zip"), ".",
        cwd=os.path.join(source, "first.zip"))
    # The other bundled plug-ins' formats, from the same trees, and what their own tools make of them.
    run("7z", "a", "-bd", "-bso0", os.path.join(out, "first.7z"), ".", cwd=os.path.join(source, "first.zip"))
    run("tar", "-cJf", os.path.join(out, "third.tar.xz"), "sub", "third.txt", cwd=os.path.join(source, "third.zip"))
    # The same tree stored in 7-Zip's volumes of 40 KB: three pieces, volumes.7z.001 to .003.
    run("7z", "a", "-bd", "-bso0", "-m0=Copy", "-v40k", os.path.join(out, "volumes.7z"), ".",
        cwd=os.path.join(source, "first.zip"))
    for name in ("first.7z", "third.tar.xz"):
        os.makedirs(os.path.join(out, "expected", name))
    run("7z", "x", "-bd", "-bso0", "-o" + os.path.join(out, "expected", "first.7z"), os.path.join(out, "first.7z"))
    run("tar", "-xf", os.path.join(out, "third.tar.xz"), "-C", os.path.join(out, "expected", "third.tar.xz"))

    open(os.path.join(out, "empty.zip"), "wb").close()
    with open(os.path.join(out, "plain.txt"), "wb") as f:
        f.write(b"just text, no archive of any kind\r\n" * 20)
    with open(os.path.join(out, "first.zip"), "rb") as f:
        whole = f.read()
    with open(os.path.join(out, "truncated.zip"), "wb") as f:
        f.write(whole[:len(whole) // 2])
    # zip refuses to store such names; Python's zipfile writes them as given.
    with zipfile.ZipFile(os.path.join(out, "escaping.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        stamp = (2021, 5, 3, 9, 0, 0)
        z.writestr(zipfile.ZipInfo("../escaped.txt", stamp), "parent folder\n")
        z.writestr(zipfile.ZipInfo("../../twice.txt", stamp), "two levels up\n")
        z.writestr(zipfile.ZipInfo("/rooted.txt", stamp), "root of the drive\n")
        z.writestr(zipfile.ZipInfo("C:/drive.txt", stamp), "drive letter\n")
        z.writestr(zipfile.ZipInfo("inside/../../up.txt", stamp), "up from a folder\n")
        z.writestr(zipfile.ZipInfo("ok.txt", stamp), "stays inside\n")
    make_names(os.path.join(out, "names.zip"))
    shutil.rmtree(source)
    open(os.path.join(out, "made"), "w").close()  # the build's mark that all is there


main()
