# The Debian source packages the browser and Windows builds compile their
# libraries from, each pinned to one revision, and how they are fetched.
# Sourced by scripts/build-web.sh and scripts/build-windows.sh, so both
# builds link the same library versions and name their caches by them.

# Debian's archive keeps only the newest revision of a suite, so a pin goes
# away when Debian updates the package; fetch_library_sources then names it.
KAVRIX_LIBRARY_PINS=(
  "zlib=1:1.2.13.dfsg-1"
  "libpng1.6=1.6.39-2+deb12u5"
  "libjpeg-turbo=1:2.1.5-2"
  "freetype=2.12.1+dfsg-5+deb12u4"
  "libsdl2=2.26.5+dfsg-1"
  "libsdl2-ttf=2.20.1+dfsg-2"
  "libopenmpt=0.6.9-1"
)

# The pins as one word for a cache key ("zlib_1_1.2.13.dfsg-1-libpng1.6...").
library_pins_key() {
  local key="" pin
  for pin in "${KAVRIX_LIBRARY_PINS[@]}"; do key="$key-${pin//[:=+~]/_}"; done
  echo "${key#-}"
}

# Adds deb-src entries for the Debian suites apt already uses (once), runs
# apt-get update once per cache root, then downloads and unpacks every pinned
# source package into SRC_DIR. Exits naming the pin Debian no longer has.
#   fetch_library_sources SRC_DIR CACHE_ROOT LOG_PREFIX
fetch_library_sources() {
  local src=$1 cache_root=$2 who=$3
  if ! grep -rqs "^[^#]*deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null &&
     ! grep -rqsE "^Types:.*deb-src" /etc/apt/sources.list.d/ 2>/dev/null; then
    echo "$who: adding deb-src entries for Debian's suites" >&2
    local list=/etc/apt/sources.list.d/kavrix-library-src.sources f
    : > "$list"
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && [ "$f" != "$list" ] || continue
      sed -n '/^Types:/,/^$/p' "$f" | grep -q 'debian' || continue
      sed 's/^Types:.*/Types: deb-src/' "$f" >> "$list"
      echo >> "$list"
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/kavrix-library-src.list || true
    fi
    apt-get update -qq
  elif [ ! -f "$cache_root/.apt-updated" ]; then
    apt-get update -qq
  fi
  mkdir -p "$cache_root" && touch "$cache_root/.apt-updated"

  rm -rf "$src" && mkdir -p "$src"
  (
    cd "$src"
    local pin dsc
    for pin in "${KAVRIX_LIBRARY_PINS[@]}"; do
      if ! apt-get source -qq --download-only "$pin" >/dev/null 2>"$src/apt.err"; then
        cat "$src/apt.err" >&2
        echo "$who: the pinned Debian source package $pin cannot be fetched: Debian has most likely" >&2
        echo "$who: replaced that revision. See 'apt-cache showsrc ${pin%%=*}' and update the pins in scripts/library_sources.sh." >&2
        exit 1
      fi
    done
    for dsc in *.dsc; do dpkg-source --no-check -x "$dsc" >/dev/null; done
  )
}
