#!/usr/bin/env bash
# Builds the release module and writes dist/QvVorn-<release>.zip, where
# <release> is the package's version in packaging/VERSION ("1.0.1"). The zip
# holds one folder of that name with QvVorn.dll, the Japanese readme.txt
# (code page 932, CRLF), the English readme-en.txt (UTF-8, CRLF), LICENSE and
# SHA256SUMS of the other four (CRLF). Beside it, dist/QvVorn-tests-<release>.zip,
# the test bundle of the same commit (scripts/test-bundle.sh) from a test
# build of its own.
#
# The package's version may run ahead of the version the plug-in reports
# (major.minor, set in CMakeLists.txt, "1.0"), which then stays as the mail
# client and earlier releases know it; it must start with it. The module is
# built twice from scratch and must come out byte for byte the same; its
# version resource must say the version set in CMakeLists.txt. Every
# file is dated with the packaged commit's time (or SOURCE_DATE_EPOCH), so two
# runs on the same commit give the same zip; so do the test programs, linked
# without time stamps and built with no build path in them. It ends with the
# sha256sum line of each zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${QVVORN_DIST:-$root/dist}

# The module's compilers, and what the test build of the bundle needs.
"$root/scripts/prepare.sh" test zip

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

# Runs a command with its output held back, shown only when it fails.
quietly() {
  local out
  out=$("$@" 2>&1) && return
  printf '%s\n' "$out" >&2
  echo "package: failed: $*" >&2
  return 1
}
configure() { # <build folder> <cmake option...>
  local build=$1
  shift
  quietly cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" -DCMAKE_BUILD_TYPE=Release "$@"
}
build_module() {
  configure "$1" -DQVVORN_THREAD_MODEL=win32 -DQVVORN_MODULE_ONLY=ON
  quietly cmake --build "$1" --target QvVorn
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
# One folder, the files in a fixed order, every entry dated from the commit.
python3 "$root/scripts/dated-zip.py" "$zip" "$work" "$name" "$stamp" "${files[@]}" SHA256SUMS

# The zip as a user unpacks it: one folder whose checksums verify.
check="$work/check"
mkdir "$check"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$check"
[[ "$(ls -A "$check")" == "$name" ]] || { echo "package: the zip holds more than $name/" >&2; exit 1; }
(cd "$check/$name" && sha256sum --quiet -c SHA256SUMS) || { echo "package: SHA256SUMS does not verify" >&2; exit 1; }

echo "package: $zip ($(date -u -d "@$stamp" '+%Y-%m-%d %H:%M:%S UTC'))"
tr -d '\r' <"$stage/SHA256SUMS"

# The test bundle of this commit. Its programs carry no time stamp and no
# build path (the flags reach this build's own targets, not the module
# builds, which see to their own), so the same commit gives the same bundle.
tests="$work/tests"
reproducible="-ffile-prefix-map=$root=. -ffile-prefix-map=$tests=."
configure "$tests" -DCMAKE_C_FLAGS="$reproducible" -DCMAKE_CXX_FLAGS="$reproducible" \
  -DCMAKE_EXE_LINKER_FLAGS=-Wl,--no-insert-timestamp -DCMAKE_SHARED_LINKER_FLAGS=-Wl,--no-insert-timestamp
echo "package: building the tests for the test bundle"
quietly cmake --build "$tests"
# dlltool, which makes the clang module's export table, dates it with the
# time of the build whatever SOURCE_DATE_EPOCH says: the bundle's copy gets
# zero there, as GNU ld leaves it in the gcc module. It is changed where
# that module build leaves it, which the build copies on every run.
python3 - "$tests/module-clang/QvVorn.dll" <<'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
pe = struct.unpack_from('<I', data, 0x3C)[0]
optional = pe + 24
directories = optional + (96 if struct.unpack_from('<H', data, optional)[0] == 0x10B else 112)
export_rva = struct.unpack_from('<I', data, directories)[0]
if struct.unpack_from('<I', data, optional + 64)[0]:
    sys.exit(f'package: {path} has a checksum that a new export date would break')
sections = optional + struct.unpack_from('<H', data, pe + 20)[0]
for i in range(struct.unpack_from('<H', data, pe + 6)[0]):
    size, rva, _, raw = struct.unpack_from('<IIII', data, sections + 40 * i + 8)
    if rva <= export_rva < rva + size:
        struct.pack_into('<I', data, raw + export_rva - rva + 4, 0)
        break
else:
    sys.exit(f'package: no export table in {path}')
open(path, 'wb').write(data)
PY
cp "$tests/module-clang/QvVorn.dll" "$tests/clang/QvVorn.dll"
bundle_out=$(QVVORN_BUILD="$tests" QVVORN_BUNDLE_DIR="$dist" SOURCE_DATE_EPOCH="$stamp" "$root/scripts/test-bundle.sh")
bundle=${bundle_out##*$'\n'}
# Its module is the package's, byte for byte.
if ! cmp -s "$tests/QvVorn.dll" "$stage/QvVorn.dll"; then
  echo "package: the test bundle's QvVorn.dll differs from the package's" >&2
  exit 1
fi
echo "package: $bundle"

# What to publish beside the zips.
(cd "$dist" && sha256sum "$(basename "$zip")" "$(basename "$bundle")")
