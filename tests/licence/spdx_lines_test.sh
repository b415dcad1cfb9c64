#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++, CMake or shell source file, or the Makefile, lacks the
# SPDX licence line at its top: the first line, or the second after a
# shebang. The files are git's tracked ones in a git checkout, else all that
# find lists outside the build folders.
# Usage: spdx_lines_test.sh <source folder>
set -euo pipefail
cd "$1"

readonly licence='SPDX-License-Identifier: GPL-3.0-or-later'

tree_files() {
  if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z
  else
    find . \( -path ./.git -o -path './build*' \) -prune -o -type f -printf '%P\0'
  fi
}

# The comment marker the file's kind writes its SPDX line with; none for a
# file that is not a source.
comment_marker() {
  local file=$1 first_line
  case $file in
    *.cpp | *.h | *.h.in) echo '//' ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | Makefile) echo '#' ;;
    *)
      IFS= read -r first_line <"$file" || true
      [[ $first_line =~ ^\#!.*[/\ ](ba|da)?sh$ ]] && echo '#'
      ;;
  esac
}

checked=0
missing=()
while IFS= read -r -d '' file; do
  [[ -f $file ]] || continue # tracked, but deleted in the working tree
  marker=$(comment_marker "$file") || true
  [[ -n $marker ]] || continue
  checked=$((checked + 1))
  line1='' line2=''
  { IFS= read -r line1 || true; IFS= read -r line2 || true; } <"$file"
  [[ $line1 == '#!'* ]] && line1=$line2
  [[ $line1 == "$marker $licence" ]] || missing+=("$file")
done < <(tree_files)

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "no \"$licence\" line at the top of:"
  printf '  %s\n' "${missing[@]}"
  exit 1
fi
echo "$checked source files carry the SPDX line"
