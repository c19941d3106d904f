# Shared by the install checks: failing, skipping when a tool is missing
# (a failure in CI, where every tool must be there), and running ulk-cli
# from an installed tree on a copy of the bundled example.

fail() {
  echo "FALLO: $*" >&2
  exit 1
}

# require TOOL...: exits 77 (skipped) outside CI when one is missing.
require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 && continue
    if [ "${CI:-}" = "true" ]; then
      fail "falta $tool, que CI necesita (scripts/setup lo instala)"
    fi
    echo "omitido: falta $tool (scripts/setup lo instala)"
    exit 77
  done
}

# check_installed_cli ROOT DEMO_BUILD DEMO_SOURCE WORK
# The ulk-cli under ROOT/bin reads and generates the example, and translates
# with a dictionary through the component it loads from ROOT/lib/ulk, not
# from anywhere else.
check_installed_cli() {
  local root=$1 demo=$2 source=$3 work=$4
  local cli=$root/bin/ulk-cli
  mkdir -p "$work"
  cp "$demo/demo32.dll" "$demo/demo64.dll" "$source/demo.ulk" "$work/"
  (
    cd "$work"
    "$cli" read demo.ulk >read.out 2>&1 || fail "read: $(cat read.out)"
    grep -q "Módulos leídos: 2" read.out || fail "read: $(cat read.out)"
    "$cli" generate demo.ulk >generate.out 2>&1 || fail "generate: $(cat generate.out)"
    local lang module
    for lang in en-US de-DE; do
      for module in demo32.dll demo64.dll; do
        [ -s "traducciones/$lang/$module" ] || fail "generate no ha escrito traducciones/$lang/$module"
      done
    done
    # The English texts of one module go into a new dictionary, which then
    # translates the other module in a project of its own.
    "$cli" add-to-dictionary demo.ulk demo32.dll --dictionary demo.dic >add.out 2>&1 ||
      fail "add-to-dictionary: $(cat add.out)"
    {
      "$cli" new fresh.ulk --name Fresco &&
        "$cli" add fresh.ulk demo64.dll &&
        "$cli" add-language fresh.ulk demo64.dll "Inglés (Estados Unidos)" --output out/demo64.dll &&
        "$cli" read fresh.ulk
    } >fresh.out 2>&1 || fail "proyecto nuevo: $(cat fresh.out)"
    LD_DEBUG=files "$cli" translate fresh.ulk demo64.dll --dictionary demo.dic \
      >translate.out 2>translate.err || fail "translate: $(cat translate.out translate.err)"
    grep -q "^Textos traducidos: [1-9][0-9]* de " translate.out || fail "translate: $(cat translate.out)"
    "$cli" list fresh.ulk demo64.dll >list.out 2>&1 || fail "list: $(cat list.out)"
    grep -q "	Notas	Notes	traducido	" list.out || fail "translate no ha traducido «Notas»"
    # The loader names the file whose initialisation it runs.
    local loaded
    loaded=$(sed -n '/calling init: .*libtermvault\.so/{s/.*calling init: \(.*libtermvault\.so\).*/\1/p;q}' \
      translate.err)
    [ "$(realpath -m "${loaded:-/}")" = "$(realpath "$root")/lib/ulk/libtermvault.so" ] ||
      fail "el componente cargado no es el instalado: ${loaded:-ninguno}"
  )
}
