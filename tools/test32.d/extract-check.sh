# The end-to-end checks of tools/test32: the i686 Varnito.exe extracts a ZIP archive in
# immediate mode through the i686 ZIP plug-in, and what it wrote must equal what unzip
# makes of the same archive on the host: the same paths, bytes and modification times.
# Then it extracts one deflated entry of 4,000,000,000 bytes (which the 32-bit product's
# record can just hold, and which goes through the plug-in's file output in pieces), and the
# guest's MD5 of what it wrote must equal the entry's, at a peak memory under 128 MB.
# Sourced by tools/test32.

# prepare_extract_check JOB ZIP_SPI: puts the archive, the plug-in folder and the profile
# for immediate mode into the job folder.
prepare_extract_check() {
  local job=$1 zip_spi=$2 dir="$1/extract"
  mkdir -p "$dir/spi" "$dir/content" "$job/out/extract"
  cp "$zip_spi" "$dir/spi/"
  make_sample_content "$dir/content"
  # DOS times have two-second steps; -X leaves out the Unix time fields, so both sides read
  # the same DOS time. One entry is stored, the others deflated.
  (cd "$dir/content" && TZ=UTC zip -q -X -r ../sample.zip . -x stored.bin &&
    TZ=UTC zip -q -X -0 ../sample.zip stored.bin)
  write_profile "$dir/profile.reg" 'Z:\\job\\out\\extract' 'Z:\\job\\extract\\spi'
}

# write_profile FILE DESTINATION PLUGIN_FOLDER: the registry file for immediate mode
# (the folders as .reg text has them: backslashes doubled).
write_profile() {
  cat >"$1" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\Software\Morvel\Varnito]
"DefrostingMode"=dword:00000001
"DefrostingFold"="$2"
"SpiFold"="$3"
"OpenCheckFlag"=dword:00000000
EOF
}

# The most memory the 32-bit product may take for the large entry, in KB.
BigCheckPeakKb=$((128 * 1024))

# prepare_big_check JOB ZIP_SPI: a ZIP archive of one deflated entry of BIG_CHECK_BYTES bytes
# (default 4,000,000,000: each MB a counter and zeros, so that the archive stays small), its
# MD5, and the profile that extracts it outside out/ (so the entry is not copied back).
prepare_big_check() {
  local job=$1 zip_spi=$2 dir="$1/big" bytes=${BIG_CHECK_BYTES:-4000000000}
  mkdir -p "$dir/spi"
  cp "$zip_spi" "$dir/spi/"
  python3 - "$dir/big.bin" "$bytes" >"$dir/expected.md5" <<'PY'
import hashlib, sys
path, size = sys.argv[1], int(sys.argv[2])
digest = hashlib.md5()
with open(path, "wb") as f:
    for at in range(0, size, 1 << 20):
        block = (at >> 20).to_bytes(8, "little") + bytes(min(1 << 20, size - at) - 8)
        f.write(block)
        digest.update(block)
print(digest.hexdigest())
PY
  (cd "$dir" && zip -q -6 big.zip big.bin && rm big.bin)
  echo $(( bytes / 1048576 + 64 )) >"$job/room-mb"
  write_profile "$dir/profile.reg" 'Z:\\job\\big-out' 'Z:\\job\\big\\spi'
}

# check_big_extraction JOB: prints the result line of the large-entry check.
check_big_extraction() {
  local job=$1 code seconds expected actual size peak
  if ! read -r _ code seconds < <(grep '^extract_big ' "$job/out/results"); then
    echo "FAILED  extract_big: no result (the machine stopped before it ended)"
    return 1
  fi
  expected=$(cat "$job/big/expected.md5")
  actual=$(cut -d' ' -f1 "$job/out/big.md5" 2>/dev/null || true)
  size=$(cat "$job/out/big.size" 2>/dev/null || echo none)
  peak=$(tail -1 "$job/out/big.peak" 2>/dev/null || echo 0)
  if [ "$code" = 124 ] || [ "$code" = 137 ]; then
    echo "FAILED  extract_big: Varnito.exe did not end within its time limit"
    return 1
  fi
  if [ -n "$actual" ] && [ "$actual" = "$expected" ] && [ "$peak" -gt 0 ] && [ "$peak" -lt "$BigCheckPeakKb" ]; then
    echo "passed  extract_big ($seconds s) — Varnito.exe wrote the entry's $size bytes, peak $((peak / 1024)) MB"
    return 0
  fi
  echo "        extract_big: peak memory ${peak} KB (must stay under $BigCheckPeakKb)"
  echo "FAILED  extract_big (exit $code after $seconds s): $size bytes, MD5 ${actual:-none}, expected $expected"
  tail -20 "$job/out/extract_big.log" 2>/dev/null | sed 's/^/    /'
  return 1
}

