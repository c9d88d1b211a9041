#include "demo/CatalogoDemo.h"

#include "demo/BaseDemo.h"

#include <QRandomGenerator>
#include <cmath>

namespace {

enum class Venta { Envasado, PorKilo, PorUnidad };

struct Medida {
    QString texto;
    double factor;
};

// One line of the catalogue: every product in every size of every brand.
struct Linea {
    QString familia;
    Venta venta;
    double precioBase;
    QStringList productos;
    QList<Medida> medidas;
    QStringList marcas; // IdTipo of V_TA_TIPOARTICULO
};

QStringList lista(std::initializer_list<const char*> textos) {
    QStringList l;
    for (const char* t : textos) {
        l << QString::fromUtf8(t);
    }
    return l;
}

QList<Medida> medidas(std::initializer_list<std::pair<const char*, double>> m) {
    QList<Medida> l;
    for (const auto& [texto, factor] : m) {
        l << Medida{QString::fromUtf8(texto), factor};
    }
    return l;
}

const QList<Medida> kSinMedida = {Medida{QString(), 1.0}};

std::vector<Linea> catalogo() {
    const auto L = [](const char* familia, Venta v, double precio, QStringList productos,
                      QList<Medida> m, QStringList marcas) {
        return Linea{QString::fromLatin1(familia), v, precio, productos, m, marcas};
    };
    const auto E = Venta::Envasado;
    const auto K = Venta::PorKilo;
    const auto U = Venta::PorUnidad;
    return {
        L("010101", E, 2450,
          lista({"ACEITE DE GIRASOL", "ACEITE DE MAÍZ", "ACEITE DE OLIVA EXTRA VIRGEN",
                 "ACEITE MEZCLA"}),
          medidas({{"X 900 ML", 1.0}, {"X 1,5 L", 1.55}}), lista({"1", "2"})),
        L("010102", E, 980,
          lista({"VINAGRE DE ALCOHOL", "VINAGRE DE MANZANA", "MAYONESA", "MOSTAZA", "KÉTCHUP"}),
          medidas({{"X 250 G", 1.0}, {"X 500 G", 1.75}}), lista({"11", "6"})),
        L("010201", E, 890,
          lista({"HARINA DE TRIGO 000", "HARINA DE TRIGO 0000", "HARINA LEUDANTE",
                 "HARINA DE MAÍZ (POLENTA)"}),
          medidas({{"X 1 KG", 1.0}}), lista({"5", "4"})),
        L("010202", E, 1150,
          lista({"FIDEOS SPAGHETTI", "FIDEOS TIRABUZÓN", "FIDEOS MOSTACHOL", "FIDEOS CODITOS",
                 "FIDEOS CABELLO DE ÁNGEL", "ÑOQUIS DE PAPA"}),
          medidas({{"X 500 G", 1.0}}), lista({"5", "2"})),
        L("0103", E, 1320,
          lista({"ARVEJAS EN LATA", "CHOCLO CREMOSO", "DURAZNOS EN ALMÍBAR", "TOMATE PERITA",
                 "ATÚN AL NATURAL", "CABALLA EN ACEITE"}),
          medidas({{"X 350 G", 1.0}}), lista({"11", "8"})),
        L("010401", E, 3900, lista({"CAFÉ MOLIDO", "CAFÉ EN GRANOS", "CAFÉ INSTANTÁNEO"}),
          medidas({{"X 250 G", 1.0}, {"X 500 G", 1.9}}), lista({"3"})),
        L("010402", E, 2100,
          lista({"YERBA MATE CON PALO X 1 KG", "YERBA MATE SIN PALO X 500 G",
                 "YERBA MATE SUAVE X 1 KG", "TÉ NEGRO X 25 SAQUITOS",
                 "TÉ DE MANZANILLA X 25 SAQUITOS", "MATE COCIDO X 50 SAQUITOS"}),
          kSinMedida, lista({"7", "4"})),
        L("0105", E, 1050,
          lista({"AZÚCAR COMÚN TIPO A X 1 KG", "AZÚCAR IMPALPABLE X 250 G",
                 "EDULCORANTE LÍQUIDO X 200 ML", "EDULCORANTE EN SOBRES X 50"}),
          kSinMedida, lista({"4"})),
        L("0201", E, 1100,
          lista({"LECHE ENTERA", "LECHE DESCREMADA", "LECHE CHOCOLATADA", "LECHE DESLACTOSADA"}),
          medidas({{"SACHET X 1 L", 1.0}, {"LARGA VIDA X 1 L", 1.3}}), lista({"1", "9"})),
        L("020201", K, 9800,
          lista({"QUESO RALLAR REGGIANITO", "QUESO SARDO", "QUESO PROVOLONE", "QUESO SBRINZ"}),
          kSinMedida, lista({"9", "1"})),
        L("020201", E, 1900, lista({"QUESO RALLADO X 150 G", "QUESO RALLADO X 40 G"}), kSinMedida,
          lista({"1"})),
        L("020202", K, 7400,
          lista({"QUESO CREMOSO", "QUESO PORT SALUT", "QUESO MOZZARELLA", "QUESO DE MÁQUINA"}),
          kSinMedida, lista({"9", "4"})),
        L("020202", E, 2300, lista({"QUESO UNTABLE X 290 G", "QUESO UNTABLE LIGHT X 290 G"}),
          kSinMedida, lista({"1"})),
        L("0203", E, 1250,
          lista({"YOGUR BEBIBLE FRUTILLA X 1 L", "YOGUR BEBIBLE VAINILLA X 1 L",
                 "YOGUR FIRME NATURAL X 190 G", "FLAN DE VAINILLA X 2 U",
                 "DULCE DE LECHE CLÁSICO X 400 G", "DULCE DE LECHE REPOSTERO X 1 KG"}),
          kSinMedida, lista({"1", "9"})),
        L("0301", K, 8600,
          lista({"JAMÓN COCIDO NATURAL", "JAMÓN COCIDO FETEADO", "PALETA COCIDA",
                 "MORTADELA CON PISTACHO", "LOMITO AHUMADO", "PECHUGA DE PAVO"}),
          kSinMedida, lista({"2", "3"})),
        L("0302", K, 14500,
          lista({"SALAME MILÁN", "SALAMÍN PICADO GRUESO", "JAMÓN CRUDO", "BONDIOLA"}), kSinMedida,
          lista({"2", "3"})),
        L("0401", K, 7900,
          lista({"ASADO DE TIRA", "VACÍO", "MATAMBRE", "NALGA", "CUADRADA", "PECETO",
                 "CARNE PICADA COMÚN", "CARNE PICADA ESPECIAL", "BIFE DE CHORIZO", "OSOBUCO"}),
          kSinMedida, lista({"12"})),
        L("0402", K, 6200,
          lista({"BONDIOLA DE CERDO", "CARRÉ DE CERDO", "PECHITO DE CERDO", "CHORIZO PARRILLERO",
                 "MORCILLA"}),
          kSinMedida, lista({"12"})),
        L("0403", K, 3900,
          lista({"POLLO ENTERO", "PECHUGA DE POLLO", "PATA Y MUSLO", "ALITAS DE POLLO",
                 "MILANESAS DE POLLO"}),
          kSinMedida, lista({"12"})),
        L("0501", K, 1800,
          lista({"MANZANA ROJA", "MANZANA VERDE", "PERA WILLIAMS", "BANANA ECUADOR",
                 "NARANJA DE JUGO", "MANDARINA", "LIMÓN", "FRUTILLA", "DURAZNO", "UVA BLANCA"}),
          kSinMedida, lista({"12"})),
        L("0501", U, 2400, lista({"ANANÁ", "MELÓN", "SANDÍA"}), kSinMedida, lista({"12"})),
        L("0502", K, 1200,
          lista({"PAPA BLANCA", "PAPA NEGRA", "BATATA", "CEBOLLA", "TOMATE REDONDO", "ZANAHORIA",
                 "ZAPALLO ANCO", "MORRÓN ROJO", "BERENJENA", "ZAPALLITO"}),
          kSinMedida, lista({"12"})),
        L("0502", U, 900,
          lista({"LECHUGA CRIOLLA", "ACELGA (ATADO)", "ESPINACA (ATADO)", "PEREJIL (ATADO)",
                 "CHOCLO"}),
          kSinMedida, lista({"12"})),
        L("0601", E, 850,
          lista({"GASEOSA COLA", "GASEOSA LIMA LIMÓN", "GASEOSA NARANJA", "GASEOSA POMELO",
                 "AGUA TÓNICA"}),
          medidas({{"X 500 ML", 1.0}, {"X 1,5 L", 1.8}, {"X 2,25 L", 2.4}}), lista({"6", "8"})),
        L("0602", E, 650,
          lista({"AGUA MINERAL SIN GAS", "AGUA MINERAL CON GAS", "AGUA SABORIZADA POMELO",
                 "AGUA SABORIZADA MANZANA"}),
          medidas({{"X 500 ML", 1.0}, {"X 2 L", 2.0}}), lista({"8"})),
        L("0603", E, 3200,
          lista({"VINO TINTO MALBEC", "VINO TINTO CABERNET", "VINO BLANCO TORRONTÉS", "VINO ROSADO",
                 "ESPUMANTE EXTRA BRUT"}),
          medidas({{"X 750 ML", 1.0}}), lista({"11", "8", "4"})),
        L("0701", E, 1400,
          lista({"DETERGENTE LIMÓN", "DETERGENTE CONCENTRADO", "JABÓN LÍQUIDO PARA ROPA",
                 "SUAVIZANTE PARA ROPA"}),
          medidas({{"X 500 ML", 1.0}, {"X 1,5 L", 2.6}}), lista({"6", "7"})),
        L("0702", E, 750,
          lista({"LAVANDINA", "LAVANDINA EN GEL", "LIMPIADOR DESINFECTANTE", "LIMPIAVIDRIOS"}),
          medidas({{"X 1 L", 1.0}, {"X 2 L", 1.8}}), lista({"6"})),
        L("0801", K, 2600,
          lista({"PAN FRANCÉS", "PAN DE MIGA", "PAN DE CAMPO", "FIGAZA DE MANTECA", "GRISINES"}),
          kSinMedida, lista({"10"})),
        L("0801", U, 4200, lista({"PAN DULCE CON FRUTAS", "BUDÍN MARMOLADO", "PREPIZZA"}),
          kSinMedida, lista({"10"})),
        L("0801", E, 2100,
          lista({"PAN LACTAL BLANCO X 560 G", "PAN LACTAL INTEGRAL X 560 G", "TOSTADAS X 200 G"}),
          kSinMedida, lista({"11", "4"})),
        L("0802", K, 5200,
          lista({"MEDIALUNAS DE MANTECA", "MEDIALUNAS DE GRASA", "FACTURAS SURTIDAS",
                 "BIZCOCHITOS DE GRASA"}),
          kSinMedida, lista({"10"})),
        L("0802", U, 3800, lista({"TORTA GALESA", "PASTAFROLA"}), kSinMedida, lista({"10"})),
    };
}

int digitoEan(const QString& digitos) {
    // Weights 1,3,1,3... from the left for EAN-13 (12 digits), 3,1,3... for EAN-8 (7 digits).
    int suma = 0;
    const bool ean8 = digitos.size() == 7;
    for (int i = 0; i < digitos.size(); ++i) {
        const int d = digitos.at(i).digitValue();
        const bool triple = ean8 ? (i % 2 == 0) : (i % 2 == 1);
        suma += triple ? 3 * d : d;
    }
    return (10 - suma % 10) % 10;
}

} // namespace

