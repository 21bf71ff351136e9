#!/usr/bin/env bash
# Installs what is missing, builds the player and the tools in Release with Debian's hardening
# flags (in build-package/), and writes the Debian package dist/velorine_VERSION_amd64.deb with
# CPack: programs, production, manual pages, desktop entry, icons and copyright. Then lints it.
# Usage: scripts/package.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

# Debian's flags without their debug info (the package ships stripped programs) and without
# the source-path mapping, so that the compiler cache serves every clone alike.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath"
export DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
build=$root/build-package
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKUV_PACKAGE=ON -DKUV_BUILD_TESTS=OFF -DKUV_BUILD_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

rm -f "$root"/dist/velorine_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$root"/dist/velorine_*.deb)
rm -rf "$root/dist/_CPack_Packages"

# lintian's errors fail the build; its warnings and notes are shown.
lintian --fail-on error "$deb" || {
  echo "package: lintian found errors in $deb" >&2
  exit 1
}
echo "package: wrote $deb ($(stat -c %s "$deb") bytes)"
