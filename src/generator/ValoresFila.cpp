#include "generator/ValoresFila.h"

#include "generator/FormatoNovedad.h"

void ValoresFila::FormateaFila(const QString& ivaPorDefecto, bool letraCompleta) {
    if (!letraCompleta) {
        tipoMov = tipoMov.isEmpty() ? QStringLiteral("C") : tipoMov.mid(2, 1);
    }
    codigo = FormatoNovedad::CodInterno(codigo);
    descripcion = FormatoNovedad::Texto(descripcion, 30);
    marca = FormatoNovedad::Texto(marca, 15);
    precio = FormatoNovedad::ImporteTexto(precio);
    precio2 = FormatoNovedad::ImporteTexto(precio2);
    costo = FormatoNovedad::ImporteTexto(costo);
    tasaIva = FormatoNovedad::TipoIva(tasaIva, ivaPorDefecto);
    codBarra = FormatoNovedad::CodBarra(codBarra, codigo);
    rubro = FormatoNovedad::Rubro(rubro);
    pesable = FormatoNovedad::Pesable(pesable);
}

FilaNovedad ValoresFila::Fila() const {
    static const QString blanco = QStringLiteral(" ");
    static const QString cero = QStringLiteral("0");
    static const QString uno = QStringLiteral("1");
    FilaNovedad f;
    f[FilaNovedad::TipoMov] = tipoMov;
    f[FilaNovedad::CodInterno] = codigo;
    f[FilaNovedad::Descripcion] = descripcion;
    f[FilaNovedad::Marca] = marca;
    f[FilaNovedad::PrecioVenta] = precio;
    f[FilaNovedad::Precio] = precio2;
    f[FilaNovedad::Internos] = internos;
    f[FilaNovedad::PrecioCosto] = costo;
    f[FilaNovedad::CondIva] = condIva;
    f[FilaNovedad::TipoIva] = tasaIva;
    f[FilaNovedad::Fijo] = fijo;
    f[FilaNovedad::CodBarra] = codBarra;
    f[FilaNovedad::Tipo] = pesable == uno ? FilaNovedad::kPesable : blanco;
    f[FilaNovedad::Rubro] = rubro;
    f[FilaNovedad::Aux1] = aux1;
    f[FilaNovedad::Aux2] = aux2;
    f[FilaNovedad::Id] = id;
    f[FilaNovedad::NoMarcar] = noMarcar ? uno : cero;
    return f;
}