const QList<TipoDemo>& CatalogoDemo::tipos() {
    static const QList<TipoDemo> t = {
        {QStringLiteral("1"), QStringLiteral("LA PRADERA")},
        {QStringLiteral("2"), QStringLiteral("D'ANGELO")},
        {QStringLiteral("3"), QStringLiteral("DON TOMÁS")},
        {QStringLiteral("4"), QStringLiteral("SAN JOSÉ")},
        {QStringLiteral("5"), QStringLiteral("EL MOLINERO")},
        {QStringLiteral("6"), QStringLiteral("CAMPO AZUL")},
        {QStringLiteral("7"), QStringLiteral("ÑANDÚ")},
        {QStringLiteral("8"), QStringLiteral("LOS ÁLAMOS")},
        {QStringLiteral("9"), QStringLiteral("COOPERATIVA LÁCTEA DEL SUR")},
        {QStringLiteral("10"), QStringLiteral("MARCA PROPIA")},
        {QStringLiteral("11"), QStringLiteral("DEL VALLE")},
        {QStringLiteral("12"), QStringLiteral("SIN MARCA")},
    };
    return t;
}

QString CatalogoDemo::nombreTipo(const QString& id) {
    for (const TipoDemo& t : tipos()) {
        if (t.id == id) {
            return t.descripcion;
        }
    }
    return QString();
}

