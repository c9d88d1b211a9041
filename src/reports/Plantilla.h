#pragma once

#include <QString>
#include <QVector>
#include <array>

// The values a report definition can name between braces ("{Precio}").
// Row values come first: a row keeps only those.
enum class CampoReporte : int {
    // one per batch row
    Numero, // position in the batch, from 1
    TipoMov,
    CodInterno,
    Descripcion,
    Marca,
    PrecioVenta,
    Precio,
    PrecioCosto,
    CodBarra,
    Pesable,
    PrecioAnterior,
    LoteAnterior,
    Variacion,
    Aviso,
    // once per report
    Titulo,
    Empresa,
    Codigo,
    IdLista,
    Lista,
    Fecha,
    RutaArchivo,
    Usuario,
    Retransmitido,
    Impreso,
    Filas,
    RegistrosBalanza,
    Avisos,
    // what the published files held, as recorded: "4479 bytes, SHA-256 ..."
    HuellaCambios,
    HuellaBalanza,
    // the days without a batch whose offers the batch's pending load took:
    // "Se incluyen las ofertas de los días sin novedad: del 08/03 al 09/03"
    // (empty when it took none)
    Recuperacion,
    // per page
    Pagina,
    Paginas,
};

constexpr int kCamposFila = int(CampoReporte::Titulo);
constexpr int kCamposReporte = int(CampoReporte::Paginas) + 1;

using ValoresFila = std::array<QString, kCamposFila>;
using ValoresReporte = std::array<QString, kCamposReporte>; // row part unused

// The name of a value as definitions write it; empty for an unknown index.
QString NombreCampo(CampoReporte c);
// -1 when no value has that name (compared without regard to case).
int IndiceCampo(const QString& nombre);

// A text with values between braces, read once and filled per row or page.
class Plantilla {
public:
    Plantilla() = default;
    // False, with the reason in `error`, for an unknown value or an open brace.
    bool lee(const QString& texto, QString& error);
    QString texto(const ValoresReporte& reporte, const ValoresFila* fila = nullptr) const;
    // True when the text names some value of a row.
    bool usaFila() const;
    // True when the text names an amount, a code, a count or a date: a
    // part of one is a wrong value, so such a text is never cut.
    bool usaCifras() const;
    bool vacia() const { return partes_.isEmpty(); }

private:
    struct Parte {
        QString literal;
        int campo = -1; // -1: the literal
    };
    QVector<Parte> partes_;
};
