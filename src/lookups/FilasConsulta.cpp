#include "lookups/FilasConsulta.h"

#include "db/Recordset.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlTexto.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>

void FilasConsulta::limpia() {
    columnas_.clear();
    limpiaFilas();
}

void FilasConsulta::limpiaFilas() {
    celdas_.clear();
    marcas_.clear();
    colores_.clear();
    filas_ = 0;
    plegadas_.clear();
}

void FilasConsulta::encolumnar(const Recordset& rs, const QString& sql,
                               const QString& valoresDefault,
                               const std::function<QString(int)>& nombrePrecio) {
    columnas_.clear();
    const bool articulos = sql.contains(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) ||
                           sql.contains(QLatin1String("STK_MA_ARTICULOS"), Qt::CaseInsensitive);
    const bool mas10 = valoresDefault.compare(QLatin1String("@10"), Qt::CaseInsensitive) == 0;
    for (const Recordset::InfoCampo& f : rs.Campos()) {
        Columna c;
        c.campo = f.nombre;
        c.encabezado = f.nombre;
        int ancho = f.tamanoDefinido;
        if (f.tipo == Recordset::TipoCampo::Numero) {
            ancho = 12;
        } else if (ancho <= 0) {
            // Engines that do not tell a size (SQLite expressions, integers).
            ancho = 12;
        }
        ancho = std::min(ancho, 60);
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

void FilasConsulta::leer(Recordset& rs, const Lectura& l) {
    limpiaFilas();
    if (rs.RecordCount() == 0 || rs.Eof()) {
        return;
    }
    const int n = rs.CantidadCampos();
    const int iPunto = rs.IndiceCampo(QStringLiteral("PUNTOPEDIDO"));
    const int iStock = rs.IndiceCampo(QStringLiteral("Stock"));
    const int iDevuelto =
        l.campoDevuelto.trimmed().isEmpty() ? -1 : rs.IndiceCampo(l.campoDevuelto.trimmed());
    qint64 niveles[4];
    for (int i = 0; i < 4; ++i) {
        niveles[i] = colorDe(l.niveles[i]);
    }
    const bool colorea = l.esArticulos && l.muestraStock;
    const int estimadas = rs.RecordCount() - std::max(rs.posicion(), 0);
    celdas_.reserve(qsizetype(estimadas) * n);
    marcas_.reserve(estimadas);
    colores_.reserve(estimadas);
    while (!rs.Eof()) {
        qint64 color = SinColor;
        if (colorea && iPunto >= 0 && iStock >= 0) {
            const double p = QlUtil::TextoAMoneda(QlUtil::NoNulo(rs.Campo(iPunto)));
            const double s = QlUtil::TextoAMoneda(QlUtil::NoNulo(rs.Campo(iStock)));
            color = niveles[nivelStock(p, s) - 1];
        }
        celdas_.append(QlUtil::NoNulo(rs.Campo(0)).trimmed());
        for (int i = 1; i < n; ++i) {
            celdas_.append(QlUtil::NoNulo(rs.Campo(i)));
        }
        bool marcada = false;
        if (l.checkBoxes && iDevuelto >= 0) {
            const QString v = QlUtil::NoNulo(rs.Campo(iDevuelto)).trimmed();
            marcada = !v.isEmpty() && l.valoresDefault.contains(v, Qt::CaseInsensitive);
        }
        marcas_.append(marcada ? 1 : 0);
        colores_.append(color);
        ++filas_;
        rs.MoveNext();
    }
}

void FilasConsulta::fijaColumnas(const QList<Columna>& c) {
    limpiaFilas();
    columnas_ = c;
}

void FilasConsulta::agregaFila(const QStringList& celdas, bool marcada) {
    for (int i = 0; i < columnas(); ++i) {
        celdas_.append(i < celdas.size() ? celdas[i] : QString());
    }
    marcas_.append(marcada ? 1 : 0);
    colores_.append(SinColor);
    ++filas_;
    plegadas_.clear();
}

void FilasConsulta::fijaCelda(int fila, int col, const QString& v) {
    celdas_[fila * columnas() + col] = v;
    if (size_t(col) < plegadas_.size()) {
        plegadas_[size_t(col)].lista = false; // folded again on the next search
    }
}

const FilasConsulta::ColumnaPlegada& FilasConsulta::plegada(int col) const {
    if (int(plegadas_.size()) != columnas()) {
        plegadas_.assign(size_t(columnas()), ColumnaPlegada());
    }
    ColumnaPlegada& p = plegadas_[size_t(col)];
    if (!p.lista) {
        p.texto.clear();
        p.inicio.assign(size_t(filas_) + 1, 0);
        p.texto.reserve(size_t(filas_) * 16);
        for (int f = 0; f < filas_; ++f) {
            // Trimmed and folded character by character: no copy of the cell.
            const QString& c = celda(f, col);
            qsizetype a = 0, z = c.size();
            while (a < z && c.at(a).isSpace()) {
                ++a;
            }
            while (z > a && c.at(z - 1).isSpace()) {
                --z;
            }
            for (qsizetype i = a; i < z; ++i) {
                p.texto.push_back(char16_t(QChar::toCaseFolded(c.at(i).unicode())));
            }
            p.inicio[size_t(f) + 1] = quint32(p.texto.size());
        }
        p.lista = true;
    }
    return p;
}

int FilasConsulta::Busqueda(int clave, const QString& valor, int desde) const {
    if (clave < 0 || clave >= columnas() || filas_ == 0) {
        return 0;
    }
    QString buscado = valor.trimmed();
    // Folded the way the column is: one character at a time.
    for (QChar& ch : buscado) {
        ch = QChar(QChar::toCaseFolded(ch.unicode()));
    }
    if (buscado.isEmpty()) {
        return 1;
    }
    const ColumnaPlegada& p = plegada(clave);
    const int m = int(buscado.size());
    const char16_t* b = reinterpret_cast<const char16_t*>(buscado.utf16());
    const size_t bytes = size_t(m) * sizeof(char16_t);
    for (int f = std::max(desde, 0); f < filas_; ++f) {
        if (p.largo(f) >= m && *p.de(f) == *b && std::memcmp(p.de(f), b, bytes) == 0) {
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
    const ColumnaPlegada& p = plegada(col);
    auto texto = [&](int f) { return std::u16string_view(p.de(f), size_t(p.largo(f))); };
    QVector<int> orden(filas_);
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) {
        const int c = texto(a).compare(texto(b));
        return ascendente ? c < 0 : c > 0;
    });
    const int n = columnas();
    QVector<QString> celdas(celdas_.size());
    QVector<char> marcas(filas_);
    QVector<qint64> colores(filas_);
    for (int f = 0; f < filas_; ++f) {
        const int o = orden[f];
        for (int c = 0; c < n; ++c) {
            celdas[f * n + c] = std::move(celdas_[o * n + c]);
        }
        marcas[f] = marcas_[o];
        colores[f] = colores_[o];
    }
    celdas_.swap(celdas);
    marcas_.swap(marcas);
    colores_.swap(colores);
    plegadas_.clear();
}
