#!/usr/bin/env bash
# Builds the Debian package of Revolva, Subdivo and subdivo-export with CPack from the build in
# build/ and prints its path.
#   scripts/package.sh           build the package
#   scripts/package.sh --check   then check it: lintian (no errors allowed), its file list, its
#                                desktop entries (desktop-file-validate, silent), and the installed programs started from a scratch root unpacked
#                                with dpkg -x, on a private display
# The maintainer is taken from DEBFULLNAME/DEBEMAIL when set (see cmake/install.cmake).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
check="${1:-}"

"$root/scripts/install-deps.sh" --package
"$root/scripts/build.sh"
echo "== Packaging with CPack in $build"
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls -t "$build"/revolva-subdivo_*.deb | head -n 1)
echo "== Package: $package"
[[ "$check" == "--check" ]] || exit 0

echo "== lintian (errors fail; warnings and remarks are listed)"
findings=$(mktemp)
status=0
lintian --fail-on error --display-info "$package" >"$findings" 2>&1 || status=$?
# Root is how CI runs; lintian's remark about it is no finding about the package.
grep -v '^running with root privileges' "$findings" || echo "(no findings)"
rm -f "$findings"
((status == 0)) || { echo "lintian found errors" >&2; exit 1; }
echo "== Files of the package"
dpkg -c "$package" | awk '{print $1, $6}'

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$package" "$scratch"
echo "== Desktop entries (desktop-file-validate prints nothing for a sound entry)"
entries=$(desktop-file-validate "$scratch"/usr/share/applications/*.desktop 2>&1 || true)
[[ -z "$entries" ]] || { echo "$entries" >&2; exit 1; }
echo "== Starting the installed programs from $scratch"
PROJECT_ROOT="$root" E2E_LIB="$root/tests/e2e/e2e_lib.sh" E2E_ARTIFACTS="$build/e2e-artifacts" \
  INSTALL_ROOT="$scratch" bash "$root/tests/e2e/installed_package_check.sh"
