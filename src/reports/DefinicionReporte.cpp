#include "reports/DefinicionReporte.h"

#include <cmath>

#include "reports/ErroresReporte.h"
#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString kFuente = QStringLiteral("QlReport");

[[noreturn]] void falla(const QString& archivo, int linea, const QString& motivo) {
    throw FalloKX(ErroresReporte::kDefinicionInvalida,
                  linea > 0 ? QStringLiteral("El reporte %1 tiene un error en la línea %2: %3")
                                  .arg(QDir::toNativeSeparators(archivo))
                                  .arg(linea)
                                  .arg(motivo)
                            : QStringLiteral("El reporte %1 no es válido: %2")
                                  .arg(QDir::toNativeSeparators(archivo), motivo),
                  kFuente);
}

// Reads the lines of one file, remembering the line of every error.
class Lector {
public:
    Lector(DefinicionReporte& d, const QString& archivo) : d_(d), archivo_(archivo) {}

    void linea(int numero, const QString& texto) {
        numero_ = numero;
        const QString t = texto.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char('#')) || t.startsWith(QLatin1Char(';'))) {
            return;
        }
        if (t.startsWith(QLatin1Char('['))) {
            if (!t.endsWith(QLatin1Char(']'))) {
                error(QStringLiteral("falta el corchete de cierre de la sección"));
            }
            seccion_ = t.mid(1, t.size() - 2).trimmed().toLower();
            static const QStringList conocidas = {
                QStringLiteral("reporte"),    QStringLiteral("pagina"),  QStringLiteral("fuentes"),
                QStringLiteral("encabezado"), QStringLiteral("detalle"), QStringLiteral("totales"),
                QStringLiteral("pie"),        QStringLiteral("etiqueta")};
            if (!conocidas.contains(seccion_)) {
                error(QStringLiteral("sección desconocida [%1]").arg(seccion_));
            }
            return;
        }
        const int igual = t.indexOf(QLatin1Char('='));
        if (igual <= 0) {
            error(QStringLiteral("se esperaba \"clave = valor\""));
        }
        if (seccion_.isEmpty()) {
            error(QStringLiteral("la línea está fuera de toda sección"));
        }
        clave(t.left(igual).trimmed().toLower(), t.mid(igual + 1).trimmed());
    }

    [[noreturn]] void error(const QString& motivo) const { falla(archivo_, numero_, motivo); }

