#include "db/Dialecto.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <vector>

// The program writes SQL Server text everywhere. Rather than teaching every
// caller three dialects, the text is cut into tokens here (so nothing inside a
// quoted value is ever touched) and the few SQL Server idioms the program uses
// are turned into their SQLite or PostgreSQL equivalents.

namespace {

struct Token {
    enum Tipo { Espacio, Palabra, Numero, Cadena, Identificador, Simbolo, Comentario };
    Tipo tipo;
    QString texto;

    bool esPalabra(const char* p) const {
        return tipo == Palabra && texto.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
    }
    bool esSimbolo(char c) const {
        return tipo == Simbolo && texto.size() == 1 && texto[0] == QLatin1Char(c);
    }
    bool saltoDeLinea() const {
        return tipo == Espacio &&
               (texto.contains(QLatin1Char('\r')) || texto.contains(QLatin1Char('\n')));
    }
};

using Tokens = std::vector<Token>;

bool letraDePalabra(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') ||
           c == QLatin1Char('#') || c == QLatin1Char('$');
}

// Runs to the closing character; a doubled closing character stands for itself.
qsizetype hastaCierre(const QString& s, qsizetype i, QChar cierre) {
    qsizetype j = i + 1;
    while (j < s.size()) {
        if (s[j] == cierre) {
            if (j + 1 < s.size() && s[j + 1] == cierre) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return s.size();
}

Tokens divide(const QString& s) {
    Tokens t;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Token::Tipo tipo = Token::Simbolo;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace()) {
                ++j;
            }
            tipo = Token::Espacio;
        } else if (c == QLatin1Char('-') && j < n && s[j] == QLatin1Char('-')) {
            while (j < n && s[j] != QLatin1Char('\n') && s[j] != QLatin1Char('\r')) {
                ++j;
            }
            tipo = Token::Comentario;
        } else if (c == QLatin1Char('/') && j < n && s[j] == QLatin1Char('*')) {
            const qsizetype fin = s.indexOf(QLatin1String("*/"), j + 1);
            j = fin < 0 ? n : fin + 2;
            tipo = Token::Comentario;
        } else if (c == QLatin1Char('\'')) {
            j = hastaCierre(s, i, QLatin1Char('\''));
            tipo = Token::Cadena;
        } else if (c == QLatin1Char('"')) {
            j = hastaCierre(s, i, QLatin1Char('"'));
            tipo = Token::Identificador;
        } else if (c == QLatin1Char('[')) {
            j = hastaCierre(s, i, QLatin1Char(']'));
            tipo = Token::Identificador;
        } else if (c == QLatin1Char('$') && QRegularExpression(QStringLiteral("^\\$[A-Za-z_]*\\$"))
                                                .match(s.mid(i, 64))
                                                .hasMatch()) {
            // PostgreSQL's dollar-quoted bodies (functions, triggers).
            const qsizetype cierreEtiqueta = s.indexOf(QLatin1Char('$'), i + 1);
            const QString etiqueta = s.mid(i, cierreEtiqueta - i + 1);
            const qsizetype fin = s.indexOf(etiqueta, cierreEtiqueta + 1);
            j = fin < 0 ? n : fin + etiqueta.size();
            tipo = Token::Cadena;
        } else if (c.isDigit() || (c == QLatin1Char('.') && j < n && s[j].isDigit())) {
            while (j < n && (s[j].isDigit() || s[j] == QLatin1Char('.'))) {
                ++j;
            }
            tipo = Token::Numero;
        } else if (letraDePalabra(c)) {
            while (j < n && letraDePalabra(s[j])) {
                ++j;
            }
            tipo = Token::Palabra;
        }
        t.push_back(Token{tipo, s.mid(i, j - i)});
        i = j;
    }
    return t;
}

QString une(const Tokens& t) {
    QString r;
    for (const Token& k : t) {
        r += k.texto;
    }
    return r;
}

