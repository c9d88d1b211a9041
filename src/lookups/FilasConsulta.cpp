#include "lookups/FilasConsulta.h"

#include "db/Recordset.h"
#include "lookups/AnchosConsultas.h"
#include "lookups/TextoPlegado.h"
#include "schema/EsquemaSql.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlTexto.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <string_view>

void FilasConsulta::limpia() {
    columnas_.clear();
    limpiaFilas();
}

void FilasConsulta::limpiaFilas() {
    valores_.clear();
    marcas_.clear();
    colores_.clear();
    filas_ = 0;
    ordenadas_.assign(size_t(columnas()), 1);
}

void FilasConsulta::encolumnar(const Recordset& rs, const QString& sql,
                               const QString& valoresDefault,
                               const std::function<QString(int)>& nombrePrecio) {
    columnas_.clear();
    const bool articulos = sql.contains(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) ||
                           sql.contains(QLatin1String("STK_MA_ARTICULOS"), Qt::CaseInsensitive);
    const bool mas10 = valoresDefault.compare(QLatin1String("@10"), Qt::CaseInsensitive) == 0;
    const QStringList escritos = NombresDeSentencia(sql);
    // The suite's own definition of the table, for what the engine does not
    // tell: PostgreSQL folds names to lower case and its schema declares no
    // lengths (a length would pad the stored text).
    const QHash<QString, EsquemaSql::ColumnaSuite> suite =
        EsquemaSql::columnasDeLaSuite(AnchosConsultas::ClaveTabla(sql));
    const QList<Recordset::InfoCampo>& campos = rs.Campos();
    for (int i = 0; i < campos.size(); ++i) {
        const Recordset::InfoCampo& f = campos[i];
        const auto definida = suite.constFind(f.nombre.toLower());
        Columna c;
        c.campo = f.nombre;
        c.encabezado = f.nombre;
        if (escritos.size() == campos.size() &&
            escritos[i].compare(f.nombre, Qt::CaseInsensitive) == 0) {
            c.encabezado = escritos[i];
        } else if (definida != suite.constEnd()) {
            c.encabezado = definida->nombre;
        }
        int ancho = f.tamanoDefinido;
        if (f.tipo == Recordset::TipoCampo::Numero) {
            ancho = 12;
        } else if (ancho <= 0 && f.tipo == Recordset::TipoCampo::Texto &&
                   definida != suite.constEnd() && definida->largo > 0) {
            ancho = definida->largo;
        } else if (ancho <= 0) {
            // No size told (SQLite expressions, integers, text the suite
            // does not define): the data's own, once read.
            ancho = 12;
            c.anchoPorDatos =
                f.tipo == Recordset::TipoCampo::Texto || f.tipo == Recordset::TipoCampo::Otro;
        }
        ancho = std::min(ancho, kAnchoMaximo);
        if (articulos) {
            for (int n = 1; n <= 8; ++n) {
                if (f.nombre.compare(QStringLiteral("PRECIO") + QString::number(n),
                                     Qt::CaseInsensitive) == 0) {
                    c.encabezado = nombrePrecio ? nombrePrecio(n) : f.nombre;
                }
            }
        } else if (mas10) {
            ancho += 10;
        }
        c.caracteres = ancho;
        columnas_.append(c);
    }
}

qint64 FilasConsulta::colorDe(const QVariant& v) {
    const QString t = QlUtil::NoNulo(v).trimmed();
    if (t.isEmpty()) {
        return SinColor;
    }
    const double n = QlUtil::TextoANumero(t);
    if (n < 0 || n > 0xFFFFFF) {
        return SinColor;
    }
    return qint64(n);
}

int FilasConsulta::nivelStock(double p, double s) {
    if (p == 0 && s > 0) {
        return 1;
    }
    if (p > 0 && s > p) {
        return 2;
    }
    if (p > 0 && s < p) {
        return 3;
    }
    return 4;
}

namespace {
// A value turned into its text in place; text values stay as they are.
void enTexto(QVariant& v) {
    if (v.typeId() != QMetaType::QString || v.isNull()) {
        v = QVariant(QlUtil::NoNulo(v));
    }
}
} // namespace