private:
    DefinicionReporte& d_;
    QString archivo_;
    QString seccion_;
    int numero_ = 0;

    double numero(const QString& t) const {
        bool ok = false;
        const double v = t.toDouble(&ok);
        // Nothing on paper measures ten metres: a larger figure (or "inf")
        // is a slip that arithmetic on it must never meet.
        if (!ok || !std::isfinite(v) || v < 0 || v > 10000) {
            error(QStringLiteral("\"%1\" no es una medida (milímetros, con punto decimal)").arg(t));
        }
        return v;
    }

    int entero(const QString& t, int minimo) const {
        bool ok = false;
        const int v = t.toInt(&ok);
        if (!ok || v < minimo || v > 10000) {
            error(QStringLiteral("\"%1\" no es un número entero entre %2 y 10000")
                      .arg(t)
                      .arg(minimo));
        }
        return v;
    }

    QStringList palabras(const QString& t) const {
        return t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }

    Qt::Alignment alineacion(const QString& t) const {
        const QString a = t.toLower();
        if (a == QLatin1String("izquierda")) {
            return Qt::AlignLeft | Qt::AlignVCenter;
        }
        if (a == QLatin1String("centro")) {
            return Qt::AlignHCenter | Qt::AlignVCenter;
        }
        if (a == QLatin1String("derecha")) {
            return Qt::AlignRight | Qt::AlignVCenter;
        }
        error(QStringLiteral("alineación \"%1\" desconocida (izquierda, centro o derecha)").arg(t));
    }

    QString fuente(const QString& t) const {
        if (!d_.fuentes.contains(t.toLower())) {
            error(QStringLiteral("la fuente \"%1\" no está en [fuentes]").arg(t));
        }
        return t.toLower();
    }

    Plantilla plantilla(const QString& t) const {
        Plantilla p;
        QString motivo;
        if (!p.lee(t, motivo)) {
            error(motivo);
        }
        return p;
    }

    // "x y ancho alto fuente alineacion [ajuste] | plantilla" and the like.
    ElementoReporte elemento(const QString& tipo, const QString& valor) const {
        ElementoReporte e;
        const int barra = valor.indexOf(QLatin1Char('|'));
        const QStringList p = palabras(barra < 0 ? valor : valor.left(barra));
        if (tipo == QLatin1String("linea")) {
            if (p.size() < 4 || p.size() > 5) {
                error(QStringLiteral("una línea es \"x1 y1 x2 y2 [grosor]\""));
            }
            e.tipo = ElementoReporte::Tipo::Linea;
            e.caja =
                QRectF(QPointF(numero(p[0]), numero(p[1])), QPointF(numero(p[2]), numero(p[3])));
            if (p.size() == 5) {
                e.grosor = numero(p[4]);
            }
            return e;
        }
        if (barra < 0) {
            error(QStringLiteral("falta \"| texto\" después de la posición"));
        }
        e.plantilla = plantilla(valor.mid(barra + 1).trimmed());
        if (tipo == QLatin1String("barras")) {
            if (p.size() != 5) {
                error(QStringLiteral("un código de barras es \"x y ancho alto fuente | texto\" "
                                     "(fuente - para no escribir el texto)"));
            }
            e.tipo = ElementoReporte::Tipo::Barras;
            if (p[4] != QLatin1String("-")) {
                e.fuente = fuente(p[4]);
            }
        } else {
            if (p.size() < 6 || p.size() > 7) {
                error(QStringLiteral(
                    "un texto es \"x y ancho alto fuente alineación [ajuste] | texto\""));
            }
            e.fuente = fuente(p[4]);
            e.alineacion = alineacion(p[5]);
            if (p.size() == 7) {
                if (p[6].compare(QLatin1String("ajuste"), Qt::CaseInsensitive) != 0) {
                    error(QStringLiteral("se esperaba \"ajuste\" y no \"%1\"").arg(p[6]));
                }
                e.ajuste = true;
                e.alineacion = (e.alineacion & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
            }
        }
        e.caja = QRectF(numero(p[0]), numero(p[1]), numero(p[2]), numero(p[3]));
        if (e.caja.width() <= 0 || e.caja.height() <= 0) {
            error(QStringLiteral("el ancho y el alto deben ser mayores que cero"));
        }
        return e;
    }

    QVector<ElementoReporte>* banda() {
        if (seccion_ == QLatin1String("encabezado")) {
            return &d_.encabezado;
        }
        if (seccion_ == QLatin1String("totales")) {
            return &d_.totales;
        }
        if (seccion_ == QLatin1String("pie")) {
            return &d_.pie;
        }
        if (seccion_ == QLatin1String("etiqueta")) {
            return &d_.etiqueta;
        }
        return nullptr;
    }

    double* altoBanda() {
        if (seccion_ == QLatin1String("encabezado")) {
            return &d_.altoEncabezado;
        }
        if (seccion_ == QLatin1String("totales")) {
            return &d_.altoTotales;
        }
        if (seccion_ == QLatin1String("pie")) {
            return &d_.altoPie;
        }
        return nullptr;
    }

    void clave(const QString& k, const QString& v) {
        if (seccion_ == QLatin1String("reporte")) {
            claveReporte(k, v);
        } else if (seccion_ == QLatin1String("pagina")) {
            clavePagina(k, v);
        } else if (seccion_ == QLatin1String("fuentes")) {
            claveFuente(k, v);
        } else if (seccion_ == QLatin1String("detalle")) {
            claveDetalle(k, v);
        } else if (seccion_ == QLatin1String("etiqueta")) {
            claveEtiqueta(k, v);
        } else {
            claveBanda(k, v);
        }
    }

    void claveReporte(const QString& k, const QString& v) {
        if (k == QLatin1String("tipo")) {
            if (v.compare(QLatin1String("listado"), Qt::CaseInsensitive) == 0) {
                d_.tipo = DefinicionReporte::Tipo::Listado;
            } else if (v.compare(QLatin1String("etiquetas"), Qt::CaseInsensitive) == 0) {
                d_.tipo = DefinicionReporte::Tipo::Etiquetas;
            } else {
                error(QStringLiteral("tipo \"%1\" desconocido (listado o etiquetas)").arg(v));
            }
            tipoLeido = true;
        } else if (k == QLatin1String("titulo")) {
            d_.titulo = v;
        } else if (k == QLatin1String("separador_decimal")) {
            if (v.size() != 1) {
                error(QStringLiteral("el separador decimal es un solo carácter"));
            }
            d_.separadorDecimal = v;
        } else if (k == QLatin1String("decimales")) {
            d_.decimales = entero(v, 0);
            if (d_.decimales > 4) {
                error(QStringLiteral("a lo sumo 4 decimales"));
            }
        } else if (k == QLatin1String("variacion_maxima")) {
            d_.limiteVariacion = numero(v);
        } else {
            desconocida(k);
        }
    }

    void clavePagina(const QString& k, const QString& v) {
        if (k == QLatin1String("tamano")) {
            d_.tamano = tamano(v);
        } else if (k == QLatin1String("orientacion")) {
            if (v.compare(QLatin1String("vertical"), Qt::CaseInsensitive) == 0) {
                d_.orientacion = QPageLayout::Portrait;
            } else if (v.compare(QLatin1String("horizontal"), Qt::CaseInsensitive) == 0) {
                d_.orientacion = QPageLayout::Landscape;
            } else {
                error(QStringLiteral("orientación \"%1\" desconocida (vertical u horizontal)")
                          .arg(v));
            }
        } else if (k == QLatin1String("margenes")) {
            const QStringList p = palabras(v);
            if (p.size() != 4) {
                error(QStringLiteral("los márgenes son \"superior derecho inferior izquierdo\""));
            }
            d_.margenes = QMarginsF(numero(p[3]), numero(p[0]), numero(p[1]), numero(p[2]));
        } else {
            desconocida(k);
        }
    }

    QPageSize tamano(const QString& v) const {
        static const QHash<QString, QPageSize::PageSizeId> nombres = {
            {QStringLiteral("a3"), QPageSize::A3},
            {QStringLiteral("a4"), QPageSize::A4},
            {QStringLiteral("a5"), QPageSize::A5},
            {QStringLiteral("carta"), QPageSize::Letter},
            {QStringLiteral("letter"), QPageSize::Letter},
            {QStringLiteral("oficio"), QPageSize::Legal},
            {QStringLiteral("legal"), QPageSize::Legal}};
        const auto it = nombres.find(v.toLower());
        if (it != nombres.end()) {
            return QPageSize(*it);
        }
        const QStringList p = v.toLower().split(QLatin1Char('x'));
        if (p.size() == 2) {
            const double ancho = numero(p[0].trimmed());
            const double alto = numero(p[1].trimmed());
            if (ancho >= 20 && alto >= 20) {
                return QPageSize(QSizeF(ancho, alto), QPageSize::Millimeter, QString(),
                                 QPageSize::ExactMatch);
            }
        }
        error(QStringLiteral("tamaño de página \"%1\" desconocido (A3, A4, A5, Carta, Oficio o "
                             "ANCHOxALTO en milímetros, 20 o más)")
                  .arg(v));
    }

    void claveFuente(const QString& k, const QString& v) {
        const QStringList p = v.split(QLatin1Char(';'));
        if (p.size() < 2) {
            error(QStringLiteral("una fuente es \"familia; puntos[; negrita][; cursiva]\""));
        }
        QFont f(p[0].trimmed());
        bool ok = false;
        const double puntos = p[1].trimmed().toDouble(&ok);
        if (!ok || puntos < 2 || puntos > 200) {
            error(QStringLiteral("\"%1\" no es un tamaño de fuente en puntos (2 a 200)")
                      .arg(p[1].trimmed()));
        }
        f.setPointSizeF(puntos);
        for (int i = 2; i < p.size(); ++i) {
            const QString estilo = p[i].trimmed().toLower();
            if (estilo == QLatin1String("negrita")) {
                f.setBold(true);
            } else if (estilo == QLatin1String("cursiva")) {
                f.setItalic(true);
            } else if (!estilo.isEmpty()) {
                error(QStringLiteral("estilo \"%1\" desconocido (negrita o cursiva)").arg(estilo));
            }
        }
        d_.fuentes.insert(k, f);
    }

    void claveDetalle(const QString& k, const QString& v) {
        if (k == QLatin1String("alto")) {
            d_.altoFila = numero(v);
        } else if (k == QLatin1String("titulos_alto")) {
            d_.altoTitulos = numero(v);
        } else if (k == QLatin1String("titulos_fuente")) {
            d_.fuenteTitulos = fuente(v);
        } else if (k == QLatin1String("resaltado")) {
            d_.resaltado = QColor(v);
            if (!d_.resaltado.isValid()) {
                error(QStringLiteral("color \"%1\" desconocido (#RRGGBB)").arg(v));
            }
        } else if (k == QLatin1String("columna")) {
            const QStringList partes = v.split(QLatin1Char('|'));
            const QStringList p = palabras(partes[0]);
            if (partes.size() != 3 || p.size() != 4) {
                error(QStringLiteral(
                    "una columna es \"x ancho fuente alineación | título | texto\""));
            }
            ColumnaReporte c;
            c.x = numero(p[0]);
            c.ancho = numero(p[1]);
            c.fuente = fuente(p[2]);
            c.alineacion = alineacion(p[3]);
            c.titulo = partes[1].trimmed();
            c.plantilla = plantilla(partes[2].trimmed());
            d_.columnas.push_back(c);
        } else {
            desconocida(k);
        }
    }

    void claveEtiqueta(const QString& k, const QString& v) {
        if (k == QLatin1String("ancho")) {
            d_.anchoEtiqueta = numero(v);
        } else if (k == QLatin1String("alto")) {
            d_.altoEtiqueta = numero(v);
        } else if (k == QLatin1String("columnas")) {
            d_.columnasEtiquetas = entero(v, 1);
        } else if (k == QLatin1String("filas")) {
            d_.filasEtiquetas = entero(v, 1);
        } else if (k == QLatin1String("separacion")) {
            const QStringList p = palabras(v);
            if (p.size() != 2) {
                error(QStringLiteral("la separación es \"horizontal vertical\""));
            }
            d_.separacionH = numero(p[0]);
            d_.separacionV = numero(p[1]);
        } else if (k == QLatin1String("borde")) {
            d_.bordeEtiqueta = v.compare(QLatin1String("si"), Qt::CaseInsensitive) == 0 ||
                               v.compare(QLatin1String("sí"), Qt::CaseInsensitive) == 0;
        } else {
            claveBanda(k, v);
        }
    }

    void claveBanda(const QString& k, const QString& v) {
        if (k == QLatin1String("alto") && altoBanda()) {
            *altoBanda() = numero(v);
        } else if ((k == QLatin1String("texto") || k == QLatin1String("barras") ||
                    k == QLatin1String("linea")) &&
                   banda()) {
            banda()->push_back(elemento(k, v));
        } else {
            desconocida(k);
        }
    }

    [[noreturn]] void desconocida(const QString& k) const {
        error(QStringLiteral("clave \"%1\" desconocida en [%2]").arg(k, seccion_));
    }

public:
    bool tipoLeido = false;
};

