#!/usr/bin/env bash
# Copies a git work tree as it is into a folder: the files git tracks and the
# new ones it does not ignore, so build output stays behind. A tracked file
# deleted in the work tree, as in the middle of an edit, is left out and named.
#   scripts/copy-tree.sh <work tree> <folder>
set -euo pipefail
if (($# != 2)); then
  echo "copy-tree: usage: copy-tree.sh <work tree> <folder>" >&2
  exit 2
fi
tree=$1 dest=$2

files=()
gone=()
while IFS= read -r -d '' file; do
  if [[ -e $tree/$file || -L $tree/$file ]]; then
    files+=("$file")
  else
    gone+=("$file")
  fi
done < <(git -C "$tree" ls-files -z --cached --others --exclude-standard)
if ! wait $!; then
  echo "copy-tree: git could not list the files of $tree" >&2
  exit 1
fi

mkdir -p "$dest"
if ((${#files[@]})); then
  printf '%s\0' "${files[@]}" | (cd "$tree" && tar --null -T - -cf -) | tar -xf - -C "$dest"
fi
for file in "${gone[@]}"; do
  echo "copy-tree: $file: deleted in the work tree, so not copied" >&2
done