void FilasConsulta::leer(Recordset& rs, const Lectura& l) {
    limpiaFilas();
    if (rs.RecordCount() == 0 || rs.Eof()) {
        return;
    }
    const int n = columnas();
    const int iPunto = rs.IndiceCampo(QStringLiteral("PUNTOPEDIDO"));
    const int iStock = rs.IndiceCampo(QStringLiteral("Stock"));
    const int iDevuelto =
        l.campoDevuelto.trimmed().isEmpty() ? -1 : rs.IndiceCampo(l.campoDevuelto.trimmed());
    qint64 niveles[4];
    for (int i = 0; i < 4; ++i) {
        niveles[i] = colorDe(l.niveles[i]);
    }
    const bool colorea = l.esArticulos && l.muestraStock && iPunto >= 0 && iStock >= 0;
    // The rows are kept as they came: nothing is copied or let go per row.
    valores_ = rs.TomaFilas();
    marcas_.reserve(valores_.size());
    colores_.reserve(valores_.size());
    for (QVector<QVariant>& fila : valores_) {
        if (fila.size() != n) {
            fila.resize(n);
        }
        QVariant* v = fila.data();
        qint64 color = SinColor;
        if (colorea && iPunto < n && iStock < n) {
            const double p = QlUtil::TextoAMoneda(QlUtil::NoNulo(v[iPunto]));
            const double s = QlUtil::TextoAMoneda(QlUtil::NoNulo(v[iStock]));
            color = niveles[nivelStock(p, s) - 1];
        }
        for (int i = 0; i < n; ++i) {
            enTexto(v[i]);
        }
        if (n > 0) {
            QString& primera = *static_cast<QString*>(v[0].data());
            if (!primera.isEmpty() && (TextoPlegado::esBlanco(primera.front().unicode()) ||
                                       TextoPlegado::esBlanco(primera.back().unicode()))) {
                primera = primera.trimmed();
            }
        }
        bool marcada = false;
        if (l.checkBoxes && iDevuelto >= 0 && iDevuelto < n) {
            const QString d = celda(filas_, iDevuelto).trimmed();
            marcada = !d.isEmpty() && l.valoresDefault.contains(d, Qt::CaseInsensitive);
        }
        marcas_.append(marcada ? 1 : 0);
        colores_.append(color);
        ++filas_;
        // Against the row before while both are still at hand.
        revisaUltimaFila();
    }
    anchosPorDatos();
}

void FilasConsulta::anchosPorDatos() {
    for (int c = 0; c < columnas(); ++c) {
        Columna& col = columnas_[c];
        if (!col.anchoPorDatos) {
            continue;
        }
        int largo = int(col.encabezado.size());
        for (int f = 0; f < filas_ && largo < kAnchoMaximo; ++f) {
            const QString& t = celda(f, c);
            qsizetype n = t.size();
            while (n > 0 && t[n - 1] == QLatin1Char(' ')) {
                --n;
            }
            largo = std::max(largo, int(n));
        }
        // The longest value (at least the header), plus what "@10" added.
        col.caracteres = std::min(std::max(largo, 4), kAnchoMaximo) + (col.caracteres - 12);
    }
}