// Limits of a label sheet: a label smaller than this cannot carry a price
// and its bar code, and no sheet holds more labels than this.
constexpr double kEtiquetaMinima = 5;
constexpr int kEtiquetasPorPagina = 1000;

void verifica(const DefinicionReporte& d, bool tipoLeido) {
    const auto mal = [&](const QString& motivo) { falla(d.archivo, 0, motivo); };
    if (!tipoLeido) {
        mal(QStringLiteral("falta \"tipo = listado\" o \"tipo = etiquetas\" en [reporte]"));
    }
    if (d.tipo == DefinicionReporte::Tipo::Listado) {
        if (d.columnas.isEmpty()) {
            mal(QStringLiteral("un listado necesita alguna \"columna\" en [detalle]"));
        }
        if (d.altoFila <= 0) {
            mal(QStringLiteral("el alto de la fila de [detalle] debe ser mayor que cero"));
        }
    }
    const QSizeF util = d.disposicion().paintRect(QPageLayout::Millimeter).size();
    if (util.width() < 5 || util.height() < 5) {
        mal(QStringLiteral("los márgenes dejan la página sin lugar (%1 x %2 mm útiles)")
                .arg(util.width(), 0, 'f', 1)
                .arg(util.height(), 0, 'f', 1));
    }
    if (d.tipo == DefinicionReporte::Tipo::Etiquetas) {
        if (d.anchoEtiqueta <= 0 || d.altoEtiqueta <= 0) {
            mal(QStringLiteral("[etiqueta] necesita \"ancho\" y \"alto\" mayores que cero"));
        }
        if (d.anchoEtiqueta < kEtiquetaMinima || d.altoEtiqueta < kEtiquetaMinima) {
            mal(QStringLiteral("una etiqueta de %1 x %2 mm es menor que el mínimo de 5 mm")
                    .arg(d.anchoEtiqueta)
                    .arg(d.altoEtiqueta));
        }
        if (d.anchoEtiqueta > util.width() || d.altoEtiqueta > util.height()) {
            mal(QStringLiteral(
                    "una etiqueta de %1 x %2 mm no cabe en la página (%3 x %4 mm útiles)")
                    .arg(d.anchoEtiqueta)
                    .arg(d.altoEtiqueta)
                    .arg(util.width(), 0, 'f', 1)
                    .arg(util.height(), 0, 'f', 1));
        }
        if (qint64(d.columnasEtiquetas) * d.filasEtiquetas > kEtiquetasPorPagina) {
            mal(QStringLiteral("%1 columnas por %2 filas superan las %3 etiquetas por página")
                    .arg(d.columnasEtiquetas)
                    .arg(d.filasEtiquetas)
                    .arg(kEtiquetasPorPagina));
        }
        if (d.etiqueta.isEmpty()) {
            mal(QStringLiteral("[etiqueta] no dibuja nada"));
        }
    }
}

} // namespace

