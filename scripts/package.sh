#!/usr/bin/env bash
# Builds the release module and writes dist/QvVorn-<version>.zip: QvVorn.dll,
# the Japanese readme.txt (code page 932, CRLF), the English README.md and
# SHA256SUMS. The module is built twice from scratch and must come out byte
# for byte the same; its version resource must agree with the version set in
# CMakeLists.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${QVVORN_DIST:-$root/dist}

"$root/scripts/prepare.sh"
version=$(sed -n 's/^project(QvVorn VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[[ -n "$version" ]] || { echo "package: no version in CMakeLists.txt"; exit 1; }

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
  echo "package: two builds of the same sources differ"
  exit 1
fi
echo "package: two builds give the same QvVorn.dll"

# The fixed file version of the version resource, as a.b.c.d.
resource_version=$(python3 - "$work/first/QvVorn.dll" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.find(struct.pack('<I', 0xFEEF04BD))
ms, ls = struct.unpack_from('<II', data, at + 8)
print(f'{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}')
PY
)
if [[ "$resource_version" != "$version" ]]; then
  echo "package: the version resource says $resource_version, CMakeLists.txt $version"
  exit 1
fi

stage="$work/QvVorn-$version"
mkdir -p "$stage"
cp "$work/first/QvVorn.dll" "$stage/QvVorn.dll"
cp "$root/README.md" "$stage/README.md"
# The readme is kept as UTF-8 in the sources; users of the mail client read
# code page 932 with CRLF line ends. iconv fails on a character 932 lacks.
sed "s/@VERSION@/$version/" "$root/packaging/readme.ja.txt" | sed 's/$/\r/' |
  iconv -f UTF-8 -t CP932 >"$stage/readme.txt"
(cd "$stage" && sha256sum QvVorn.dll readme.txt README.md >SHA256SUMS)

mkdir -p "$dist"
zip="$dist/QvVorn-$version.zip"
# Stored in a fixed order with a fixed date, so the zip is reproducible too.
python3 - "$stage" "$zip" <<'PY'
import os, sys, zipfile
stage, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, 'w', zipfile.ZIP_DEFLATED) as z:
    for name in ['QvVorn.dll', 'readme.txt', 'README.md', 'SHA256SUMS']:
        info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
        info.external_attr = 0o644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), 'rb') as f:
            z.writestr(info, f.read())
PY
echo "package: $zip"
(cd "$stage" && cat SHA256SUMS)