QStringList FilasConsulta::NombresDeSentencia(const QString& sql) {
    // The select list: after SELECT (and TOP n, DISTINCT), up to the FROM
    // outside any parenthesis.
    static const QRegularExpression inicio(
        QStringLiteral("^\\s*select\\s+(distinct\\s+)?(top\\s+\\d+\\s+)?"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = inicio.match(sql);
    if (!m.hasMatch()) {
        return {};
    }
    QStringList partes;
    QString actual;
    int nivel = 0;
    bool terminada = false;
    for (qsizetype i = m.capturedEnd(); i < sql.size(); ++i) {
        const QChar ch = sql[i];
        if (nivel == 0 && (ch.isSpace() || i == m.capturedEnd()) &&
            sql.mid(ch.isSpace() ? i + 1 : i, 5)
                    .compare(QLatin1String("from "), Qt::CaseInsensitive) == 0) {
            terminada = true;
            break;
        }
        if (ch == QLatin1Char('(')) {
            ++nivel;
        } else if (ch == QLatin1Char(')')) {
            --nivel;
        } else if (ch == QLatin1Char(',') && nivel == 0) {
            partes << actual.trimmed();
            actual.clear();
            continue;
        }
        actual += ch;
    }
    if (!terminada) {
        return {};
    }
    partes << actual.trimmed();
    static const QRegularExpression alias(QStringLiteral("\\s+as\\s+(\\S+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nombre(
        QStringLiteral("^(?:[\\w\\[\\]\"]+\\.)*([\\w\\[\\]\"]+)$"));
    QStringList r;
    for (const QString& p : std::as_const(partes)) {
        QString n;
        if (const auto a = alias.match(p); a.hasMatch()) {
            n = a.captured(1);
        } else if (const auto b = nombre.match(p); b.hasMatch()) {
            n = b.captured(1);
        } else {
            return {}; // "*", an expression without a name
        }
        n.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char('"'));
        if (n.isEmpty() || n == QLatin1String("*")) {
            return {};
        }
        r << n;
    }
    return r;
}

void FilasConsulta::fijaColumnas(const QList<Columna>& c) {
    columnas_ = c;
    limpiaFilas();
}

void FilasConsulta::agregaFila(const QStringList& celdas, bool marcada) {
    QVector<QVariant> fila(columnas());
    for (int i = 0; i < columnas(); ++i) {
        fila[i] = QVariant(i < celdas.size() ? celdas[i] : QString());
    }
    valores_.append(std::move(fila));
    marcas_.append(marcada ? 1 : 0);
    colores_.append(SinColor);
    ++filas_;
    revisaUltimaFila();
}

void FilasConsulta::revisaUltimaFila() {
    for (int c = 0; c < columnas(); ++c) {
        if (ordenadas_[size_t(c)] && !enOrden(c, filas_ - 1)) {
            ordenadas_[size_t(c)] = 0;
        }
    }
}

void FilasConsulta::fijaCelda(int fila, int col, const QString& v) {
    valores_[fila][col] = QVariant(v);
    // Only the two neighbours can have fallen out of order.
    if (ordenadas_[size_t(col)] && !(enOrden(col, fila) && enOrden(col, fila + 1))) {
        ordenadas_[size_t(col)] = 0;
    }
}

bool FilasConsulta::enOrden(int col, int fila) const {
    if (fila <= 0 || fila >= filas_) {
        return true;
    }
    return TextoPlegado::compara(TextoPlegado::recortado(celda(fila - 1, col)),
                                 TextoPlegado::recortado(celda(fila, col))) <= 0;
}

void FilasConsulta::revisaOrden() {
    ordenadas_.assign(size_t(columnas()), 1);
    for (int c = 0; c < columnas(); ++c) {
        // Most columns fall out of order within a few rows.
        for (int f = 1; f < filas_; ++f) {
            if (!enOrden(c, f)) {
                ordenadas_[size_t(c)] = 0;
                break;
            }
        }
    }
}

int FilasConsulta::buscaOrdenada(int col, std::u16string_view buscado, int desde) const {
    // The rows beginning with the text come together, after every row that
    // sorts before it: the first is the first row not below the text.
    int a = desde, z = filas_;
    while (a < z) {
        const int m = a + (z - a) / 2;
        if (TextoPlegado::comparaPrefijo(TextoPlegado::recortado(celda(m, col)), buscado) < 0) {
            a = m + 1;
        } else {
            z = m;
        }
    }
    return a < filas_ && TextoPlegado::empiezaCon(TextoPlegado::recortado(celda(a, col)), buscado)
               ? a + 1
               : 0;
}

int FilasConsulta::Busqueda(int clave, const QString& valor, int desde) const {
    if (clave < 0 || clave >= columnas() || filas_ == 0) {
        return 0;
    }
    const std::u16string buscado = TextoPlegado::plegado(TextoPlegado::recortado(valor));
    if (buscado.empty()) {
        return 1;
    }
    desde = std::max(desde, 0);
    if (ordenadas_[size_t(clave)]) {
        return buscaOrdenada(clave, buscado, desde);
    }
    for (int f = desde; f < filas_; ++f) {
        if (TextoPlegado::empiezaCon(TextoPlegado::recortado(celda(f, clave)), buscado)) {
            return f + 1;
        }
    }
    return 0;
}

int FilasConsulta::IndiceColumna(const QString& columna) const {
    const QString buscada = columna.trimmed();
    for (int i = 0; i < columnas(); ++i) {
        if (columnas_[i].encabezado.trimmed().compare(buscada, Qt::CaseInsensitive) == 0) {
            return i + 1;
        }
    }
    return 0;
}

void FilasConsulta::ordena(int col, bool ascendente) {
    if (col < 0 || col >= columnas() || filas_ < 2) {
        return;
    }
    // Each key folded once into one buffer: the sort compares them many times.
    std::vector<char16_t> texto;
    std::vector<quint32> inicio(size_t(filas_) + 1, 0);
    texto.reserve(size_t(filas_) * 16);
    for (int f = 0; f < filas_; ++f) {
        for (char16_t ch : TextoPlegado::recortado(celda(f, col))) {
            texto.push_back(TextoPlegado::pliega(ch));
        }
        inicio[size_t(f) + 1] = quint32(texto.size());
    }
    auto clave = [&](int f) {
        return std::u16string_view(texto.data() + inicio[size_t(f)],
                                   size_t(inicio[size_t(f) + 1] - inicio[size_t(f)]));
    };
    QVector<int> orden(filas_);
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) {
        const int c = clave(a).compare(clave(b));
        return ascendente ? c < 0 : c > 0;
    });
    QVector<QVector<QVariant>> valores(filas_);
    QVector<char> marcas(filas_);
    QVector<qint64> colores(filas_);
    for (int f = 0; f < filas_; ++f) {
        const int o = orden[f];
        valores[f] = std::move(valores_[o]);
        marcas[f] = marcas_[o];
        colores[f] = colores_[o];
    }
    valores_.swap(valores);
    marcas_.swap(marcas);
    colores_.swap(colores);
    revisaOrden();
}