// Index of the next token that is neither blank nor comment; t.size() when none.
size_t sig(const Tokens& t, size_t i) {
    ++i;
    while (i < t.size() && (t[i].tipo == Token::Espacio || t[i].tipo == Token::Comentario)) {
        ++i;
    }
    return i;
}

// Index of the previous meaningful token; npos when none.
size_t ant(const Tokens& t, size_t i) {
    while (i > 0) {
        --i;
        if (t[i].tipo != Token::Espacio && t[i].tipo != Token::Comentario) {
            return i;
        }
    }
    return size_t(-1);
}

// The ")" that closes the "(" at `abre`; t.size() when it is missing.
size_t cierraParentesis(const Tokens& t, size_t abre) {
    int nivel = 0;
    for (size_t i = abre; i < t.size(); ++i) {
        if (t[i].esSimbolo('(')) {
            ++nivel;
        } else if (t[i].esSimbolo(')')) {
            if (--nivel == 0) {
                return i;
            }
        }
    }
    return t.size();
}

const QSet<QString>& opcionesSet() {
    static const QSet<QString> s{QStringLiteral("NOCOUNT"),
                                 QStringLiteral("DATEFORMAT"),
                                 QStringLiteral("XACT_ABORT"),
                                 QStringLiteral("ANSI_NULLS"),
                                 QStringLiteral("ANSI_WARNINGS"),
                                 QStringLiteral("ANSI_PADDING"),
                                 QStringLiteral("QUOTED_IDENTIFIER"),
                                 QStringLiteral("LANGUAGE"),
                                 QStringLiteral("DATEFIRST"),
                                 QStringLiteral("ARITHABORT"),
                                 QStringLiteral("CONCAT_NULL_YIELDS_NULL"),
                                 QStringLiteral("LOCK_TIMEOUT"),
                                 QStringLiteral("TRANSACTION")};
    return s;
}

// Whether the word at `i`, first on its line, starts a new statement of a script.
bool iniciaSentencia(const Tokens& t, size_t i) {
    static const QSet<QString> inicios{
        QStringLiteral("BEGIN"),  QStringLiteral("COMMIT"),   QStringLiteral("ROLLBACK"),
        QStringLiteral("SAVE"),   QStringLiteral("INSERT"),   QStringLiteral("UPDATE"),
        QStringLiteral("DELETE"), QStringLiteral("CREATE"),   QStringLiteral("DROP"),
        QStringLiteral("ALTER"),  QStringLiteral("TRUNCATE"), QStringLiteral("GRANT"),
        QStringLiteral("GO")};
    if (t[i].tipo != Token::Palabra) {
        return false;
    }
    const QString w = t[i].texto.toUpper();
    if (inicios.contains(w)) {
        return true;
    }
    if (w == QLatin1String("SET")) {
        const size_t j = sig(t, i);
        return j < t.size() && opcionesSet().contains(t[j].texto.toUpper());
    }
    return false;
}

std::vector<Tokens> partes(const Tokens& t) {
    std::vector<Tokens> r;
    Tokens actual;
    int nivel = 0;
    int bloque = 0; // BEGIN ... END of a trigger body
    bool esTrigger = false;
    auto cierra = [&]() {
        r.push_back(std::move(actual));
        actual.clear();
        nivel = 0;
        bloque = 0;
        esTrigger = false;
    };
    auto hayTexto = [&]() {
        for (const Token& k : actual) {
            if (k.tipo != Token::Espacio && k.tipo != Token::Comentario) {
                return true;
            }
        }
        return false;
    };
    for (size_t i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.esSimbolo('(')) {
            ++nivel;
        } else if (k.esSimbolo(')')) {
            --nivel;
        } else if (k.tipo == Token::Palabra) {
            if (k.esPalabra("TRIGGER")) {
                esTrigger = true;
            } else if (esTrigger && (k.esPalabra("BEGIN") || k.esPalabra("CASE"))) {
                ++bloque;
            } else if (esTrigger && k.esPalabra("END")) {
                --bloque;
            }
        }
        if (k.esSimbolo(';') && nivel <= 0 && bloque <= 0) {
            cierra();
            continue;
        }
        if (k.saltoDeLinea() && nivel <= 0 && bloque <= 0 && i + 1 < t.size() &&
            iniciaSentencia(t, i + 1) && hayTexto()) {
            cierra();
            continue;
        }
        actual.push_back(k);
    }
    r.push_back(std::move(actual));
    return r;
}

