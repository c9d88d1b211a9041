#!/usr/bin/env bash
# Both programs run from a program folder they may not write to, as root too:
#   copia:     the built programs and resources copied into a folder made
#              read-only (chmod a-w: the programs must honour it even as root);
#   instalado: the install tree (DESTDIR, prefix /usr), read-only as well,
#              where the resources come from ../share/tarvelo.
# In both, start-up says where files go; a generation (with its witness PDF
# drawn from the report definitions), the lookup files, the error log of a
# failed generation and the window's start-up all land in the user's data
# folder ($HOME/.local/share/tarvelo); nothing in the program's tree changes.
# Usage: ProgramaSoloLectura.sh BUILD_DIR SOURCE_DIR SQLITE3
set -uo pipefail
build=$1 fuente=$2 sqlite3=$3
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
fallos=0
falla() { echo "FAIL [$caso]: $*" >&2; fallos=$((fallos + 1)); }

# The tree of a folder: every path with its size and time, to compare.
huella() { (cd "$1" && find . -printf '%p %s %T@\n' | sort); }

corre_caso() {
    local bin=$1 recursos=$2
    local casa=$tmp/casa-$caso datos
    mkdir -p "$casa"
    datos=$casa/.local/share/tarvelo
    local salida=$tmp/salida-$caso
    mkdir -p "$salida"
    local antes
    antes=$(huella "$raiz")
    (
        cd "$tmp" || exit 1
        export HOME=$casa
        unset XDG_DATA_HOME STATE_DIRECTORY DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
        db=$tmp/demo-$caso.db
        "$bin/tarvelo-lote" crear-base "$db" --demo >"$tmp/$caso-crear.log" 2>&1 ||
            { echo "crear-base failed" >&2; cat "$tmp/$caso-crear.log" >&2; exit 1; }
        # A SQLite database named without a folder is looked for where the
        # program writes: the data folder.
        mkdir -p "$datos" && mv "$db" "$datos/demo.db"
        linea="@Plataforma=SQLITE; @server=local; @dbname=demo.db; @usuario=DEMO"
        "$bin/tarvelo-lote" inicio "$linea" >"$tmp/$caso-inicio.log" 2>&1 ||
            { echo "inicio failed" >&2; cat "$tmp/$caso-inicio.log" >&2; exit 1; }
        "$bin/tarvelo-lote" generar "$linea" --lista 1 --carpeta "$salida" \
            --acepta-alertas --testigo-pdf "$salida/testigo.pdf" >"$tmp/$caso-generar.log" 2>&1 ||
            { echo "generar failed" >&2; cat "$tmp/$caso-generar.log" >&2; exit 1; }
        codigo=$(sed -n 's/.*codigo=\([0-9]*\).*/\1/p' "$tmp/$caso-generar.log" | tail -1)
        "$bin/tarvelo-lote" verificar "$linea" --codigo "$codigo" >"$tmp/$caso-verificar.log" 2>&1 ||
            { echo "verificar failed" >&2; cat "$tmp/$caso-verificar.log" >&2; exit 1; }
        # A generation that fails on a statement (a table the load reads is
        # gone) leaves its line in the error log.
        rota=$tmp/rota-$caso.db
        "$bin/tarvelo-lote" crear-base "$rota" --demo >/dev/null 2>&1 &&
            "$sqlite3" "$rota" "drop table V_MA_ARTICULOS" ||
            { echo "could not prepare the broken database" >&2; exit 1; }
        "$bin/tarvelo-lote" generar "@Plataforma=SQLITE; @server=local; @dbname=$rota; @usuario=DEMO" \
            --lista 1 --carpeta "$salida" --acepta-alertas >"$tmp/$caso-fallo.log" 2>&1
        echo "exit $?" >>"$tmp/$caso-fallo.log"
        # The window's start-up without a screen: it connects, writes the
        # lookup definitions, and ends without opening the window.
        "$bin/tarvelo" "$linea" >"$tmp/$caso-ventana.log" 2>&1
        exit 0
    ) || { falla "the commands did not run"; return; }

    grep -q "Archivos escritos en: $datos/" "$tmp/$caso-inicio.log" ||
        falla "inicio does not say where files are written: $(cat "$tmp/$caso-inicio.log")"
    grep -q "Archivos de solo lectura en: $recursos/" "$tmp/$caso-inicio.log" ||
        falla "inicio does not say where resources are read: $(cat "$tmp/$caso-inicio.log")"
    grep -q "tarvelo-lote: archivos de trabajo en $datos/" "$tmp/$caso-generar.log" ||
        falla "generar does not say where it writes"
    [[ -s $salida/CAMBIOS.TXT && -s $salida/testigo.pdf ]] || falla "the batch or its witness is missing"
    [[ -s $datos/consultas.kvx ]] || falla "consultas.kvx not in the data folder"
    grep -q "exit 3" "$tmp/$caso-fallo.log" || falla "the broken generation did not fail with 3"
    grep -q "V_MA_ARTICULOS" "$datos/KXERR.LOG" 2>/dev/null ||
        falla "the failed generation left no line in $datos/KXERR.LOG ($(cat "$tmp/$caso-fallo.log"))"
    grep -q "tarvelo: archivos de trabajo en $datos/" "$tmp/$caso-ventana.log" ||
        falla "the window's start-up does not say where it writes: $(cat "$tmp/$caso-ventana.log")"
    grep -q "no hay pantalla" "$tmp/$caso-ventana.log" ||
        falla "the window's start-up did not get past the connection: $(cat "$tmp/$caso-ventana.log")"
    [[ $(huella "$raiz") == "$antes" ]] ||
        falla "the program's tree changed: $(diff <(echo "$antes") <(huella "$raiz") | head -5)"
}

# A copied program folder, read-only.
caso=copia
raiz=$tmp/programa
mkdir -p "$raiz"
cp "$build/bin/tarvelo" "$build/bin/tarvelo-lote" "$raiz/"
cp -r "$fuente/resources/." "$raiz/"
chmod -R a-w "$raiz"
corre_caso "$raiz" "$raiz"

# The install tree, read-only.
caso=instalado
raiz=$tmp/raiz
if DESTDIR=$raiz cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1; then
    chmod -R a-w "$raiz"
    corre_caso "$raiz/usr/bin" "$raiz/usr/share/tarvelo"
else
    falla "cmake --install: $(tail -5 "$tmp/install.log")"
fi

((fallos == 0)) && echo "read-only program folder: copy and install tree passed"
exit $((fallos > 0))
