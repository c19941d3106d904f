#!/usr/bin/env bash
# The Debian package: cpack builds it with its dependencies computed,
# lintian finds no error in it, and the programs unpacked from it (stripped,
# under /usr) work on the example with the component they carry.
#   deb_package.sh BUILD_DIR DEMO_SOURCE_DIR
set -euo pipefail
build=$1
source=$2
here=$(dirname "$0")
. "$here/common.sh"
require cpack dpkg-deb dpkg-shlibdeps fakeroot lintian

work=$(mktemp -d /tmp/ulk-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/ulk_*.deb)
[ -f "$deb" ] || fail "cpack no ha escrito ulk_*.deb"

depends=$(dpkg-deb -f "$deb" Depends)
# ulk-cli loads libxml2, fontconfig, FreeType and SQLite itself when a command
# needs them: the package must still depend on them.
for needed in libwxgtk3.2 libwxbase3.2 libicu libsqlite3 libxml2 libfontconfig1 libfreetype6 \
  libstdc++6 libc6 wx3.2-i18n; do
  grep -q "$needed" <<<"$depends" || fail "Depends sin $needed: $depends"
done

# Errors fail; warnings are shown.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -q "^E: " "$work/lintian.log"; then
  fail "lintian encuentra errores en $(basename "$deb")"
fi

dpkg-deb -x "$deb" "$work/root"
check_installed_cli "$work/root/usr" "$build/examples/demo" "$source" "$work/demo"
echo "paquete correcto: $(basename "$deb"), Depends: $depends"