QString primeraPalabra(const Tokens& t, size_t* pos = nullptr) {
    const size_t i = t.empty()                                                         ? 0
                     : (t[0].tipo == Token::Espacio || t[0].tipo == Token::Comentario) ? sig(t, 0)
                                                                                       : 0;
    if (pos) {
        *pos = i;
    }
    return i < t.size() && t[i].tipo == Token::Palabra ? t[i].texto.toUpper() : QString();
}

// Statements that only set SQL Server session options have no counterpart.
bool descartar(const Tokens& t, Plataforma p) {
    size_t i = 0;
    const QString w = primeraPalabra(t, &i);
    if (w == QLatin1String("GO")) {
        return sig(t, i) >= t.size();
    }
    if (w != QLatin1String("SET")) {
        return false;
    }
    if (p == Plataforma::Sqlite) {
        return true;
    }
    const size_t j = sig(t, i);
    return j < t.size() && opcionesSet().contains(t[j].texto.toUpper()) &&
           !t[j].esPalabra("TRANSACTION");
}

Token espacio() {
    return Token{Token::Espacio, QStringLiteral(" ")};
}

// SELECT [DISTINCT] TOP n ...  ->  SELECT [DISTINCT] ... LIMIT n
// (TOP 100 PERCENT, which only lets a view keep its ORDER BY, goes away.)
bool cambiaTop(Tokens& t) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (!t[i].esPalabra("SELECT")) {
            continue;
        }
        size_t j = sig(t, i);
        if (j < t.size() && (t[j].esPalabra("DISTINCT") || t[j].esPalabra("ALL"))) {
            j = sig(t, j);
        }
        if (j >= t.size() || !t[j].esPalabra("TOP")) {
            continue;
        }
        size_t k = sig(t, j);
        QString n;
        size_t ultimo = k;
        if (k < t.size() && t[k].tipo == Token::Numero) {
            n = t[k].texto;
        } else if (k < t.size() && t[k].esSimbolo('(')) {
            const size_t m = sig(t, k);
            const size_t c = m < t.size() ? sig(t, m) : t.size();
            if (c < t.size() && t[m].tipo == Token::Numero && t[c].esSimbolo(')')) {
                n = t[m].texto;
                ultimo = c;
            }
        }
        if (n.isEmpty()) {
            continue;
        }
        bool porcentaje = false;
        const size_t p = sig(t, ultimo);
        if (p < t.size() && t[p].esPalabra("PERCENT")) {
            if (n.toDouble() != 100.0) {
                continue; // no counterpart; the engine reports it
            }
            porcentaje = true;
            ultimo = p;
        }
        // Drop "TOP n [PERCENT]" and the blank after it.
        size_t hasta = ultimo + 1;
        if (hasta < t.size() && t[hasta].tipo == Token::Espacio) {
            ++hasta;
        }
        t.erase(t.begin() + long(j), t.begin() + long(hasta));
        if (porcentaje) {
            return true;
        }
        // The end of this SELECT: the ")" that closes its subquery, or the end.
        int nivel = 0;
        size_t fin = t.size();
        for (size_t x = i + 1; x < t.size(); ++x) {
            if (t[x].esSimbolo('(')) {
                ++nivel;
            } else if (t[x].esSimbolo(')')) {
                if (nivel == 0) {
                    fin = x;
                    break;
                }
                --nivel;
            }
        }
        size_t pone = fin;
        while (pone > i + 1 &&
               (t[pone - 1].tipo == Token::Espacio || t[pone - 1].tipo == Token::Comentario)) {
            --pone;
        }
        const Tokens limite{espacio(), Token{Token::Palabra, QStringLiteral("LIMIT")}, espacio(),
                            Token{Token::Numero, n}};
        t.insert(t.begin() + long(pone), limite.begin(), limite.end());
        return true;
    }
    return false;
}

