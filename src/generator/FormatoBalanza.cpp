#include "generator/FormatoBalanza.h"

#include "generator/ArticulosBalanza.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoNovedad.h"
#include "generator/GrillaLote.h"
#include "utility_library/Cp1252.h"
#include "utility_library/QlUtil.h"

const QString FormatoBalanza::kNombre = QStringLiteral("BALANZA.TXT");

std::optional<double> FormatoBalanza::CodigoDeBalanza(const GrillaLote& grilla, int fila) {
    const double codigo = QlUtil::TextoAMoneda(grilla.Texto(fila, FilaNovedad::CodInterno));
    if (!(codigo < 10000)) {
        return std::nullopt;
    }
    return codigo;
}

QString FormatoBalanza::Clave(double codigo) {
    return QlUtil::FormateaCodigo(FormatoNovedad::Patron(codigo, 6), 25);
}

void FormatoBalanza::Anticipa(const GrillaLote& grilla, int desde, int hasta) {
    QStringList claves;
    for (int fila = desde; fila < hasta; ++fila) {
        if (const std::optional<double> codigo = CodigoDeBalanza(grilla, fila)) {
            claves << Clave(*codigo);
        }
    }
    if (!claves.isEmpty()) {
        articulos_.Anticipa(claves);
    }
}

std::optional<QString> FormatoBalanza::Registro(const GrillaLote& grilla, int fila) {
    const std::optional<double> codigo = CodigoDeBalanza(grilla, fila);
    if (!codigo) {
        return std::nullopt;
    }
    const QString codInterno = grilla.Texto(fila, FilaNovedad::CodInterno);
    QString modoVenta = QStringLiteral("1");
    ArticulosBalanza::Articulo art;
    if (articulos_.Busca(Clave(*codigo), art) && art.pesable) {
        modoVenta = art.idUnidad.trimmed().compare(unidadKG_.trimmed(), Qt::CaseInsensitive) == 0
                        ? QStringLiteral("0")
                        : QStringLiteral("1");
    }
    const QString plu = FormatoNovedad::Patron(codInterno.right(5).trimmed(), 5);
    QString registro = FormatoNovedad::Patron(grilla.Texto(fila, FilaNovedad::Rubro).trimmed(), 2);
    registro += plu;
    registro += plu;
    registro +=
        FormatoNovedad::Patron(grilla.Texto(fila, FilaNovedad::Precio).left(8).trimmed(), 8);
    registro += modoVenta;
    registro +=
        QlUtil::AjustaTexto(grilla.Texto(fila, FilaNovedad::Descripcion).left(60).trimmed(), 60);
    return registro;
}

QByteArray FormatoBalanza::Codifica(const QString& registro) const {
    return Cp1252::codifica(registro);
}

std::optional<HallazgoFormato> FormatoBalanza::Revisa(const GrillaLote& grilla, int fila) {
    const std::optional<QString> registro = Registro(grilla, fila);
    if (!registro || registro->size() == kLargo) {
        return std::nullopt;
    }
    HallazgoFormato h;
    h.tipo = HallazgoFormato::Tipo::LargoBalanza;
    h.archivo = kNombre;
    h.largo = int(registro->size());
    h.esperado = kLargo;
    return h;
}