const QList<FamiliaDemo>& CatalogoDemo::familias() {
    static const QList<FamiliaDemo> f = {
        {QStringLiteral("01"), QStringLiteral("ALMACÉN"), 30},
        {QStringLiteral("0101"), QStringLiteral("ACEITES Y ADEREZOS"), 28},
        {QStringLiteral("010101"), QStringLiteral("ACEITES"), 25},
        {QStringLiteral("010102"), QStringLiteral("VINAGRES Y ADEREZOS"), 32},
        {QStringLiteral("0102"), QStringLiteral("HARINAS Y PASTAS"), 30},
        {QStringLiteral("010201"), QStringLiteral("HARINAS"), 22},
        {QStringLiteral("010202"), QStringLiteral("FIDEOS SECOS"), 35},
        {QStringLiteral("0103"), QStringLiteral("CONSERVAS"), 33},
        {QStringLiteral("0104"), QStringLiteral("INFUSIONES"), 30},
        {QStringLiteral("010401"), QStringLiteral("CAFÉ"), 35},
        {QStringLiteral("010402"), QStringLiteral("YERBA Y TÉ"), 27},
        {QStringLiteral("0105"), QStringLiteral("AZÚCAR Y ENDULZANTES"), 20},
        {QStringLiteral("02"), QStringLiteral("LÁCTEOS"), 25},
        {QStringLiteral("0201"), QStringLiteral("LECHES"), 18},
        {QStringLiteral("0202"), QStringLiteral("QUESOS"), 30},
        {QStringLiteral("020201"), QStringLiteral("QUESOS DUROS"), 32},
        {QStringLiteral("020202"), QStringLiteral("QUESOS BLANDOS"), 30},
        {QStringLiteral("0203"), QStringLiteral("YOGURES Y POSTRES"), 28},
        {QStringLiteral("03"), QStringLiteral("FIAMBRERÍA"), 35},
        {QStringLiteral("0301"), QStringLiteral("FIAMBRES COCIDOS"), 35},
        {QStringLiteral("0302"), QStringLiteral("EMBUTIDOS SECOS"), 38},
        {QStringLiteral("04"), QStringLiteral("CARNICERÍA"), 25},
        {QStringLiteral("0401"), QStringLiteral("VACUNO"), 25},
        {QStringLiteral("0402"), QStringLiteral("CERDO"), 25},
        {QStringLiteral("0403"), QStringLiteral("POLLO"), 22},
        {QStringLiteral("05"), QStringLiteral("FRUTAS Y VERDURAS"), 40},
        {QStringLiteral("0501"), QStringLiteral("FRUTAS"), 40},
        {QStringLiteral("0502"), QStringLiteral("VERDURAS"), 40},
        {QStringLiteral("06"), QStringLiteral("BEBIDAS"), 30},
        {QStringLiteral("0601"), QStringLiteral("GASEOSAS"), 30},
        {QStringLiteral("0602"), QStringLiteral("AGUAS"), 35},
        {QStringLiteral("0603"), QStringLiteral("VINOS"), 40},
        {QStringLiteral("07"), QStringLiteral("LIMPIEZA"), 30},
        {QStringLiteral("0701"), QStringLiteral("DETERGENTES"), 30},
        {QStringLiteral("0702"), QStringLiteral("LAVANDINAS"), 28},
        {QStringLiteral("08"), QStringLiteral("PANADERÍA"), 45},
        {QStringLiteral("0801"), QStringLiteral("PAN"), 45},
        {QStringLiteral("0802"), QStringLiteral("FACTURAS"), 50},
    };
    return f;
}

