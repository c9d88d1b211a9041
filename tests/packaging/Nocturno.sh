#!/usr/bin/env bash
# The nightly runner (packaging/tarvelo-nocturno) on configurations of its
# own: a batch that fails does not stop the next, and the run ends with the
# failing batch's code; a folder with blanks between quotes; a configuration
# that is missing or has no suite line ends with 2 and runs nothing.
# Usage: Nocturno.sh RUNNER TARVELO_LOTE
set -uo pipefail
runner=$1
export TARVELO_LOTE=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset JOURNAL_STREAM
fallos=0
falla() { echo "FAIL [$caso]: $*" >&2; fallos=$((fallos + 1)); }

nueva_base() {
    rm -f "$tmp/demo.db"
    "$TARVELO_LOTE" crear-base "$tmp/demo.db" --demo >/dev/null 2>&1 || falla "crear-base"
}
linea="linea: @Plataforma=SQLITE; @server=local; @dbname=$tmp/demo.db; @usuario=DEMO"

caso="one of two fails"
nueva_base
mkdir -p "$tmp/buena"
cat >"$tmp/dos.conf" <<CONF
# first the batch that fails (its folder does not exist), then the good one
$linea
lote: 1 $tmp/no-existe --acepta-alertas
lote: 1 $tmp/buena --acepta-alertas
CONF
"$runner" "$tmp/dos.conf" >"$tmp/dos.log" 2>&1
rc=$?
((rc == 2)) || falla "exit code $rc, expected 2 (the failing batch's)"
[[ -s $tmp/buena/CAMBIOS.TXT && -s $tmp/buena/BALANZA.TXT ]] || falla "the good batch was not generated"
grep -q "lista 1 en $tmp/no-existe: código 2" "$tmp/dos.log" || falla "the failure's code is not printed"
grep -q "lista 1 en $tmp/buena: código 0 (generado)" "$tmp/dos.log" || falla "the good batch's code is not printed"
grep -q "2 lotes: 1 generados, 0 sin novedades, 1 con falla; código 2" "$tmp/dos.log" ||
    falla "no summary line"
((fallos == 0)) || cat "$tmp/dos.log" >&2

caso="folder with blanks"
nueva_base
mkdir -p "$tmp/con blancos"
printf '%s\nlote: 1 "%s" --acepta-alertas\n' "$linea" "$tmp/con blancos" >"$tmp/blancos.conf"
"$runner" "$tmp/blancos.conf" >"$tmp/blancos.log" 2>&1
rc=$?
((rc == 0)) || { falla "exit code $rc, expected 0"; cat "$tmp/blancos.log" >&2; }
[[ -s "$tmp/con blancos/CAMBIOS.TXT" ]] || falla "nothing generated in the quoted folder"

# configuration | expected code | expected message
casos=(
    "$tmp/no-hay.conf|2|no se puede leer la configuración"
    "$tmp/sin-linea.conf|2|no trae la línea de la suite"
    "$tmp/sin-lotes.conf|2|no trae ningún lote"
    "$tmp/comillas.conf|2|comillas sin cerrar"
)
printf 'lote: 1 %s\n' "$tmp/buena" >"$tmp/sin-linea.conf"
printf '%s\n# nada\n' "$linea" >"$tmp/sin-lotes.conf"
printf '%s\nlote: 1 "%s\n' "$linea" "$tmp/buena" >"$tmp/comillas.conf"
for c in "${casos[@]}"; do
    IFS='|' read -r conf esperado mensaje <<<"$c"
    caso=$(basename "$conf")
    salida=$("$runner" "$conf" 2>&1)
    rc=$?
    ((rc == esperado)) || falla "exit code $rc, expected $esperado: $salida"
    [[ $salida == *"$mensaje"* ]] || falla "message: $salida"
done

((fallos == 0)) && echo "nightly runner: every case passed"
exit $((fallos > 0))