bool esSugerencia(const Token& k) {
    static const QSet<QString> s{
        QStringLiteral("NOLOCK"),  QStringLiteral("READUNCOMMITTED"), QStringLiteral("ROWLOCK"),
        QStringLiteral("UPDLOCK"), QStringLiteral("HOLDLOCK"),        QStringLiteral("READPAST"),
        QStringLiteral("TABLOCK"), QStringLiteral("TABLOCKX"),        QStringLiteral("PAGLOCK"),
        QStringLiteral("NOWAIT"),  QStringLiteral("READCOMMITTED")};
    return k.tipo == Token::Palabra && s.contains(k.texto.toUpper());
}

// "(" hint [, hint]... ")" starting at `abre`; index of ")" or npos.
size_t listaSugerencias(const Tokens& t, size_t abre) {
    size_t k = sig(t, abre);
    for (;;) {
        if (k >= t.size() || !esSugerencia(t[k])) {
            return size_t(-1);
        }
        k = sig(t, k);
        if (k < t.size() && t[k].esSimbolo(',')) {
            k = sig(t, k);
            continue;
        }
        return k < t.size() && t[k].esSimbolo(')') ? k : size_t(-1);
    }
}

// Table hints: "with(nolock)", "WITH ( NOLOCK )", "(nolock)".
void quitaSugerencias(Tokens& t) {
    for (size_t i = 0; i < t.size(); ++i) {
        size_t desde = size_t(-1), abre = size_t(-1);
        if (t[i].esPalabra("WITH")) {
            const size_t j = sig(t, i);
            if (j < t.size() && t[j].esSimbolo('(')) {
                desde = i;
                abre = j;
            }
        } else if (t[i].esSimbolo('(')) {
            const size_t a = ant(t, i);
            if (a != size_t(-1) &&
                (t[a].tipo == Token::Palabra || t[a].tipo == Token::Identificador)) {
                desde = i;
                abre = i;
            }
        }
        if (abre == size_t(-1)) {
            continue;
        }
        const size_t cierre = listaSugerencias(t, abre);
        if (cierre == size_t(-1)) {
            continue;
        }
        t.erase(t.begin() + long(desde), t.begin() + long(cierre) + 1);
        t.insert(t.begin() + long(desde), espacio());
    }
}

QString fechaIso(const QString& literal, const QString& orden) {
    static const QRegularExpression dm(
        QStringLiteral("^'(\\d{1,2})([/.\\-])(\\d{1,2})\\2(\\d{4})'$"));
    static const QRegularExpression ymd(
        QStringLiteral("^'(\\d{4})([/.\\-])(\\d{1,2})\\2(\\d{1,2})'$"));
    int d = 0, m = 0, y = 0;
    if (orden == QLatin1String("ymd")) {
        const auto r = ymd.match(literal);
        if (!r.hasMatch()) {
            return QString();
        }
        y = r.captured(1).toInt(), m = r.captured(3).toInt(), d = r.captured(4).toInt();
    } else {
        const auto r = dm.match(literal);
        if (!r.hasMatch()) {
            return QString();
        }
        const int a = r.captured(1).toInt(), b = r.captured(3).toInt();
        y = r.captured(4).toInt();
        if (orden == QLatin1String("mdy")) {
            m = a, d = b;
        } else {
            d = a, m = b;
        }
    }
    const QDate f(y, m, d);
    return f.isValid() ? QLatin1Char('\'') + f.toString(Qt::ISODate) + QLatin1Char('\'')
                       : QString();
}

