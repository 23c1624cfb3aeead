#!/bin/bash
# Builds the Debian packages (kavrix, kavrix-data, kavrix-dbgsym) from this
# tree as it stands, in a clean copy of its tracked files, so no build
# folder of the tree goes in and nothing is written beside it; the packages,
# the .changes and .buildinfo end up in OUTDIR. Needs the build dependencies
# (apt-get build-dep ./ installs them) and dpkg-dev.
#   scripts/build-deb.sh OUTDIR
set -euo pipefail
out=$(mkdir -p "${1:?usage: build-deb.sh OUTDIR}" && cd "$1" && pwd)
cd "$(dirname "$0")/.."
# One fixed place to build in, and the player's own ccache folder (the
# package build points HOME elsewhere): the compiler's command lines name the
# build folder, so a second build of the same sources finds its objects.
work=${KAVRIX_DEB_WORK:-${TMPDIR:-/tmp}/kavrix-deb}
export CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir 2>/dev/null || echo "$HOME/.cache/ccache")}
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/kavrix"
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$work/kavrix"
(cd "$work/kavrix" && DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -us -uc -b)
mv "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$out"/  # kavrix-dbgsym too
ls -l "$out"
