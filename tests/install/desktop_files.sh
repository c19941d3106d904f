#!/usr/bin/env bash
# The desktop entries pass desktop-file-validate; the file types are
# well-formed, accepted by update-mime-database and tell a project, a
# dictionary and a plain database apart; each file type opens in its
# program. Both entries are checked whether or not glossmith is built.
#   desktop_files.sh PACKAGING_DIR DEMO_SOURCE_DIR
set -euo pipefail
packaging=$1
source=$2
here=$(dirname "$0")
export LC_ALL=C.UTF-8
. "$here/common.sh"
require desktop-file-validate xmllint update-mime-database update-desktop-database gio sqlite3

for entry in ulk glossmith; do
  out=$(desktop-file-validate "$packaging/$entry.desktop" 2>&1) || fail "$entry.desktop: $out"
  [ -z "$out" ] || fail "$entry.desktop: $out"
done
xmllint --noout "$packaging/ulk-mime.xml" || fail "xmllint ulk-mime.xml"

work=$(mktemp -d /tmp/ulk-mime.XXXXXX)
trap 'rm -rf "$work"' EXIT
data=$work/share
# Only the files below are consulted: the user's own and the system's data
# stay out of the answer.
export XDG_DATA_HOME=$work/user XDG_DATA_DIRS=$data XDG_CONFIG_HOME=$work/config \
  XDG_CONFIG_DIRS=$work/config
mkdir -p "$data/mime/packages" "$data/applications" "$work/files"
cp /usr/share/mime/packages/freedesktop.org.xml "$data/mime/packages/"
cp "$packaging/ulk-mime.xml" "$data/mime/packages/ulk.xml"
out=$(update-mime-database "$data/mime" 2>&1) || fail "update-mime-database: $out"
[ -z "$out" ] || fail "update-mime-database: $out"
cp "$packaging/ulk.desktop" "$packaging/glossmith.desktop" "$data/applications/"
update-desktop-database "$data/applications" || fail "update-desktop-database"

cd "$work/files"
cp "$source/demo.ulk" demo.ulk
cp "$source/demo.ulk" proyecto-sin-extension
sqlite3 notas.dic "CREATE TABLE t(a);"
cp notas.dic notas.sqlite
cp notas.dic base-sin-extension

type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
while read -r file expected; do
  got=$(type_of "$file")
  [ "$got" = "$expected" ] || fail "$file: $got, no $expected"
done <<'TABLE'
demo.ulk application/x-ulk-project
proyecto-sin-extension application/x-ulk-project
notas.dic application/x-ulk-dictionary
notas.sqlite application/vnd.sqlite3
base-sin-extension application/vnd.sqlite3
TABLE

# GLib offers only programs that it finds on the path.
mkdir -p "$work/bin"
for program in ulk glossmith; do
  printf '#!/bin/sh\n' >"$work/bin/$program"
  chmod +x "$work/bin/$program"
done
export PATH=$work/bin:$PATH
for pair in application/x-ulk-project:ulk.desktop application/x-ulk-dictionary:glossmith.desktop; do
  type=${pair%%:*}
  app=${pair#*:}
  opener=$(gio mime "$type" 2>&1 | sed -n 's/^Default application for .*: //p')
  [ "$opener" = "$app" ] || fail "$type se abre con «$opener», no con $app"
done
echo "entradas de escritorio y tipos de archivo correctos"
