#include "db/Recordset.h"

#include "db/Conexion.h"
#include "db/ErrorADO.h"
#include "utility_library/ErrorKX.h"

#include <algorithm>
#include <utility>

namespace {
constexpr qint32 kFinDeDatos = 3021; // BOF or EOF: no current record

[[noreturn]] void sinRegistro() {
    throw FalloKX(kFinDeDatos,
                  QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                 "deleted. Requested operation requires a current record."),
                  QStringLiteral("ADODB.Recordset"));
}

[[noreturn]] void cerrado() {
    throw FalloKX(NumerosADO::ConexionCerrada,
                  QStringLiteral("Operation is not allowed when the object is closed."),
                  QStringLiteral("ADODB.Recordset"));
}

[[noreturn]] void noEncontrado() {
    throw FalloKX(NumerosADO::ItemNoEncontrado,
                  QStringLiteral("Item cannot be found in the collection corresponding to the "
                                 "requested name or ordinal."),
                  QStringLiteral("ADODB.Fields"));
}
} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Cierra() {
    if (!abierto_) {
        throw FalloKX(NumerosADO::ObjetoCerrado,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      QStringLiteral("ADODB.Recordset"));
    }
    if (editando_) {
        throw FalloKX(NumerosADO::NoPermitido,
                      QStringLiteral("Operation is not allowed in this context."),
                      QStringLiteral("ADODB.Recordset"));
    }
    abierto_ = false;
    campos_.clear();
    filas_.clear();
    pos_ = 0;
    origen_ = nullptr;
    tabla_.clear();
}

bool Recordset::Bof() const {
    return filas_.isEmpty() || pos_ < 0;
}

bool Recordset::Eof() const {
    return filas_.isEmpty() || pos_ >= filas_.size();
}

void Recordset::MoveFirst() {
    if (!abierto_) {
        cerrado();
    }
    pos_ = 0;
}

void Recordset::MoveNext() {
    if (!abierto_) {
        cerrado();
    }
    if (Eof()) {
        sinRegistro();
    }
    ++pos_;
}

void Recordset::MovePrevious() {
    if (!abierto_) {
        cerrado();
    }
    if (Bof()) {
        sinRegistro();
    }
    --pos_;
}

void Recordset::MoveLast() {
    if (!abierto_) {
        cerrado();
    }
    pos_ = filas_.isEmpty() ? 0 : int(filas_.size()) - 1;
}

int Recordset::IndiceCampo(const QString& nombre) const {
    const QString buscado = nombre.trimmed();
    for (int i = 0; i < campos_.size(); ++i) {
        if (campos_[i].nombre.compare(buscado, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QVariant Recordset::Campo(const QString& nombre) const {
    const int i = IndiceCampo(nombre);
    if (i < 0) {
        noEncontrado();
    }
    return Campo(i);
}

QVariant Recordset::Campo(int indice) const {
    if (!abierto_) {
        cerrado();
    }
    if (indice < 0 || indice >= campos_.size()) {
        noEncontrado();
    }
    if (editando_ && tocado_.value(indice)) {
        return edicion_[indice];
    }
    if (editando_ && nueva_) {
        return QVariant();
    }
    if (Eof() || Bof()) {
        sinRegistro();
    }
    return filas_[pos_][indice];
}

QVector<QVector<QVariant>> Recordset::TomaFilas() {
    if (!abierto_) {
        cerrado();
    }
    if (editando_) {
        // A row being edited still needs its place among the rows.
        throw FalloKX(NumerosADO::NoPermitido,
                      QStringLiteral("Operation is not allowed in this context."),
                      QStringLiteral("ADODB.Recordset"));
    }
    QVector<QVector<QVariant>> r = std::exchange(filas_, QVector<QVector<QVariant>>());
    if (pos_ > 0) {
        r.remove(0, std::min(qsizetype(pos_), r.size()));
    }
    pos_ = 0;
    return r;
}

void Recordset::AddNew() {
    if (!abierto_) {
        cerrado();
    }
    editando_ = true;
    nueva_ = true;
    edicion_ = QVector<QVariant>(campos_.size());
    tocado_ = QVector<bool>(campos_.size(), false);
}

void Recordset::FijaCampo(const QString& nombre, const QVariant& valor) {
    const int i = IndiceCampo(nombre);
    if (i < 0) {
        noEncontrado();
    }
    if (!editando_) {
        // Assigning a field of the current row starts editing it.
        if (Eof() || Bof()) {
            sinRegistro();
        }
        editando_ = true;
        nueva_ = false;
        edicion_ = filas_[pos_];
        tocado_ = QVector<bool>(campos_.size(), false);
    }
    edicion_[i] = valor;
    tocado_[i] = true;
}

void Recordset::Update() {
    if (!editando_) {
        return;
    }
    if (!origen_ || tabla_.isEmpty()) {
        throw FalloKX(NumerosADO::NoPermitido,
                      QStringLiteral("Operation is not allowed in this context."),
                      QStringLiteral("ADODB.Recordset"));
    }
    QStringList columnas;
    QVariantList valores;
    for (int i = 0; i < campos_.size(); ++i) {
        if (tocado_[i]) {
            columnas << campos_[i].nombre;
            valores << edicion_[i];
        }
    }
    if (nueva_) {
        if (!columnas.isEmpty()) {
            origen_->InsertaFila(tabla_, columnas, valores);
        }
        filas_.append(edicion_);
        pos_ = int(filas_.size()) - 1;
    } else {
        if (!columnas.isEmpty()) {
            QStringList claves;
            for (const InfoCampo& c : campos_) {
                claves << c.nombre;
            }
            QVariantList originales(filas_[pos_].begin(), filas_[pos_].end());
            origen_->ActualizaFila(tabla_, columnas, valores, claves, originales);
        }
        filas_[pos_] = edicion_;
    }
    editando_ = false;
    nueva_ = false;
}

void Recordset::CancelUpdate() {
    editando_ = false;
    nueva_ = false;
    edicion_.clear();
    tocado_.clear();
}

void Recordset::carga(QList<InfoCampo> campos, QVector<QVector<QVariant>> filas, Conexion* origen,
                      const QString& tabla) {
    abierto_ = true;
    campos_ = std::move(campos);
    filas_ = std::move(filas);
    pos_ = 0;
    origen_ = origen;
    tabla_ = tabla;
    editando_ = false;
    nueva_ = false;
}