QString identificadorPostgres(const QString& entreCorchetes) {
    QString nombre = entreCorchetes.mid(1, entreCorchetes.size() - 2);
    nombre.replace(QLatin1String("]]"), QLatin1String("]"));
    static const QRegularExpression simple(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (simple.match(nombre).hasMatch()) {
        return nombre; // unquoted, so it folds like the schema's own names
    }
    nombre.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + nombre.toLower() + QLatin1Char('"');
}

void cambiaPalabras(Tokens& t, Plataforma p, const QString& orden) {
    const bool pg = p == Plataforma::PostgreSql;
    bool esUpdate = false, enAsignacion = false;
    for (size_t i = 0; i < t.size(); ++i) {
        Token& k = t[i];
        if (k.esPalabra("UPDATE")) {
            esUpdate = true;
        } else if (esUpdate && k.esPalabra("SET")) {
            enAsignacion = true;
        } else if (k.esPalabra("WHERE") || k.esPalabra("FROM")) {
            enAsignacion = false;
        }
        if (k.tipo == Token::Identificador && k.texto.startsWith(QLatin1Char('[')) && pg) {
            k.texto = identificadorPostgres(k.texto);
            continue;
        }
        if (k.tipo == Token::Cadena) {
            if (p == Plataforma::Sqlite) {
                const QString iso = fechaIso(k.texto, orden);
                if (!iso.isEmpty()) {
                    k.texto = iso;
                }
                // SQLite compares a function's result (LTRIM(RTRIM(col)) = 'x')
                // byte for byte; SQL Server uses the database's collation for
                // every text comparison, so the literal carries ours.
                const size_t a = ant(t, i);
                const size_t d = sig(t, i);
                const bool comparado =
                    (a != size_t(-1) &&
                     (t[a].esSimbolo('=') || t[a].esSimbolo('<') || t[a].esSimbolo('>'))) ||
                    (d < t.size() && (t[d].esSimbolo('=') || t[d].esSimbolo('<') ||
                                      t[d].esSimbolo('>') || t[d].esSimbolo('!')));
                const bool yaTiene = d < t.size() && t[d].esPalabra("COLLATE");
                if (comparado && !yaTiene && !enAsignacion) {
                    k.texto += QStringLiteral(" COLLATE KX");
                }
            }
            continue;
        }
        if (k.tipo != Token::Palabra) {
            continue;
        }
        const size_t j = i + 1 < t.size() ? sig(t, i) : t.size();
        const bool llamada = j < t.size() && t[j].esSimbolo('(');
        if (k.esPalabra("N") && i + 1 < t.size() && t[i + 1].tipo == Token::Cadena) {
            k.texto.clear(); // N'...': both engines store Unicode anyway
        } else if (k.esPalabra("dbo") && i + 1 < t.size() && t[i + 1].esSimbolo('.') &&
                   (i == 0 || !t[i - 1].esSimbolo('.'))) {
            k.texto.clear();
            t[i + 1].texto.clear();
        } else if (k.esPalabra("LEN") && llamada) {
            // SQL Server's LEN does not count trailing blanks, and takes any type.
            const size_t c = cierraParentesis(t, j);
            k.texto = QStringLiteral("LENGTH");
            if (c < t.size()) {
                t.insert(t.begin() + long(c), Token{Token::Simbolo, pg ? QStringLiteral(")::text)")
                                                                       : QStringLiteral(")")});
            }
            t.insert(t.begin() + long(j) + 1, Token{Token::Palabra, pg ? QStringLiteral("RTRIM((")
                                                                       : QStringLiteral("RTRIM(")});
        } else if (pg && llamada && (k.esPalabra("LTRIM") || k.esPalabra("RTRIM"))) {
            // SQL Server trims numbers too (LTRIM(RTRIM(CODIGO)) = '15'); the
            // cast keeps the column's collation.
            const size_t c = cierraParentesis(t, j);
            if (c < t.size()) {
                t.insert(t.begin() + long(c), Token{Token::Simbolo, QStringLiteral(")::text")});
                t.insert(t.begin() + long(j) + 1, Token{Token::Simbolo, QStringLiteral("(")});
            }
        } else if (k.esPalabra("ISNULL") && llamada) {
            k.texto = QStringLiteral("COALESCE");
        } else if (k.esPalabra("GETDATE") && llamada) {
            const size_t c = sig(t, j);
            if (c < t.size() && t[c].esSimbolo(')')) {
                t.erase(t.begin() + long(i) + 1, t.begin() + long(c) + 1);
                t[i].texto = pg ? QStringLiteral("LOCALTIMESTAMP(0)")
                                : QStringLiteral("strftime('%Y-%m-%d %H:%M:%S','now','localtime')");
            }
        } else if (k.esPalabra("LIKE") && pg) {
            // A case-insensitive collation cannot serve LIKE in PostgreSQL:
            // compare with a deterministic one, ignoring case as SQL Server does.
            const QString collate = QStringLiteral("COLLATE \"und-x-icu\" ");
            const size_t a = ant(t, i);
            if (a != size_t(-1) && t[a].esPalabra("NOT")) {
                t[a].texto = collate + t[a].texto;
            } else {
                k.texto = collate + QStringLiteral("ILIKE");
                continue;
            }
            k.texto = QStringLiteral("ILIKE");
        }
    }
}

QString sinEspaciosExtremos(const QString& s) {
    return s.trimmed();
}

} // namespace

