#include "db/DB_Dll.h"

#include "utility_library/QlTexto.h"
#include "utility_library/Regional.h"

#include <array>

namespace {

struct Sinonimo {
    const char* nombre;
    const char* sinonimo;
};

// Confidential accounting and stock tables, read through restricted views.
constexpr std::array<Sinonimo, 7> kSinonimos{{
    {"MA_CUENTAS", "SS_MA_CUENTAS"},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS"},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS"},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
}};

// Where a statement of a script may begin.
const QStringList& palabrasScript() {
    static const QStringList l{
        QStringLiteral("INSERT "),         QStringLiteral("DELETE "),  QStringLiteral("UPDATE "),
        QStringLiteral("CREATE "),         QStringLiteral("DROP "),    QStringLiteral("ALTER "),
        QStringLiteral("SET TRANSACTION"), QStringLiteral("COMMIT"),   QStringLiteral("ROLLBACK"),
        QStringLiteral("IF NOT EXIST"),    QStringLiteral("IF EXIST"), QStringLiteral("GRANT ")};
    return l;
}

void reemplaza(QString& s, const QString& busca, const QString& pone) {
    s.replace(busca, pone, Qt::CaseInsensitive);
}

qsizetype primeraPalabraDesde(const QString& s, qsizetype desde) {
    qsizetype menor = -1;
    for (const QString& k : palabrasScript()) {
        const qsizetype p = s.indexOf(k, desde, Qt::CaseInsensitive);
        if (p >= 0 && (menor < 0 || p < menor)) {
            menor = p;
        }
    }
    return menor;
}

} // namespace

QString DB_Dll::SQLValue(const QString& Valor, const QString& marca) const {
    const QString borde = marca.compare(QLatin1String("'"), Qt::CaseInsensitive) == 0
                              ? QStringLiteral("'")
                              : QString();
    return borde + Valor + borde;
}

