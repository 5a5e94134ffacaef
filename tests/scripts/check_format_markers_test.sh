#!/usr/bin/env bash
# scripts/check-format.sh refuses a tracked file that still holds a merge-conflict marker,
# whatever its kind, and names the file and line.
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/scripts"
cp "$PROJECT_ROOT/scripts/check-format.sh" "$PROJECT_ROOT/scripts/install-deps.sh" "$scratch/scripts/"
cd "$scratch"
git init -q .
printf '# Notes\n<<<<<<< HEAD\nours\n=======\ntheirs\n>>>>>>> web\n' >NOTES.md
git add -A
status=0
output=$(scripts/check-format.sh 2>&1) || status=$?
if ((status == 0)) || ! grep -q '^NOTES.md:2:<<<<<<< HEAD' <<<"$output"; then
  echo "check-format.sh passed a file with conflict markers (status $status):" >&2
  echo "$output" >&2
  exit 1
fi
echo "check-format.sh refused the markers"
