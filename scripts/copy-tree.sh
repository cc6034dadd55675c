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

# A folder that is not the top of a git checkout, or a machine without git
# (the copy of the tree in another release's root), is copied whole but for
# what its .gitignore names.
copy_without_git() {
  local excludes=() line
  if [[ -f $tree/.gitignore ]]; then
    while IFS= read -r line; do
      [[ -z $line || $line == '#'* ]] && continue
      line=${line%/}
      [[ $line == /* ]] && line=.$line
      excludes+=("--exclude=$line")
    done <"$tree/.gitignore"
  fi
  mkdir -p "$dest"
  (cd "$tree" && tar "${excludes[@]}" -cf - .) | tar -xf - -C "$dest"
}
top=$(command -v git >/dev/null && git -C "$tree" rev-parse --show-toplevel 2>/dev/null || true)
if [[ -z $top || $(cd "$top" && pwd -P) != $(cd "$tree" && pwd -P) ]]; then
  copy_without_git
  exit 0
fi

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
