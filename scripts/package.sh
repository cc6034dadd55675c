#!/usr/bin/env bash
# Builds the release module and writes dist/QvVorn-<release>.zip, where
# <release> is the package's version in packaging/VERSION ("1.0.1"). The zip
# holds one folder of that name with QvVorn.dll, the Japanese readme.txt
# (code page 932, CRLF), the English readme-en.txt (UTF-8, CRLF), LICENSE and
# SHA256SUMS of the other four (CRLF).
#
# The package's version may run ahead of the version the plug-in reports
# (major.minor, set in CMakeLists.txt, "1.0"), which then stays as the mail
# client and earlier releases know it; it must start with it. The module is
# built twice from scratch and must come out byte for byte the same; its
# version resource must say the version set in CMakeLists.txt. Every
# file is dated with the packaged commit's time (or SOURCE_DATE_EPOCH), so two
# runs on the same commit give the same zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${QVVORN_DIST:-$root/dist}

"$root/scripts/prepare.sh" module

# The date of every file: the commit's, which only means something when the
# tree is that commit.
if [[ -n "${SOURCE_DATE_EPOCH:-}" ]]; then
  stamp=$SOURCE_DATE_EPOCH
else
  if [[ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]]; then
    echo "package: the tree has uncommitted changes; commit them (or set SOURCE_DATE_EPOCH)" >&2
    exit 1
  fi
  stamp=$(git -C "$root" log -1 --format=%ct HEAD)
fi

work=$(mktemp -d /tmp/qvvorn-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

build_module() {
  cmake -S "$root" -B "$1" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" -DQVVORN_THREAD_MODEL=win32 \
    -DCMAKE_BUILD_TYPE=Release -DQVVORN_MODULE_ONLY=ON >/dev/null
  cmake --build "$1" --target QvVorn >/dev/null
}
build_module "$work/first"
build_module "$work/second"
if ! cmp -s "$work/first/QvVorn.dll" "$work/second/QvVorn.dll"; then
  echo "package: two builds of the same sources differ" >&2
  exit 1
fi
echo "package: two builds give the same QvVorn.dll"

# The versions as the build made them: the one the plug-in reports, and the
# numbers of the version resource.
version_h="$work/first/generated/version.h"
reported=$(sed -n 's/^#define QVVORN_VERSION_INFO_TEXT "\(.*\)"$/\1/p' "$version_h")
numbers=$(sed -n 's/^#define QVVORN_VERSION_NUMBERS \(.*\)$/\1/p' "$version_h" | tr -d ' ' | tr , .)
[[ -n "$reported" && -n "$numbers" ]] || { echo "package: no version in $version_h" >&2; exit 1; }

# The package's own version: the reported one, or it with one more number.
release=$(tr -d '\r\n' <"$root/packaging/VERSION")
if [[ ! "$release" =~ ^[0-9]+\.[0-9]+(\.[0-9]+)?$ || ! ("$release" == "$reported" || "$release" == "$reported".*) ]]; then
  echo "package: packaging/VERSION says '$release'; it must be the plug-in's version $reported, or $reported.<n>" >&2
  exit 1
fi

# The fixed file version of the DLL's version resource, as a.b.c.d.
resource_version=$(python3 - "$work/first/QvVorn.dll" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.find(struct.pack('<I', 0xFEEF04BD))
ms, ls = struct.unpack_from('<II', data, at + 8)
print(f'{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}')
PY
)
if [[ "$resource_version" != "$numbers" ]]; then
  echo "package: the version resource says $resource_version, CMakeLists.txt $numbers" >&2
  exit 1
fi

name="QvVorn-$release"
stage="$work/$name"
mkdir -p "$stage"
cp "$work/first/QvVorn.dll" "$stage/QvVorn.dll"
# CRLF line ends, whatever the checkout gave.
crlf() { sed "s/@VERSION@/$release/; s/\r\$//; s/\$/\r/" "$1"; }
# The readmes are kept as UTF-8 in the sources. Users of the mail client read
# code page 932; iconv fails on a character 932 lacks. The English one stays
# UTF-8 with a byte order mark, which Notepad needs to tell it from 932.
crlf "$root/packaging/readme.ja.txt" | iconv -f UTF-8 -t CP932 >"$stage/readme.txt"
{ printf '\xef\xbb\xbf'; crlf "$root/packaging/readme.en.txt"; } >"$stage/readme-en.txt"
crlf "$root/LICENSE" >"$stage/LICENSE"
files=(QvVorn.dll readme.txt readme-en.txt LICENSE)
# CRLF too, for Windows' Notepad; GNU sha256sum -c reads it as well.
(cd "$stage" && sha256sum "${files[@]}" | sed 's/$/\r/' >SHA256SUMS)

# What users read: the Japanese text must come back unchanged from 932 (no
# character mapped to a look-alike), and every line must end in CRLF.
python3 - "$stage" "$root/packaging/readme.ja.txt" "$release" <<'PY'
import os, sys
stage, source, release = sys.argv[1], sys.argv[2], sys.argv[3]
text = open(os.path.join(stage, 'readme.txt'), 'rb').read().decode('cp932')
expected = open(source, encoding='utf-8').read().replace('\r\n', '\n').replace('@VERSION@', release)
if text.replace('\r\n', '\n') != expected:
    sys.exit('package: readme.txt does not read back as its source')
for name in ['readme.txt', 'readme-en.txt', 'LICENSE', 'SHA256SUMS']:
    data = open(os.path.join(stage, name), 'rb').read()
    if data.count(b'\n') != data.count(b'\r\n') or data.count(b'\r') != data.count(b'\r\n'):
        sys.exit(f'package: {name} has a line end other than CRLF')
PY

mkdir -p "$dist"
zip="$dist/$name.zip"
# One folder, the files in a fixed order, every entry dated from the commit:
# the DOS date in UTC and the exact time in an extended time stamp field.
python3 - "$stage" "$zip" "$name" "$stamp" "${files[@]}" SHA256SUMS <<'PY'
import os, struct, sys, time, zipfile
stage, target, folder, stamp, names = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5:]
date = time.gmtime(stamp)[:6]
extended_time = struct.pack('<HHBl', 0x5455, 5, 1, stamp)

def entry(name, mode):
    info = zipfile.ZipInfo(name, date_time=date)
    info.create_system = 3
    info.external_attr = mode << 16
    info.extra = extended_time
    return info

with zipfile.ZipFile(target + '.part', 'w') as z:
    info = entry(folder + '/', 0o40755)
    info.external_attr |= 0x10  # MS-DOS directory attribute
    z.writestr(info, b'')
    for name in names:
        info = entry(f'{folder}/{name}', 0o100644)
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), 'rb') as f:
            z.writestr(info, f.read(), compresslevel=9)
os.replace(target + '.part', target)
PY

# The zip as a user unpacks it: one folder whose checksums verify.
check="$work/check"
mkdir "$check"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$check"
[[ "$(ls -A "$check")" == "$name" ]] || { echo "package: the zip holds more than $name/" >&2; exit 1; }
(cd "$check/$name" && sha256sum --quiet -c SHA256SUMS) || { echo "package: SHA256SUMS does not verify" >&2; exit 1; }

echo "package: $zip ($(date -u -d "@$stamp" '+%Y-%m-%d %H:%M:%S UTC'))"
tr -d '\r' <"$stage/SHA256SUMS"
sha256sum "$zip"
