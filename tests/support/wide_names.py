"""The names the plug-in tests hold against the wide exports (tests/support/WideNames.h names the
same files), written where an archiver packs them.  Imported by the fixture scripts of tests/zip
and tests/archives."""
import os

# Korean, simplified Chinese, accented Latin, an emoji beyond the BMP, Greek with accents,
# Japanese: code page 932 spells only the last whole.
SIX_NAMES = ["\ud55c\uad6d\uc5b4.txt", "\u7b80\u4f53\u4e2d\u6587.txt", "caf\u00e9.txt", "emoji\U0001F600.txt",
             "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt", "\u65e5\u672c\u8a9e.txt"]
SIX_FOLDER = "six"

# A tree as npm leaves it, one path of more than 300 characters: its parts, the file last.
DEEP_PARTS = ["node_modules", "@varnito-fixtures", "a-dependency-with-a-descriptive-and-rather-long-package-name",
              "node_modules", "another-dependency-whose-name-is-just-as-long-as-the-first-one", "node_modules",
              "a-third-level-of-dependencies-as-npm-nested-them-before-v3", "lib", "internal",
              "a-source-file-with-a-long-and-descriptive-name-as-in-real-trees.js"]
DEEP_SHORT = "package.json"  # beside node_modules, the entry every list holds


def content(name):
    return ("the file %s\n" % name).encode("utf-8")


def write_six(root, stamp):
    """root/six/<each name>, its content naming it."""
    for i, name in enumerate(SIX_NAMES):
        _write(os.path.join(root, SIX_FOLDER, name), content(name), stamp + i)


def write_deep(root, stamp):
    """root/deep/<the deep path> and root/deep/package.json."""
    _write(os.path.join(root, "deep", *DEEP_PARTS), content(DEEP_PARTS[-1]) * 50, stamp)
    _write(os.path.join(root, "deep", DEEP_SHORT), content(DEEP_SHORT), stamp + 1)


def _write(path, data, stamp):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (stamp, stamp))