QString DB_Dll::SS_TSinonimos(const QString& sql) const {
    QString r = sql;
    if (gEsAdmin) {
        return r.remove(QStringLiteral("@Admin_"), Qt::CaseInsensitive);
    }
    if (r.contains(QLatin1String("MV_ASIENTOS"), Qt::CaseInsensitive) && !gConfidencialidad) {
        return r.remove(QStringLiteral("@Admin_"), Qt::CaseInsensitive);
    }
    for (const Sinonimo& s : kSinonimos) {
        const QString n = QString::fromLatin1(s.nombre);
        if (!r.contains(n, Qt::CaseInsensitive)) {
            continue; // runs on every query: skip the replacements when they cannot apply
        }
        const QString y = QString::fromLatin1(s.sinonimo);
        reemplaza(r, QLatin1Char(' ') + n + QLatin1Char(' '),
                  QLatin1Char(' ') + y + QLatin1Char(' '));
        reemplaza(r, QLatin1Char('(') + n + QLatin1Char(' '),
                  QLatin1Char('(') + y + QLatin1Char(' '));
        reemplaza(r, QLatin1Char(' ') + n + QLatin1Char('.'),
                  QLatin1Char(' ') + y + QLatin1Char('.'));
        reemplaza(r, QLatin1Char('(') + n + QLatin1Char('.'),
                  QLatin1Char('(') + y + QLatin1Char('.'));
        reemplaza(r, QLatin1Char(',') + n + QLatin1Char('.'),
                  QLatin1Char(',') + y + QLatin1Char('.'));
        if (n == QLatin1String("MA_CUENTAS")) {
            reemplaza(r, QStringLiteral("{MA_CUENTAS."), QStringLiteral("{SS_MA_CUENTAS."));
            reemplaza(r, QStringLiteral("@Admin_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
        }
    }
    return r.remove(QStringLiteral("@Admin_"), Qt::CaseInsensitive);
}

QString DB_Dll::ORACLE_Dicc(const QString& sql) const {
    if (!gConnString.contains(QLatin1String("ORACLE"), Qt::CaseInsensitive)) {
        return sql;
    }
    if (QlUtil::CuentaPalabras(sql) < 2) {
        return sql.trimmed().compare(QLatin1String("LEN"), Qt::CaseInsensitive) == 0
                   ? QStringLiteral("LENGTH")
                   : sql;
    }
    QString s = sql;

    // 1. TOP n -> ROWNUM <= n
    if (s.contains(QLatin1String("top "), Qt::CaseInsensitive)) {
        const qsizetype p = s.indexOf(QLatin1String("top"), 0, Qt::CaseInsensitive);
        const QString b = s.left(p);
        const QString r = s.mid(p + 3).trimmed();
        const qsizetype blanco = r.indexOf(QLatin1Char(' '));
        const QString n = blanco < 0 ? r : r.left(blanco);
        QString resto = blanco < 0 ? QString() : r.mid(blanco + 1);
        QString g, o;
        const qsizetype pg = s.indexOf(QLatin1String(" GROUP BY "), 0, Qt::CaseInsensitive);
        if (pg >= 0) {
            g = s.mid(pg);
        } else {
            const qsizetype po = s.indexOf(QLatin1String("ORDER BY "), 0, Qt::CaseInsensitive);
            if (po >= 0) {
                o = s.mid(po);
            }
        }
        if (!g.trimmed().isEmpty()) {
            reemplaza(resto, g.trimmed(), QStringLiteral(" "));
        }
        if (!o.trimmed().isEmpty()) {
            reemplaza(resto, o.trimmed(), QStringLiteral(" "));
        }
        const QString l = s.contains(QLatin1String(" WHERE "), Qt::CaseInsensitive)
                              ? QStringLiteral(" AND ROWNUM <= ") + n
                              : QStringLiteral(" WHERE ROWNUM <= ") + n;
        s = b + QLatin1Char(' ') + resto + QLatin1Char(' ') + l + QLatin1Char(' ') + g +
            QLatin1Char(' ') + o;
    }

    // 2. LEN -> LENGTH
    for (int blancos = 0; blancos <= 4; ++blancos) {
        reemplaza(s, QStringLiteral(" LEN") + QString(blancos, QLatin1Char(' ')) + QLatin1Char('('),
                  QStringLiteral(" LENGTH("));
    }

    // 3. [name] -> "name"
    s.replace(QLatin1Char('['), QLatin1Char('"'));
    s.replace(QLatin1Char(']'), QLatin1Char('"'));

    // 4. Dates between apostrophes -> TO_DATE
    {
        QList<qsizetype> apostrofos;
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == QLatin1Char('\'')) {
                apostrofos << i;
            }
        }
        const QString antes = s;
        for (qsizetype k = 0; k + 1 < apostrofos.size(); k += 2) {
            const qsizetype a = apostrofos[k], b = apostrofos[k + 1];
            const QString dentro = antes.mid(a + 1, b - a - 1);
            const QDate d = Regional::leeFecha(dentro);
            if (!d.isValid()) {
                continue;
            }
            reemplaza(s, QLatin1Char('\'') + dentro + QLatin1Char('\''),
                      QStringLiteral("TO_DATE('") + d.toString(QStringLiteral("dd/MM/yyyy")) +
                          QStringLiteral("','DD/MM/YYYY')"));
        }
        while (s.contains(QLatin1String("TO_DATE(TO_DATE("), Qt::CaseInsensitive)) {
            reemplaza(s, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
            reemplaza(s, QStringLiteral("'DD/MM/YYYY'),'DD/MM/YYYY')"),
                      QStringLiteral("'DD/MM/YYYY')"));
        }
    }

    // 5, 6. Functions
    reemplaza(s, QStringLiteral("Charindex"), QStringLiteral("InStr"));
    reemplaza(s, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    reemplaza(s, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));

    // 7. Empty text is null in Oracle: after the first WHERE only.
    {
        const qsizetype w = s.indexOf(QLatin1String("WHERE "), 0, Qt::CaseInsensitive);
        if (w >= 0) {
            QString cola = s.mid(w);
            reemplaza(cola, QStringLiteral("= ''"), QStringLiteral(" IS NULL "));
            reemplaza(cola, QStringLiteral("=''"), QStringLiteral(" IS NULL "));
            s = s.left(w) + cola;
        }
    }

    // 8. Style 103 of TO_CHAR -> day/month/year mask
    {
        const QString mascara = QStringLiteral("'DD/MM/YYYY'");
        qsizetype desde = 0;
        for (;;) {
            const qsizetype p = s.indexOf(QLatin1String("103"), desde);
            if (p < 0) {
                break;
            }
            const qsizetype abre = s.lastIndexOf(QLatin1Char('('), p);
            if (abre >= 7 && s.mid(abre - 7, 8).toUpper() == QLatin1String("TO_CHAR(")) {
                s.replace(p, 3, mascara);
                desde = p + mascara.size();
            } else {
                desde = p + 3;
            }
        }
    }

    // 9, 10.
    reemplaza(s, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    reemplaza(s, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
    return s;
}

QString DB_Dll::DepuraSentencia(const QString& sentencia) const {
    if (sentencia.contains(QLatin1String("SET NOCOUNT"), Qt::CaseInsensitive) ||
        sentencia.contains(QLatin1String("IF NOT EXIST"), Qt::CaseInsensitive)) {
        return QString();
    }
    return sentencia;
}

void DB_Dll::EjecutaScriptSQL(QString& script, qint64& afectadas) {
    QString s = script;
    s.remove(QStringLiteral("SET NOCOUNT ON"), Qt::CaseInsensitive);
    s.remove(QStringLiteral("SET NOCOUNT OFF"), Qt::CaseInsensitive);
    reemplaza(s, QStringLiteral(" GO "), QStringLiteral(" "));
    reemplaza(s, QStringLiteral("\r\nGO "), QStringLiteral(" "));
    reemplaza(s, QStringLiteral("\r\nGO "), QStringLiteral(" "));
    reemplaza(s, QStringLiteral("\r\nGO\r\n"), QStringLiteral(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    reemplaza(s, QStringLiteral("BEGIN TRANSACTION"), QStringLiteral("SET TRANSACTION"));
    reemplaza(s, QStringLiteral("BEGIN TRANS"), QStringLiteral("SET TRANSACTION"));
    reemplaza(s, QStringLiteral("COMMIT TRANSACTION"), QStringLiteral("COMMIT"));
    reemplaza(s, QStringLiteral("COMMIT TRANS"), QStringLiteral("COMMIT"));
    reemplaza(s, QStringLiteral("ROLLBACK TRANSACTION"), QStringLiteral("ROLLBACK"));
    reemplaza(s, QStringLiteral("ROLLBACK TRANS"), QStringLiteral("ROLLBACK"));
    script = s;
    for (;;) {
        script = script.trimmed();
        const qsizetype inicio = primeraPalabraDesde(script, 0);
        if (inicio < 0) {
            break;
        }
        const qsizetype siguiente = primeraPalabraDesde(script, inicio + 1);
        const QString sentencia =
            (siguiente < 0 ? script.mid(inicio) : script.mid(inicio, siguiente - inicio)).trimmed();
        if (!gCnn) {
            throw FalloKX(NumerosADO::ConexionCerrada,
                          QStringLiteral("Operation is not allowed when the object is closed."),
                          QStringLiteral("ADODB.Connection"));
        }
        if (sentencia.compare(QLatin1String("SET TRANSACTION"), Qt::CaseInsensitive) == 0) {
            gCnn->BeginTrans();
        } else if (sentencia.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
            gCnn->CommitTrans();
        } else if (sentencia.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0) {
            gCnn->RollbackTrans();
        } else {
            const QString texto = DepuraSentencia(ORACLE_Dicc(sentencia));
            if (!texto.trimmed().isEmpty()) {
                qint64 n = -1;
                gCnn->Execute(texto, &n);
                if (n > 0) {
                    afectadas += n;
                }
            }
        }
        script = siguiente < 0 ? QString() : script.mid(siguiente);
    }
    if (gCnn && gCnn->Errors.size() == 1 && gCnn->Errors.first().numero == 265929) {
        gCnn->Errors.clear();
    }
}
