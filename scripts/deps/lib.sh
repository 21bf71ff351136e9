# Shared by build.sh and the recipes: fetching Debian sources, the cache key, and the three build
# systems the libraries use. A target file provides target_setup and the DEPS_* tool settings.

deps_src="$cache/src"

# deb-src entries beside the deb ones, so that apt-get source finds the packages.
deps_enable_sources() {
  local list=/etc/apt/sources.list.d/debian.sources
  if [ -f "$list" ] && grep -q '^Types: deb$' "$list"; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' "$list"
    apt-get update -qq
  fi
}

# The Debian source package a recipe builds ("" for ours).
deps_source_of() { (source "$here/recipes/$1.sh" && echo "${SOURCE:-}"); }

# A Debian version without its epoch and revision.
deps_upstream() { local v="${1#*:}"; echo "${v%-*}"; }

# Downloads PKG's newest source that the mirror serves whole and records its version in PKG.chosen.
# A mirror may lack the Debian part of a source while serving its upstream tarball: with no whole
# version at all, the newest upstream tarball is built alone.
deps_fetch() {
  local pkg="$1" version versions
  versions="$(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -Vru)"
  # Already here from an earlier run, and still what the lists offer: nothing to download.
  version="$(cat "$deps_src/$pkg.chosen" 2>/dev/null || true)"
  if [ -n "$version" ] && grep -qxF "$version" <<<"$versions" \
    && ls "$deps_src/${pkg}_$(deps_upstream "$version").orig.tar."* >/dev/null 2>&1; then
    return 0
  fi
  for version in $versions; do
    if (cd "$deps_src" && apt-get source -qq --download-only "$pkg=$version" >"$deps_src/$pkg.log" 2>&1); then
      echo "$version" >"$deps_src/$pkg.chosen"
      return 0
    fi
  done
  for version in $versions; do
    if ls "$deps_src/${pkg}_$(deps_upstream "$version").orig.tar."* >/dev/null 2>&1; then
      echo "deps: $pkg $version: building from its upstream tarball alone" >&2
      echo "$version" >"$deps_src/$pkg.chosen"
      return 0
    fi
  done
  echo "deps: no source package '$pkg' could be downloaded (see $deps_src/$pkg.log)" >&2
  return 1
}

deps_fetch_all() {
  mkdir -p "$deps_src"
  local lib pkg
  if ! apt-cache showsrc zlib 2>/dev/null | grep -q '^Version:'; then deps_enable_sources; fi
  for lib in "${DEPS_LIBS[@]}"; do
    pkg="$(deps_source_of "$lib")"
    [ -z "$pkg" ] || deps_fetch "$pkg"
  done
}

# The prefix is keyed by the target and the versions of every source; within it each library's
# stamp holds a hash of its recipe, its source's version and everything built before it, so that
# a changed recipe rebuilds that library and the ones after it, and nothing else.
deps_key() {
  local lib pkg
  {
    cat "$here/targets/$target.sh" "$DEPS_TOOLCHAIN"
    for lib in "${DEPS_LIBS[@]}"; do
      pkg="$(deps_source_of "$lib")"
      [ -z "$pkg" ] || echo "$pkg $(cat "$deps_src/$pkg.chosen")"
    done
  } | sha256sum | cut -c1-16
}

# The hash a library's stamp must hold: the one before it, the build helpers, its recipe and source.
deps_stamp_hash() {
  local previous="$1" lib="$2" pkg
  pkg="$(deps_source_of "$lib")"
  {
    echo "$previous"
    cat "$here/lib.sh" "$here/recipes/$lib.sh"
    [ -z "$pkg" ] || echo "$pkg $(cat "$deps_src/$pkg.chosen")"
    [ ! -d "$here/stubs/$lib" ] || find "$here/stubs/$lib" -type f | LC_ALL=C sort | xargs cat
  } | sha256sum | cut -c1-16
}

# Unpacks PKG's chosen source into DIR with Debian's patches applied; a source whose Debian part
# the mirror lacks is unpacked from its upstream tarball alone.
deps_unpack() {
  local pkg="$1" dir="$2" version dsc orig
  version="$(cat "$deps_src/$pkg.chosen")"
  dsc="$deps_src/${pkg}_${version#*:}.dsc"
  rm -rf "$dir"
  if dpkg-source --no-check -x "$dsc" "$dir" >/dev/null 2>&1; then return 0; fi
  rm -rf "$dir"
  orig="$(ls "$deps_src/${pkg}_$(deps_upstream "$version").orig.tar."* | head -1)"
  mkdir -p "$dir"
  tar -C "$dir" --strip-components=1 -xf "$orig"
}

# Builds LIB into PREFIX unless its stamp already holds HASH.
deps_build_one() {
  local lib="$1" prefix="$2" work="$3" hash="$4" pkg log started
  [ "$(cat "$prefix/.stamps/$lib" 2>/dev/null)" = "$hash" ] && return 0
  mkdir -p "$prefix/.stamps" "$prefix/include" "$prefix/lib" "$work"
  pkg="$(deps_source_of "$lib")"
  log="$work/$lib.log"
  started=$(date +%s)
  echo "deps: building $lib ..." >&2
  if [ -n "$pkg" ]; then deps_unpack "$pkg" "$work/$lib"; else mkdir -p "$work/$lib"; fi
  # The recipe runs with errexit of its own (an "if" around it would switch that off).
  set +e
  (
    set -e
    cd "$work/$lib"
    source "$here/recipes/$lib.sh"
    build
  ) >"$log" 2>&1
  local status=$?
  set -e
  if [ "$status" -ne 0 ]; then
    tail -40 "$log" >&2
    echo "deps: $lib failed (log: $log)" >&2
    return 1
  fi
  echo "deps: $lib done in $(( $(date +%s) - started )) s" >&2
  echo "$hash" >"$prefix/.stamps/$lib"
}

# Long compiles yield to everything else on the machine.
deps_nice() { nice -n 19 "$@"; }

# meson with the target's cross file, static libraries, into the prefix. Meson reads CC and the
# like as the build machine's, so the target's are left to the cross file.
run_meson() {
  deps_nice env -u CC -u CXX -u CFLAGS -u CXXFLAGS -u CPPFLAGS -u LDFLAGS -u AR -u RANLIB -u NM \
    -u STRIP -u PKG_CONFIG meson setup _build --cross-file "$DEPS_PREFIX/share/cross.ini" --prefix "$DEPS_PREFIX" \
    --libdir lib --buildtype release --default-library static --wrap-mode nodownload "$@"
  deps_nice ninja -C _build -j "$DEPS_JOBS" install
}

# cmake with the target's toolchain, static libraries, into the prefix.
run_cmake() {
  deps_nice cmake -S . -B _build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$DEPS_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DEPS_PREFIX" -DCMAKE_PREFIX_PATH="$DEPS_PREFIX" \
    -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
  deps_nice cmake --build _build -j "$DEPS_JOBS"
  deps_nice cmake --install _build
}

# An autotools configure for the target's host, static libraries, into the prefix.
run_configure() {
  deps_nice ./configure --host="$DEPS_HOST" --prefix="$DEPS_PREFIX" --libdir="$DEPS_PREFIX/lib" \
    --enable-static --disable-shared "$@"
}
