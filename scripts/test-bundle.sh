#!/usr/bin/env bash
# Makes QvVorn-tests-<version>.zip from a finished build (scripts/build.sh):
# the test programs that ctest runs under Wine, the same binaries, with every
# module and file they load, a run-tests.cmd that runs them on Windows as
# ctest does, and the benchmark with its run-bench.cmd. <version> is the
# package's (packaging/VERSION). The zip holds one folder,
# QvVorn-tests-<version>, with the two .cmd files and bin\; it goes into
# ${QVVORN_BUNDLE_DIR:-<the build>}. Every entry is dated with the commit's
# time (SOURCE_DATE_EPOCH, or HEAD's), so the same files give the same zip.
# The zip's full path is the last line of standard output, alone; all else
# goes to standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
dest=${QVVORN_BUNDLE_DIR:-$build}

if [[ ! -f "$build/CTestTestfile.cmake" || ! -f "$build/QvVorn.dll" ]]; then
  echo "test-bundle: $build holds no finished build with tests; run scripts/build.sh first" >&2
  exit 1
fi
version=$(tr -d '\r\n' <"$root/packaging/VERSION")
name=QvVorn-tests-$version
# The benchmark is built on demand only; its compiler's words are shown only
# when it fails.
if ! out=$(cmake --build "$build" --target qvvorn_bench 2>&1); then
  printf '%s\n' "$out" >&2
  echo "test-bundle: the benchmark (qvvorn_bench) did not build in $build" >&2
  exit 1
fi
if [[ -n ${SOURCE_DATE_EPOCH:-} ]]; then
  stamp=$SOURCE_DATE_EPOCH
elif ! stamp=$(git -C "$root" log -1 --format=%ct HEAD 2>/dev/null); then
  stamp=$(date +%s) # a copy of the tree without its history
fi

windres=${QVVORN_WINDRES:-i686-w64-mingw32-windres}
stage=$(mktemp -d /tmp/qvvorn-bundle.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/bin"

# ctest's own list of its tests, as run-tests.cmd lines and the files to copy.
# Listing them starts ctest's log anew: the last run's log is kept.
log=$build/Testing/Temporary/LastTest.log
[[ -f $log ]] && cp "$log" "$stage/LastTest.log"
(cd "$build" && ctest --show-only=json-v1) >"$stage/tests.json"
[[ -f $stage/LastTest.log ]] && cp "$stage/LastTest.log" "$log"
python3 - "$build" "$stage/tests.json" "$stage/$name" "$root/tests/bundle" "$version" >&2 <<'EOF'
import json, os, shutil, sys

build, listing, bundle, templates, version = sys.argv[1:]
bin_dir = os.path.join(bundle, "bin")
lines, files = [], set()
for test in json.load(open(listing))["tests"]:
    command = test["command"]
    # The cross-compiled programs run through Wine, the emulator; the checks
    # that are CMake or shell scripts reading the build stay on Linux.
    program = next((c for c in command if c.lower().endswith(".exe")), None)
    if program is None:
        continue
    relative = os.path.relpath(program, build)
    if relative.startswith(".."):
        sys.exit(f"test-bundle: {test['name']} runs {program}, outside the build")
    if command[-1] != program:
        sys.exit(f"test-bundle: {test['name']} takes arguments, which run-tests.cmd does not pass")
    properties = {p["name"]: p["value"] for p in test.get("properties", [])}
    environment = properties.get("ENVIRONMENT", [])
    files.add(relative)
    # A module named in the environment (QVVORN_MODULE=clang\QvVorn.dll).
    for setting in environment:
        value = setting.split("=", 1)[1]
        if value.lower().endswith(".dll"):
            files.add(value.replace("\\", "/"))
    settings = "".join(f' "{s}"' for s in environment)
    lines.append(f"call :run {test['name']} {relative.replace('/', chr(92))}{settings}")

# What the programs load or start beside them: every module and program at
# the top of the build, and each module's runtime record, which the contract
# tests read. Not our hosts, which use the mail client's real settings key
# (the demo deletes it), nor the screenshot tool, which starts one.
for entry in os.listdir(build):
    if entry.lower().endswith((".dll", ".exe")) and entry not in ("qvshots.exe", "qvhost.exe", "qvdemo.exe"):
        files.add(entry)
for relative in sorted(files):
    source = os.path.join(build, relative)
    if not os.path.isfile(source):
        sys.exit(f"test-bundle: {source} is not there; is the build finished?")
    for path in (relative, relative[:-4] + ".runtime"):
        if os.path.isfile(os.path.join(build, path)):
            os.makedirs(os.path.dirname(os.path.join(bin_dir, path)), exist_ok=True)
            shutil.copy2(os.path.join(build, path), os.path.join(bin_dir, path))

# The manifest that asks Windows for code page 932, for the programs that
# want it beside them.
manifest = os.path.join(templates, "ja-JP.manifest")
if os.path.isfile(manifest):
    shutil.copyfile(manifest, os.path.join(bin_dir, "ja-JP.manifest"))

# The .cmd files, with CRLF line ends as cmd expects, and the readme (kept
# with the package's in packaging/) in code page 932, which a Japanese
# Windows' Notepad opens as it is.
readme = os.path.join(templates, "..", "..", "packaging", "readme.tests.txt")
for template, name, encoding in ((os.path.join(templates, "run-tests.cmd.in"), "run-tests.cmd", "ascii"),
                                 (os.path.join(templates, "run-bench.cmd.in"), "run-bench.cmd", "ascii"),
                                 (readme, "readme.txt", "cp932")):
    text = open(template, encoding="utf-8").read()
    text = text.replace("@VERSION@", version).replace("@TESTS@", "\n".join(lines))
    with open(os.path.join(bundle, name), "w", newline="\r\n", encoding=encoding) as out:
        out.write(text)
EOF

# Windows takes an embedded manifest (id 1) over ja-JP.manifest beside a
# program, so only the programs meant to bring their own may have one: the
# _cc6 programs, each with Common Controls 6. A toolchain that links a
# default manifest would quietly undo the code page 932 plan.
for program in "$stage/$name/bin/"*.exe; do
  base=$(basename "$program" .exe)
  resources=$("$windres" -i "$program" -O rc 2>/dev/null || true)
  embedded=no
  [[ $'\n'$resources == *$'\n1 24 '* ]] && embedded=yes
  expected=no
  [[ $base == *_cc6 ]] && expected=yes
  if [[ $embedded != "$expected" ]]; then
    echo "test-bundle: bin/$base.exe: a manifest with id 1 is" \
      "$([[ $embedded == yes ]] || echo "not ")embedded; only the _cc6 programs have one" >&2
    exit 1
  fi
done

mkdir -p "$dest"
zip=$(cd "$dest" && pwd)/$name.zip
rm -f "$zip"
python3 "$root/scripts/dated-zip.py" "$zip" "$stage" "$name" "$stamp"
echo "test-bundle: $(cd "$stage/$name" && find . -type f | wc -l) files" >&2
echo "$zip"