# Text, a compressible binary, an empty file, nested folders, and a name in code page 932
# whose second byte is 0x5C ("表").
make_sample_content() {
  local dir=$1
  mkdir -p "$dir/docs/deep" "$dir/$(printf '\x8e\x91\x97\xbf')"
  printf 'Varnito extraction check\r\nline two\r\n' >"$dir/readme.txt"
  seq 1 40000 | sed 's/$/ lorem ipsum/' >"$dir/docs/notes.txt"
  head -c 80000 /dev/urandom | od -An -tx1 >"$dir/docs/deep/data.bin"
  head -c 70000 /dev/urandom >"$dir/stored.bin"
  : >"$dir/docs/empty.txt"
  printf 'shift-jis name\r\n' >"$dir/$(printf '\x8e\x91\x97\xbf/\x95\x5c.txt')"
  find "$dir" -exec touch -d '2024-05-06 07:08:10 UTC' {} +
  touch -d '2019-12-31 23:59:58 UTC' "$dir/readme.txt"
}

# check_extraction JOB: prints the result line of the check; fails on any difference.
check_extraction() {
  local job=$1 dir="$1/extract" code seconds
  if ! read -r _ code seconds < <(grep '^extract_zip ' "$job/out/results"); then
    echo "FAILED  extract_zip: no result (the machine stopped before it ended)"
    return 1
  fi
  if [ "$code" = 124 ] || [ "$code" = 137 ]; then
    echo "FAILED  extract_zip: Varnito.exe did not end within its time limit"
    return 1
  fi
  rm -rf "$dir/expected"
  mkdir -p "$dir/expected"
  TZ=UTC unzip -q "$dir/sample.zip" -d "$dir/expected"
  local differences
  if differences=$(compare_trees "$dir/expected" "$job/out/extract/sample"); then
    echo "passed  extract_zip ($seconds s) — Varnito.exe wrote what unzip writes"
    return 0
  fi
  echo "FAILED  extract_zip (exit $code after $seconds s): Varnito.exe's output differs from unzip's:"
  printf '%s\n' "$differences" | sed 's/^/    /'
  return 1
}

# compare_trees EXPECTED ACTUAL: unzip keeps the archive's code page 932 names as bytes;
# Wine in the machine stored them in UTF-8. Compares paths, contents and times.
compare_trees() {
  python3 - "$1" "$2" <<'PY'
import os, sys
def walk(top, decode):
    found = {}
    top_b = os.fsencode(top)
    for folder, dirs, files in os.walk(top_b):
        for name in dirs + files:
            full = os.path.join(folder, name)
            rel = decode(os.path.relpath(full, top_b))
            st = os.stat(full)
            is_dir = os.path.isdir(full)
            data = None if is_dir else open(full, "rb").read()
            found[rel] = (is_dir, data, int(st.st_mtime))
    return found
expected = walk(sys.argv[1], lambda b: b.decode("cp932"))
if not os.path.isdir(sys.argv[2]):
    print("no folder %s was written" % os.path.basename(sys.argv[2]))
    sys.exit(1)
actual = walk(sys.argv[2], lambda b: b.decode("utf-8", "replace"))
problems = []
for path in sorted(set(expected) | set(actual)):
    if path not in actual:
        problems.append("missing: %s" % path)
    elif path not in expected:
        problems.append("not in the archive: %s" % path)
    else:
        e, a = expected[path], actual[path]
        if e[0] != a[0]:
            problems.append("file/folder mismatch: %s" % path)
        elif not e[0] and e[1] != a[1]:
            problems.append("content differs: %s (%d bytes, expected %d)" % (path, len(a[1]), len(e[1])))
        elif not e[0] and abs(e[2] - a[2]) > 1:
            problems.append("time differs: %s (%d, expected %d)" % (path, a[2], e[2]))
for p in problems:
    print(p)
sys.exit(1 if problems else 0)
PY
}
