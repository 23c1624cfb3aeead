# The Debian source packages the browser and Windows builds compile their
# libraries from, each pinned to one revision, and how they are fetched.
# Sourced by scripts/build-web.sh and scripts/build-windows.sh, so both
# builds link the same library versions and name their caches by them.

# Debian's archive keeps only the newest revision of a suite, so a pin goes
# away when Debian updates the package; fetch_pinned_sources then names it.
KAVRIX_LIBRARY_PINS=(
  "zlib=1:1.2.13.dfsg-1"
  "libpng1.6=1.6.39-2+deb12u5"
  "libjpeg-turbo=1:2.1.5-2"
  "freetype=2.12.1+dfsg-5+deb12u4"
  "libsdl2=2.26.5+dfsg-1"
  "libsdl2-ttf=2.20.1+dfsg-2"
  "libopenmpt=0.6.9-1"
)

# The deb-src entries apt needs to fetch source packages, added only where
# there are none, in files of their own that the builds name.
KAVRIX_APT_SOURCES=/etc/apt/sources.list.d/kavrix-library-src.sources
KAVRIX_APT_LIST=/etc/apt/sources.list.d/kavrix-library-src.list

# The pins as one word for a cache key ("zlib_1_1.2.13.dfsg-1-libpng1.6...").
library_pins_key() {
  local key="" pin
  for pin in "${KAVRIX_LIBRARY_PINS[@]}"; do key="$key-${pin//[:=+~]/_}"; done
  echo "${key#-}"
}

# True when apt already knows a deb-src entry.
has_source_entries() {
  grep -rqs "^[^#]*deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null ||
    grep -rqsE "^Types:.*deb-src" /etc/apt/sources.list.d/ 2>/dev/null
}

# Writes deb-src entries for the Debian suites apt already uses into
# KAVRIX_APT_SOURCES (and KAVRIX_APT_LIST for a one-line sources.list), then
# runs apt-get update.
add_source_entries() {
  : > "$KAVRIX_APT_SOURCES"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$KAVRIX_APT_SOURCES" ] || continue
    sed -n '/^Types:/,/^$/p' "$f" | grep -q 'debian' || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" >> "$KAVRIX_APT_SOURCES"
    echo >> "$KAVRIX_APT_SOURCES"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$KAVRIX_APT_LIST" || true
    [ -s "$KAVRIX_APT_LIST" ] || rm -f "$KAVRIX_APT_LIST"
  fi
  apt-get update -qq
}

# The files add_source_entries wrote, and how to remove them, for a build's
# last lines. Prints nothing when the entries were the machine's own.
tell_source_entries() {
  local who=$1 added=""
  [ -f "$KAVRIX_APT_SOURCES" ] && added=$KAVRIX_APT_SOURCES
  [ -f "$KAVRIX_APT_LIST" ] && added="$added $KAVRIX_APT_LIST"
  [ -n "$added" ] || return 0
  echo "$who: apt: the deb-src entries these builds added are in${added# };" >&2
  echo "$who:   they stay for the next build; remove them with: rm -f$added && apt-get update" >&2
}

# Downloads and unpacks every pinned source package into SRC_DIR (which must
# exist and be empty). Fails naming the pin Debian no longer has.
fetch_pinned_sources() {
  cd "$1" || return 1
  local pin dsc
  for pin in "${KAVRIX_LIBRARY_PINS[@]}"; do
    if ! apt-get source -qq --download-only "$pin"; then
      echo "the pinned Debian source package $pin cannot be fetched: Debian has most likely"
      echo "replaced that revision. See 'apt-cache showsrc ${pin%%=*}' and update the pins in scripts/library_sources.sh."
      return 1
    fi
  done
  for dsc in *.dsc; do dpkg-source --no-check -x "$dsc" || return 1; done
}

# Everything before a library build in one call: deb-src entries added when
# apt has none (named on stderr), apt-get update once per cache root, then
# the pinned sources fetched and unpacked into SRC_DIR.
#   fetch_library_sources SRC_DIR CACHE_ROOT LOG_PREFIX
fetch_library_sources() {
  local src=$1 cache_root=$2 who=$3
  if ! has_source_entries; then
    echo "$who: adding deb-src entries for Debian's suites" >&2
    add_source_entries
  elif [ ! -f "$cache_root/.apt-updated" ]; then
    apt-get update -qq
  fi
  mkdir -p "$cache_root" && touch "$cache_root/.apt-updated"
  rm -rf "$src" && mkdir -p "$src"
  (fetch_pinned_sources "$src" >/dev/null 2>"$src/apt.err") || { cat "$src/apt.err" >&2; return 1; }
}
