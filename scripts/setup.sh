#!/bin/sh
# Installs the Debian packages Kavrix needs to build, play and test,
# when any of them is missing. Run as root on Debian 12. With --ci it adds
# the checkers CI runs on the installed files (desktop entry, metainfo, man
# page) and the icon's two SVG renderers; with --fuzz, clang and its libFuzzer runtime for tests/fuzz/run.sh;
# with --board, PostgreSQL's server and wrk for the score board's tests and benchmark.
set -e
PACKAGES="build-essential cmake pkg-config ccache libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-liberation \
fonts-dejavu-core libopenmpt-dev libcairo2-dev libjpeg62-turbo-dev libpng-dev libgtest-dev libbenchmark-dev libebur128-dev \
libavcodec-dev libavformat-dev libswscale-dev libswresample-dev \
libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev libssl-dev libcurl4-openssl-dev"
for option in "$@"; do
  case "$option" in
    --ci) PACKAGES="$PACKAGES desktop-file-utils appstream man-db librsvg2-bin imagemagick" ;;
    --fuzz) PACKAGES="$PACKAGES clang libclang-rt-dev" ;;
    --board) PACKAGES="$PACKAGES postgresql wrk" ;;
  esac
done
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
fi
