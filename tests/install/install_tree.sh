#!/usr/bin/env bash
# `cmake --install` with DESTDIR lays out exactly the expected tree (nothing
# that only the tests use), the programs' run path names the private folder
# and no build folder, and the installed ulk-cli works on the example with
# the installed dictionary component.
#   install_tree.sh BUILD_DIR DEMO_SOURCE_DIR WITH_GLOSSMITH(0|1)
set -euo pipefail
build=$1
source=$2
with_glossmith=$3
here=$(dirname "$0")
. "$here/common.sh"
require readelf

work=$(mktemp -d /tmp/ulk-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$work/install.log")"
root=$work/root/usr

expected="bin/ulk
bin/ulk-cli
lib/ulk/libtermvault.so
share/applications/ulk.desktop
share/bash-completion/completions/ulk-cli
share/doc/ulk/changelog.gz
share/doc/ulk/copyright
share/doc/ulk/examples/demo.rc
share/doc/ulk/examples/demo.ulk
share/doc/ulk/examples/demo32.dll
share/doc/ulk/examples/demo64.dll
share/icons/hicolor/scalable/apps/ulk.svg
share/icons/hicolor/scalable/mimetypes/application-x-ulk-dictionary.svg
share/icons/hicolor/scalable/mimetypes/application-x-ulk-project.svg
share/man/man1/ulk-cli.1.gz
share/man/man1/ulk.1.gz
share/mime/packages/ulk.xml"
if [ "$with_glossmith" = 1 ]; then
  expected="$expected
bin/glossmith
share/applications/glossmith.desktop
share/icons/hicolor/scalable/apps/glossmith.svg
share/man/man1/glossmith.1.gz"
fi
installed=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
want=$(echo "$expected" | LC_ALL=C sort)
[ "$installed" = "$want" ] || fail "archivos instalados distintos de los esperados:
$(diff <(echo "$want") <(echo "$installed") || true)"
[ -z "$(find "$work/root" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "instalado fuera de la raíz"

for program in ulk ulk-cli; do
  runpath=$(readelf -d "$root/bin/$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [ "$runpath" = '$ORIGIN/../lib/ulk' ] || fail "$program: RUNPATH «$runpath»"
done
# Nor do the build folder's programs search the current folder for their
# libraries, which an empty entry of a run path stands for.
for program in ulk ulk-cli; do
  runpath=$(readelf -d "$build/bin/$program" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]/\1/p')
  case ":$runpath:" in
    *::*) [ -z "$runpath" ] || fail "$build/bin/$program: RUNPATH con una entrada vacía «$runpath»" ;;
  esac
done
missing=$(ldd "$root/bin/ulk" | grep "not found" || true)
[ -z "$missing" ] || fail "ulk: bibliotecas que faltan: $missing"

check_installed_cli "$root" "$build/examples/demo" "$source" "$work/demo"
echo "instalación correcta en $root"
