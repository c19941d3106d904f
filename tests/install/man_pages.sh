#!/usr/bin/env bash
# The manual pages render without a warning, and ulk-cli's page and its
# bash completion know every command and option that the program's own
# summary names.
#   man_pages.sh PACKAGING_DIR ULK_CLI
set -euo pipefail
packaging=$1
cli=$2
here=$(dirname "$0")
. "$here/common.sh"
require man col

for page in ulk glossmith ulk-cli; do
  file=$packaging/man/$page.1
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$file" 2>&1 >/dev/null) ||
    fail "$page.1 no se compone"
  [ -z "$rendered" ] || fail "$page.1: $rendered"
done

page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$packaging/man/ulk-cli.1" 2>/dev/null | col -b)
summary=$("$cli" help)
commands=$(echo "$summary" | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
options=$(echo "$summary" | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ "$(echo "$commands" | wc -l)" -ge 17 ] || fail "el resumen de ulk-cli no lista las órdenes: $summary"

# The completion, asked as bash asks it.
complete_words() {
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _ulk_cli; [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$packaging/completion/ulk-cli" "$@"
}
completed=$(complete_words ulk-cli "")
for command in $commands; do
  grep -q -- "^ *$command\( \|$\)" <<<"$page" || fail "ulk-cli.1 no documenta la orden $command"
  grep -qx -- "$command" <<<"$completed" || fail "el completado no ofrece la orden $command"
done
for option in $options; do
  grep -q -- "$option" <<<"$page" || fail "ulk-cli.1 no documenta la opción $option"
done
while IFS='|' read -r words expected; do
  # shellcheck disable=SC2086
  got=$(complete_words $words "" | tr '\n' ' ')
  [ "$got" = "$expected" ] || fail "completado de «$words»: «$got», no «$expected»"
done <<'TABLE'
ulk-cli list p.ulk m.dll --kind|ST MN DL VS MT FM 
ulk-cli generate p.ulk --language|
TABLE
got=$(complete_words ulk-cli generate p.ulk --k | tr '\n' ' ')
[ "$got" = "--keep-going " ] || fail "completado de generate --k: «$got»"
got=$(complete_words ulk-cli check p.ulk -- | tr '\n' ' ')
[ "$got" = "--language --json " ] || fail "completado de check --: «$got»"
echo "páginas de manual y completado correctos"
