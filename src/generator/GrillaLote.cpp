#include "generator/GrillaLote.h"

#include "utility_library/ErrorKX.h"

#include <algorithm>

namespace {
// An index out of range, with the number the suite gives it.
[[noreturn]] void fueraDeRango(int fila, int col) {
    throw FalloKX(
        381,
        QStringLiteral("Subíndice fuera del intervalo (fila %1, columna %2)").arg(fila).arg(col),
        QStringLiteral("GrillaLote"));
}
} // namespace

GrillaLote::GrillaLote() = default;

void GrillaLote::fijaFin(size_t i, quint32 valor) {
    if (!anchos32_ && valor > 0xFFFF) {
        fines32_.assign(fines16_.begin(), fines16_.end());
        fines16_.clear();
        fines16_.shrink_to_fit();
        anchos32_ = true;
    }
    if (anchos32_) {
        fines32_[i] = valor;
    } else {
        fines16_[i] = quint16(valor);
    }
}

void GrillaLote::redimensionaFines(size_t n) {
    if (anchos32_) {
        fines32_.resize(n, 0);
    } else {
        fines16_.resize(n, 0);
    }
}

void GrillaLote::asignaFines(std::vector<quint32>&& fines) {
    const bool anchos = !fines.empty() && *std::max_element(fines.begin(), fines.end()) > 0xFFFF;
    if (anchos || anchos32_) {
        fines32_ = std::move(fines);
        fines16_.clear();
        anchos32_ = true;
    } else {
        fines16_.assign(fines.begin(), fines.end());
    }
}

void GrillaLote::verifica(int fila, int col) const {
    if (fila < 0 || fila >= Rows() || col < 0 || col >= cols_) {
        fueraDeRango(fila, col);
    }
}

void GrillaLote::FijaRows(int filas) {
    if (filas < 0) {
        fueraDeRango(filas, 0);
    }
    const int antes = Rows();
    if (filas > antes) {
        if (observador_) {
            observador_->antesDeAgregarFilas(antes, filas - 1);
        }
        textos_.resize(size_t(filas));
        redimensionaFines(size_t(filas) * size_t(cols_));
        if (observador_) {
            observador_->despuesDeAgregarFilas();
        }
    } else if (filas < antes) {
        if (observador_) {
            observador_->antesDeReiniciar();
        }
        marcadas_.removeIf([filas](const auto& m) { return m.key() >= filas; });
        textos_.resize(size_t(filas));
        redimensionaFines(size_t(filas) * size_t(cols_));
        if (observador_) {
            observador_->despuesDeReiniciar();
        }
    }
}

void GrillaLote::FijaCols(int columnas) {
    if (columnas < 0) {
        fueraDeRango(0, columnas);
    }
    if (columnas == cols_) {
        return;
    }
    if (observador_) {
        observador_->antesDeReiniciar();
    }
    std::vector<quint32> nuevos(size_t(Rows()) * size_t(columnas), 0);
    for (int f = 0; f < Rows(); ++f) {
        const int guardadas = std::min(cols_, columnas);
        const quint32 corte = guardadas == 0 ? 0 : fin(f, guardadas - 1);
        textos_[size_t(f)].truncate(qsizetype(corte));
        for (int c = 0; c < columnas; ++c) {
            nuevos[size_t(f) * size_t(columnas) + size_t(c)] = c < guardadas ? fin(f, c) : corte;
        }
    }
    asignaFines(std::move(nuevos));
    cols_ = columnas;
    anchos_.resize(size_t(columnas), AnchoPorDefecto);
    if (observador_) {
        observador_->despuesDeReiniciar();
    }
}

QString GrillaLote::Texto(int fila, int col) const {
    return Celda(fila, col).toString();
}

QStringView GrillaLote::Celda(int fila, int col) const {
    verifica(fila, col);
    const quint32 i = inicio(fila, col);
    return QStringView(textos_[size_t(fila)]).mid(i, fin(fila, col) - i);
}