QString CatalogoDemo::ean(const QString& digitos) {
    return digitos + QString::number(digitoEan(digitos));
}

double CatalogoDemo::redondea(double x) {
    return std::round(x * 10.0) / 10.0;
}

std::vector<ArticuloDemo> CatalogoDemo::articulos() {
    std::vector<ArticuloDemo> salida;
    QRandomGenerator azar(20261210);
    int siguientePesable = 1001;
    int siguienteEnvasado = 10001;
    int serieBarras = 100;
    int envasados = 0;
    for (const Linea& l : catalogo()) {
        const QString rubro = l.familia.left(2);
        const bool ivaReducido = rubro == QLatin1String("04") || rubro == QLatin1String("05") ||
                                 rubro == QLatin1String("08");
        for (int p = 0; p < l.productos.size(); ++p) {
            for (const Medida& m : l.medidas) {
                for (int b = 0; b < l.marcas.size(); ++b) {
                    ArticuloDemo a;
                    const QString marca = l.marcas.at(b);
                    const bool conNombreMarca =
                        marca != QLatin1String("10") && marca != QLatin1String("12");
                    QStringList partes{l.productos.at(p)};
                    if (conNombreMarca) {
                        partes << CatalogoDemo::nombreTipo(marca);
                    }
                    if (!m.texto.isEmpty()) {
                        partes << m.texto;
                    }
                    a.descripcion = partes.join(QLatin1Char(' '));
                    a.pesable = l.venta != Venta::Envasado;
                    a.codigo = QStringLiteral("%1").arg(a.pesable ? siguientePesable++
                                                                  : siguienteEnvasado++,
                                                        6, 10, QLatin1Char('0'));
                    a.abrev = a.descripcion.left(30).trimmed();
                    a.tipo = marca;
                    a.rubro = rubro;
                    a.familia = l.familia;
                    a.unidad =
                        l.venta == Venta::PorKilo ? BaseDemo::kUnidadKg : QStringLiteral("UN");
                    a.iva = ivaReducido ? QStringLiteral("10.5") : QStringLiteral("21");
                    const double marcaFactor = b == 0 ? 1.0 : (b == 1 ? 0.92 : 1.1);
                    a.precio = CatalogoDemo::redondea(l.precioBase * m.factor * marcaFactor *
                                                      (1 + 0.07 * (p % 4)));
                    a.stock = azar.bounded(0, 400);
                    a.puntoPedido = azar.bounded(3) == 0 ? 0 : azar.bounded(10, 60);
                    if (a.pesable) {
                        // Weighed goods carry no printed code, except one sold by the unit.
                        a.codigoBarra = l.venta == Venta::PorUnidad && p == 0
                                            ? QVariant(ean(QStringLiteral("20") + a.codigo +
                                                           QStringLiteral("0000")))
                                            : QVariant();
                    } else {
                        ++envasados;
                        if (envasados % 8 == 0) {
                            a.codigoBarra = QStringLiteral(""); // code never loaded
                        } else if (envasados == 13) {
                            // A short EAN-8 code.
                            a.codigoBarra = ean(QStringLiteral("779") +
                                                QStringLiteral("%1").arg(serieBarras++ % 10000, 4,
                                                                         10, QLatin1Char('0')));
                        } else {
                            a.codigoBarra = ean(
                                QStringLiteral("779") +
                                QStringLiteral("%1").arg(serieBarras++, 9, 10, QLatin1Char('0')));
                        }
                    }
                    if (envasados % 9 == 4 && !a.pesable) {
                        a.abrev.clear(); // no short description: the long one is used
                    }
                    salida.push_back(a);
                }
            }
        }
    }
    return salida;
}
