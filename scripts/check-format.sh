#!/usr/bin/env bash
# Checks that no file holds a merge-conflict marker and that every C++ source and header is
# laid out as .clang-format says; lists the places that are not and fails. With --fix it
# reformats the C++ files in place instead.
#   scripts/check-format.sh [--fix]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# A merge left unfinished leaves its conflict markers behind, in any kind of file.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  markers=$(git grep -nIE '^(<<<<<<<|>>>>>>>)( |$)|^=======$' || true)
else
  markers=$(grep -rnIE --exclude-dir='build*' --exclude-dir=.git \
    '^(<<<<<<<|>>>>>>>)( |$)|^=======$' . || true)
fi
if [[ -n "$markers" ]]; then
  echo "$markers" >&2
  echo "== Merge-conflict markers are left in these files; finish the merge" >&2
  exit 1
fi

"$root/scripts/install-deps.sh" --format >/dev/null
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
else
  mapfile -t sources < <(find . -path './build*' -prune -o -type f \
    \( -name '*.cpp' -o -name '*.h' \) -print)
fi
echo "== $(clang-format --version), ${#sources[@]} files"

if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${sources[@]}"
  echo "== Reformatted"
  exit 0
fi

# One warning per place that differs, each starting with its file's name. A failure of
# clang-format itself (an unknown key in .clang-format, say) fails the check too.
if ! report=$(clang-format --dry-run "${sources[@]}" 2>&1); then
  echo "$report" >&2
  exit 1
fi
mapfile -t unformatted < <(sed -n \
  's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if ((${#unformatted[@]} > 0)); then
  printf '  %s\n' "${unformatted[@]}"
  echo "== ${#unformatted[@]} files differ from .clang-format; scripts/check-format.sh --fix mends them"
  exit 1
fi
echo "== Every file is formatted"