DefinicionReporte DefinicionReporte::lee(const QString& archivo) {
    QFile f(archivo);
    if (!f.exists()) {
        throw FalloKX(
            ErroresReporte::kDefinicionFaltante,
            QStringLiteral("No se encuentra el reporte %1").arg(QDir::toNativeSeparators(archivo)),
            kFuente);
    }
    if (!f.open(QIODevice::ReadOnly)) {
        throw FalloKX(ErroresReporte::kDefinicionFaltante,
                      QStringLiteral("No se puede leer el reporte %1: %2")
                          .arg(QDir::toNativeSeparators(archivo), f.errorString()),
                      kFuente);
    }
    return deTexto(QString::fromUtf8(f.readAll()), archivo);
}

DefinicionReporte DefinicionReporte::deTexto(const QString& texto, const QString& archivo) {
    DefinicionReporte d;
    d.archivo = archivo;
    Lector l(d, archivo);
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    for (int i = 0; i < lineas.size(); ++i) {
        QString t = lineas[i];
        if (i == 0 && t.startsWith(QChar(0xFEFF))) {
            t.remove(0, 1);
        }
        l.linea(i + 1, t);
    }
    verifica(d, l.tipoLeido);
    return d;
}

QPageLayout DefinicionReporte::disposicion() const {
    return QPageLayout(tamano, orientacion, margenes, QPageLayout::Millimeter);
}

QFont DefinicionReporte::fuente(const QString& nombre) const {
    const auto it = fuentes.find(nombre.toLower());
    if (it != fuentes.end()) {
        return *it;
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(8);
    return f;
}
