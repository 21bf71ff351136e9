#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine and checks it as a user meets it: the
# installed tvs-render draws the installed production from a folder outside the clone exactly
# as the clone's build draws the clone's, the installed player plays it from there, every
# manual page renders, the desktop entry is valid. The package is removed again at the end,
# also when a check fails, so that the machine is left as it was.
# Usage: tests/package/package-test.sh   (as root: it installs and removes the package)
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
pass() { echo "PASS: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@"; }

bash "$root/scripts/package.sh" || {
  echo "FAIL: scripts/package.sh"
  exit 1
}
deb=$(ls "$root"/dist/velorine_*_amd64.deb)

work=$(mktemp -d)
cleanup() {
  apt_get remove velorine >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
apt_get install --reinstall "$deb" >/dev/null || {
  echo "FAIL: apt-get install $deb"
  exit 1
}
pass "installed $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# The installed tools and production against the clone's build and data, drawn at the same ticks.
# Frames are drawn on several threads in bands, which may differ by 1 in a channel.
ticks=0,60000
(cd "$root" && build-package/tvs-render 'data\tessik\postprocess.tvs' --at $ticks --out "$work/clone") ||
  fail "the clone's tvs-render failed"
(cd "$work" && tvs-render /usr/share/velorine/data/tessik/postprocess.tvs --at $ticks --out "$work/installed") ||
  fail "the installed tvs-render failed outside the clone"
for tick in ${ticks//,/ }; do
  differing=$(compare -metric AE -fuzz 1% "$work/clone/$tick.png" "$work/installed/$tick.png" null: 2>&1)
  if [ "$differing" = 0 ]; then
    pass "tvs-render: the installed production at $tick ms matches the clone's"
  else
    fail "tvs-render: at $tick ms, $differing pixels differ from the clone's frame"
  fi
done

# Every program has its page, and each renders without a complaint.
for program in velorine tvs-render tvs-check tvs-preview $([ -x /usr/bin/tvs-import-svg ] && echo tvs-import-svg); do
  page=/usr/share/man/man1/$program.1.gz
  text=$(MANWIDTH=80 man -l "$page" 2>"$work/man-errors")
  if [ $? -eq 0 ] && [ ! -s "$work/man-errors" ] && grep -q "^NAME" <<<"$text" && grep -q "$program" <<<"$text"; then
    pass "man -l $page"
  else
    fail "man -l $page: $(cat "$work/man-errors")"
  fi
done

if desktop-file-validate /usr/share/applications/velorine.desktop; then
  pass "desktop-file-validate velorine.desktop"
else
  fail "desktop-file-validate velorine.desktop"
fi
for size in 48 128 256; do
  icon=/usr/share/icons/hicolor/${size}x$size/apps/velorine.png
  got=$(identify -format "%wx%h %[channels]" "$icon" 2>/dev/null)
  if [ "$got" = "${size}x$size srgba" ]; then pass "icon $icon"; else fail "icon $icon is \"$got\""; fi
done

# The player's first picture is compared with the show's opening as the clone's build draws it.
(cd "$root" && build-package/tvs-render 'data\tessik\postprocess.tvs' --at "$(seq -s, 0 200 8000)" \
  --out "$work/opening") || fail "the clone's tvs-render failed on the opening"
bash "$root/tests/package/installed-player.sh" "$work/opening" || fail "the installed player"

if [ "$failures" -eq 0 ]; then
  echo "package: all checks passed"
  exit 0
fi
echo "package: $failures check(s) failed"
exit 1