QStringList Dialecto::sentencias(const QString& sqlServer, Plataforma p,
                                 const QString& ordenFecha) {
    if (p == Plataforma::SqlServer || p == Plataforma::Oracle) {
        return {sqlServer};
    }
    QStringList r;
    for (Tokens& t : partes(divide(sqlServer))) {
        if (primeraPalabra(t).isEmpty() && sinEspaciosExtremos(une(t)).isEmpty()) {
            continue;
        }
        if (descartar(t, p)) {
            continue;
        }
        while (cambiaTop(t)) {
        }
        quitaSugerencias(t);
        cambiaPalabras(t, p, ordenFecha);
        const QString s = sinEspaciosExtremos(une(t));
        bool soloComentario = true;
        for (const Token& k : divide(s)) {
            if (k.tipo != Token::Espacio && k.tipo != Token::Comentario) {
                soloComentario = false;
                break;
            }
        }
        if (!soloComentario) {
            r << s;
        }
    }
    return r;
}

QString Dialecto::reescribe(const QString& sqlServer, Plataforma p, const QString& ordenFecha) {
    if (p == Plataforma::SqlServer || p == Plataforma::Oracle) {
        return sqlServer;
    }
    return sentencias(sqlServer, p, ordenFecha).join(QStringLiteral(";\n"));
}

Dialecto::Transaccion Dialecto::transaccion(const QString& sentencia) {
    const Tokens t = divide(sentencia);
    QStringList w;
    for (const Token& k : t) {
        if (k.tipo == Token::Espacio || k.tipo == Token::Comentario) {
            continue;
        }
        if (k.esSimbolo(';')) {
            continue;
        }
        if (k.tipo != Token::Palabra) {
            return Transaccion::Ninguna;
        }
        w << k.texto.toUpper();
    }
    if (w.isEmpty() || w.size() > 3) {
        return Transaccion::Ninguna;
    }
    const bool palabraTrans = w.size() == 1 || w[1] == QLatin1String("TRAN") ||
                              w[1] == QLatin1String("TRANSACTION") || w[1] == QLatin1String("WORK");
    if (!palabraTrans) {
        return Transaccion::Ninguna;
    }
    if (w[0] == QLatin1String("BEGIN")) {
        return Transaccion::Inicio;
    }
    if (w.size() <= 2 && w[0] == QLatin1String("COMMIT")) {
        return Transaccion::Confirma;
    }
    if (w.size() <= 2 && w[0] == QLatin1String("ROLLBACK")) {
        return Transaccion::Deshace;
    }
    return Transaccion::Ninguna;
}