void GrillaLote::FijaTexto(int fila, int col, const QString& texto) {
    verifica(fila, col);
    const quint32 i = inicio(fila, col);
    const quint32 largo = fin(fila, col) - i;
    textos_[size_t(fila)].replace(qsizetype(i), qsizetype(largo), texto);
    const qint64 delta = qint64(texto.size()) - qint64(largo);
    if (delta != 0) {
        const size_t base = size_t(fila) * size_t(cols_);
        for (int c = col; c < cols_; ++c) {
            fijaFin(base + size_t(c), quint32(qint64(finEn(base + size_t(c))) + delta));
        }
    }
    if (observador_) {
        observador_->celdaCambiada(fila, col);
    }
}

void GrillaLote::FijaFila(int fila, const QString* celdas, int cantidad) {
    verifica(fila, 0);
    if (cantidad > cols_) {
        fueraDeRango(fila, cantidad - 1);
    }
    // Cells beyond `cantidad` keep their text.
    const quint32 corte = cantidad == 0 ? 0 : fin(fila, cantidad - 1);
    const QStringView resto = QStringView(textos_[size_t(fila)]).mid(corte);
    qsizetype total = resto.size();
    for (int c = 0; c < cantidad; ++c) {
        total += celdas[c].size();
    }
    QString t;
    t.reserve(total);
    const size_t base = size_t(fila) * size_t(cols_);
    for (int c = 0; c < cantidad; ++c) {
        t += celdas[c];
        fijaFin(base + size_t(c), quint32(t.size()));
    }
    const qint64 delta = qint64(t.size()) - qint64(corte);
    t += resto;
    for (int c = cantidad; c < cols_; ++c) {
        fijaFin(base + size_t(c), quint32(qint64(finEn(base + size_t(c))) + delta));
    }
    textos_[size_t(fila)] = std::move(t);
    if (observador_) {
        observador_->celdaCambiada(fila, -1);
    }
}

QStringList GrillaLote::Fila(int fila) const {
    QStringList r;
    r.reserve(cols_);
    for (int c = 0; c < cols_; ++c) {
        r << Texto(fila, c);
    }
    return r;
}

void GrillaLote::AgregaFila() {
    FijaRows(Rows() + 1);
}

void GrillaLote::Reserva(int filas) {
    if (filas <= Rows()) {
        return;
    }
    textos_.reserve(size_t(filas));
    if (anchos32_) {
        fines32_.reserve(size_t(filas) * size_t(cols_));
    } else {
        fines16_.reserve(size_t(filas) * size_t(cols_));
    }
}

void GrillaLote::Clear() {
    if (observador_) {
        observador_->antesDeReiniciar();
    }
    for (auto& t : textos_) {
        t.clear();
    }
    std::fill(fines16_.begin(), fines16_.end(), 0);
    std::fill(fines32_.begin(), fines32_.end(), 0);
    if (observador_) {
        observador_->despuesDeReiniciar();
    }
}

int GrillaLote::ColWidth(int col) const {
    if (col < 0 || col >= cols_) {
        fueraDeRango(0, col);
    }
    return anchos_[size_t(col)];
}

void GrillaLote::FijaColWidth(int col, int ancho) {
    if (col < 0 || col >= cols_) {
        fueraDeRango(0, col);
    }
    anchos_[size_t(col)] = ancho;
}

const QString GrillaLote::kFueraDeFormato =
    QStringLiteral("El registro de esta fila no respeta el formato fijo");

void GrillaLote::FijaMarcada(int fila, bool marcada) {
    verifica(fila, 0);
    if (marcada == marcadas_.contains(fila)) {
        return;
    }
    if (marcada) {
        marcadas_.insert(fila, kFueraDeFormato);
    } else {
        marcadas_.remove(fila);
    }
    if (observador_) {
        observador_->filaMarcada(fila);
    }
}

void GrillaLote::AgregaMotivo(int fila, const QString& motivo) {
    verifica(fila, 0);
    QString& m = marcadas_[fila];
    if (!m.isEmpty()) {
        m += QLatin1Char('\n');
    }
    m += motivo;
    if (observador_) {
        observador_->filaMarcada(fila);
    }
}

void GrillaLote::QuitaMarcas() {
    const QList<int> antes = marcadas_.keys();
    marcadas_.clear();
    if (observador_) {
        for (int f : antes) {
            observador_->filaMarcada(f);
        }
    }
}
