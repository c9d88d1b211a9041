#!/usr/bin/env bash
# The demo database in the standard sqlite3 shell: without the extension a
# KX column cannot be compared; with ".load .../kx_sqlite" it compares as the
# program does (case and trailing blanks ignored, LIKE folding accented
# letters) and the indexes built with the collation check out.
# Usage: ExtensionKXShell.sh SQLITE3 TARVELO_LOTE EXTENSION_WITHOUT_SUFFIX
set -uo pipefail
sqlite=$1 lote=$2 ext=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
db=$dir/demo.db
fallos=0
falla() { echo "FAIL: $*" >&2; fallos=$((fallos + 1)); }

"$lote" crear-base "$db" --demo >"$dir/crear.log" 2>&1 || { cat "$dir/crear.log" >&2; falla "crear-base"; exit 1; }

# Without the extension: SQLite's own message, nothing read.
if salida=$("$sqlite" "$db" "select count(*) from V_MA_PRECIOSCAB where TIPOLISTA='V'" 2>&1); then
    falla "the query ran without the collation: $salida"
elif [[ $salida != *"no such collation sequence: KX"* ]]; then
    falla "unexpected message without the extension: $salida"
fi

# The reference count, compared without the collation.
esperado=$("$sqlite" "$db" "select count(*) from V_MA_PRECIOSCAB where upper(rtrim(TIPOLISTA))='V'")
[[ $esperado -gt 0 ]] || falla "the demo database has no sales list ($esperado)"

# query | expected answer
casos=(
    "select count(*) from V_MA_PRECIOSCAB where TIPOLISTA='V'|$esperado"
    "select count(*) from V_MA_PRECIOSCAB where TIPOLISTA='v  '|$esperado"
    "select 'abc  ' = 'ABC' collate KX, 'abc' < 'ABD' collate KX, 'ñandú' = 'ÑANDÚ' collate KX|1|1|1"
    "select 'ab' = ' ab' collate KX, 'ab' < 'ab ' collate KX|0|0"
    "select 'Café ÑANDÚ 50%' like '%ñandú%', 'Café' like 'caf_', '50%' like '50!%' escape '!'|1|1|1"
    "select 'Café' like 'cafe', null like 'a'|0|"
    "pragma integrity_check|ok"
)
for caso in "${casos[@]}"; do
    consulta=${caso%%|*}
    esperada=${caso#*|}
    if ! obtenida=$("$sqlite" "$db" ".load $ext" "$consulta" 2>&1); then
        falla "$consulta: $obtenida"
    elif [[ $obtenida != "$esperada" ]]; then
        falla "$consulta: got '$obtenida', expected '$esperada'"
    fi
done

# An escape of more than one character is refused, as on the program's connections.
if salida=$("$sqlite" "$db" ".load $ext" "select 'a' like 'a' escape '!!'" 2>&1) ||
    [[ $salida != *"ESCAPE expression must be a single character"* ]]; then
    falla "a two-character escape was not refused: $salida"
fi

((fallos == 0)) && echo "KX extension: $((${#casos[@]} + 2)) checks passed"
exit $((fallos > 0))
