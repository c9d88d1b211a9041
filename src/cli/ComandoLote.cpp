#include "cli/ComandoLote.h"

#include "cli/Argumentos.h"
#include "cli/OperadorLote.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/LoteNovedades.h"
#include "generator/ReglasLote.h"
#include "generator/VerificadorLote.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "generator_sql/TestigoQlReport.h"
#include "progress/Dll_Display.h"
#include "reports/ImpresoraPdf.h"
#include "runtime/IniciaAplicacion.h"
#include "runtime/LineaComando.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Plural.h"
#include "utility_library/QlReport.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <memory>
#include <optional>

namespace {

struct Rango {
    QString tipo; // "Articulo" or "Familia"
    QString desde, hasta;
};

struct Opciones {
    QString linea;
    QMap<QString, QString> valores;
    QList<Rango> rangos;
    bool marcar = false;
    bool estricto = false;
    bool aceptaAlertas = false;
    bool sinRecuperar = false;
    bool ayuda = false;
};

// The command's words through the one reader of tarvelo-lote. False (after
// saying why) on anything it does not take.
bool leeOpciones(const QStringList& args, const QString& comando, const QStringList& conValor,
                 Opciones& o, QTextStream& err) {
    const bool generar = comando == QLatin1String("generar");
    FormaComando forma;
    forma.nombre = comando;
    forma.conValor = conValor;
    if (generar) {
        forma.banderas = {QStringLiteral("marcar"), QStringLiteral("estricto"),
                          QStringLiteral("acepta-alertas"), QStringLiteral("sin-recuperar")};
        forma.repetibles = {QStringLiteral("articulos"), QStringLiteral("familias")};
    }
    forma.faltaPosicional =
        QStringLiteral("Falta la linea de comandos de la suite (\"@server=...; @dbname=...\")");
    Argumentos a;
    if (!LeeArgumentos(args, forma, a, err)) {
        return false;
    }
    o.ayuda = a.ayuda;
    o.linea = a.posicional;
    o.valores = a.valores;
    o.marcar = a.bandera("marcar");
    o.estricto = a.bandera("estricto");
    o.aceptaAlertas = a.bandera("acepta-alertas");
    o.sinRecuperar = a.bandera("sin-recuperar");
    for (const auto& [opcion, r] : std::as_const(a.repetidos)) {
        if (!r.contains(QLatin1Char(':'))) {
            err << "--" << opcion << " necesita un rango DESDE:HASTA" << Qt::endl
                << "Vea tarvelo-lote " << comando << " --help" << Qt::endl;
            return false;
        }
        const auto dos = r.indexOf(QLatin1Char(':'));
        o.rangos << Rango{opcion == QLatin1String("articulos") ? QStringLiteral("Articulo")
                                                               : QStringLiteral("Familia"),
                          r.left(dos), r.mid(dos + 1)};
    }
    return true;
}

// Start-up with nobody to ask: missing connection data is an error. Kept in
// one place so that the way the command starts can change on its own.
int inicia(const QString& linea, QTextStream& err) {
    const int r = IniciaAplicacion(linea, ModoInicio::SinDialogo);
    if (r != CodigoInicio::Correcto) {
        err << MensajeInicio() << Qt::endl;
        return r == CodigoInicio::DatosIncompletos ? CodigoLote::Invalido : CodigoLote::Abandonado;
    }
    return CodigoLote::Generado;
}

// --testigo-pdf: the witness question is answered Yes and the witness goes
// to that PDF file.
class TestigoEnPdf {
public:
    TestigoEnPdf(const std::optional<QString>& archivo, EstadoVentana& ventana, LoteNovedades& lote,
                 OperadorLote& op)
        : testigo_(ventana) {
        if (!archivo) {
            return;
        }
        pdf_ = std::make_unique<ImpresoraPdf>(*archivo);
        QlReport::fijaImpresora(pdf_.get());
        lote.fijaImpresor(&testigo_);
        op.aceptaTestigo(true);
    }
    ~TestigoEnPdf() {
        if (pdf_) {
            QlReport::fijaImpresora(nullptr);
        }
    }
    // The exit code once the batch was written: a witness asked for and not
    // written is a failure the scheduler must see.
    int verifica(int codigo, const std::optional<QString>& archivo, QTextStream& err) const {
        if (codigo != CodigoLote::Generado || !pdf_ || pdf_->impresiones() > 0) {
            return codigo;
        }
        err << "No se pudo escribir el testigo en " << *archivo << Qt::endl;
        return CodigoLote::Abandonado;
    }

private:
    TestigoQlReport testigo_;
    std::unique_ptr<ImpresoraPdf> pdf_;
};

// Puts back what the command changed in the program-wide seams.
class Entorno {
public:
    Entorno(QTextStream& err) : operador_(err), previo_(&operador()) { fijaOperador(&operador_); }
    ~Entorno() {
        fijaOperador(previo_);
        if (fijoHoy_) {
            Reloj::fijaHoy(QDate());
        }
    }
    OperadorLote& op() { return operador_; }
    // --hoy: false when it is no date.
    bool fijaHoy(const std::optional<QString>& hoy, QTextStream& err) {
        if (!hoy) {
            return true;
        }
        const QDate d = QDate::fromString(*hoy, Qt::ISODate);
        if (!d.isValid()) {
            err << "--hoy debe ser una fecha AAAA-MM-DD: " << *hoy << Qt::endl;
            return false;
        }
        Reloj::fijaHoy(d);
        fijoHoy_ = true;
        return true;
    }

private:
    OperadorLote operador_;
    Operador* previo_;
    bool fijoHoy_ = false;
};

std::optional<QString> valor(const Opciones& o, const char* nombre) {
    const auto it = o.valores.find(QLatin1String(nombre));
    if (it == o.valores.end()) {
        return std::nullopt;
    }
    return *it;
}

// --espera: the seconds a generation waits for another one's lock (or for
// price rows another station holds) before it gives up; absent: the
// configured command timeout. False (after saying why) when it is no
// whole number from 1 to 86400.
bool leeEspera(const Opciones& o, std::optional<int>& segundos, QTextStream& err) {
    const auto v = valor(o, "espera");
    if (!v) {
        return true;
    }
    bool ok = false;
    const int n = v->trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 86400) {
        err << "--espera debe ser un numero de segundos entre 1 y 86400: " << *v << Qt::endl;
        return false;
    }
    segundos = n;
    return true;
}

// For the start-up that follows (its own writes wait as long), and for no
// later command of this process.
class EsperaFijada {
public:
    explicit EsperaFijada(const std::optional<int>& segundos) {
        FijaTiempoDeEspera(segundos.value_or(0));
    }
    ~EsperaFijada() { FijaTiempoDeEspera(0); }
};

// The path label as "Examinar" leaves it for a folder.
QString rutaDeCarpeta(const QString& carpeta) {
    return QDir::toNativeSeparators(QDir(QDir::fromNativeSeparators(carpeta)).absolutePath() +
                                    QStringLiteral("/CAMBIOS.TXT"));
}

bool carpetaExiste(const QString& carpeta, QTextStream& err) {
    const QFileInfo fi(QDir::fromNativeSeparators(carpeta));
    if (!fi.isDir()) {
        err << "La carpeta no existe: " << carpeta << Qt::endl;
        return false;
    }
    return true;
}

int codigoDeGeneracion(const ResultadoGeneracion& r) {
    using E = ResultadoGeneracion::Estado;
    switch (r.estado) {
    case E::Generado:
    case E::Regenerado:
        return CodigoLote::Generado;
    case E::NadaQueGenerar:
        return CodigoLote::SinNovedades;
    case E::SinLista:
    case E::CodigoInvalido:
    case E::SinCarpeta:
    case E::FueraDeFormato:
        return CodigoLote::Invalido;
    case E::ConAlertas:
        return CodigoLote::ConAlertas;
    case E::Declinado:
    case E::Abandonado:
        break;
    }
    return CodigoLote::Abandonado;
}

void resumen(QTextStream& out, const char* que, const ResultadoGeneracion& r) {
    out << que << " codigo=" << r.codigo << " filas=" << r.filas << " cambios=\"" << r.rutaCambios
        << "\" balanza=\"" << r.rutaBalanza << "\"" << Qt::endl;
}

// The batch code a command requires: none (after saying why) when it is
// missing or no whole number.
std::optional<qint64> codigoRequerido(const Opciones& o, const char* comando, QTextStream& err) {
    const auto it = o.valores.find(QStringLiteral("codigo"));
    if (it == o.valores.end()) {
        err << comando << " necesita --codigo" << Qt::endl;
        return std::nullopt;
    }
    const std::optional<qint64> numero = ReglasLote::LeeCodigo(*it);
    if (!numero) {
        err << "El codigo del lote debe ser un numero entero: " << *it << Qt::endl;
    }
    return numero;
}

} // namespace

QString AyudaComandoLote() {
    return QStringLiteral(
        "tarvelo-lote generar \"<linea de la suite>\" --lista CODIGO --carpeta CARPETA\n"
        "             [--codigo N] [--fecha FECHA] [--hoy AAAA-MM-DD]\n"
        "             [--articulos DESDE:HASTA]... [--familias DESDE:HASTA]...\n"
        "             [--letra L] [--marcar] [--acepta-alertas] [--sin-recuperar]\n"
        "             [--espera SEGUNDOS]\n"
        "  Carga las novedades pendientes de la lista de venta CODIGO y genera el lote:\n"
        "  CAMBIOS.TXT y BALANZA.TXT en CARPETA, una fila por novedad en MV_TARVELO,\n"
        "  los precios enviados marcados '1-M'. Si la lista no tuvo lote de pendientes\n"
        "  desde antes de ayer, incluye tambien las ofertas que empezaron o terminaron\n"
        "  en los dias sin lote (a lo sumo TARVELO_DIAS_RECUPERACION dias, 31 por\n"
        "  defecto) y lo dice en la salida de errores.\n"
        "    --codigo N      codigo del lote (por defecto el proximo libre); un codigo\n"
        "                    existente se rechaza (para eso esta regenerar)\n"
        "    --fecha FECHA   fecha del lote (por defecto hoy, en formato de fecha corta)\n"
        "    --hoy FECHA     fija el dia de hoy (pruebas, preparar el dia siguiente)\n"
        "    --articulos D:H agrega, despues de las pendientes, los precios actuales de\n"
        "                    los articulos D a H (un lado vacio deja el rango abierto)\n"
        "    --familias D:H  lo mismo por familias\n"
        "    --letra L       tipo de movimiento de los rangos (1 a 4 letras; M por defecto)\n"
        "    --marcar        los rangos se marcan como enviados (por defecto no)\n"
        "    --testigo-pdf ARCHIVO  responde Si al testigo y lo escribe en ARCHIVO (PDF)\n"
        "    --estricto      no genera si algun registro no respeta el formato fijo\n"
        "                    (126 caracteres en CAMBIOS.TXT, 81 en BALANZA.TXT) o si\n"
        "                    algun texto pierde caracteres fuera de Windows-1252\n"
        "    --acepta-alertas  genera aunque haya precios con alerta (cambio mayor que\n"
        "                    TARVELO_VARIACION_MAXIMA contra el ultimo enviado, oferta no\n"
        "                    menor que el precio regular, precio bajo el costo mas\n"
        "                    TARVELO_MARGEN_MINIMO, precio cero); sin ella no genera y\n"
        "                    sale con 4. Las alertas van siempre a la salida de errores.\n"
        "    --sin-recuperar carga solo las novedades de hoy, sin las de los dias sin\n"
        "                    lote (el dia de hoy queda registrado igual)\n"
        "    --espera S      segundos que espera a otra generacion de lotes (o a precios\n"
        "                    que otra estacion tiene tomados) antes de abandonar con 3\n"
        "                    sin grabar nada (por defecto el tiempo de espera de\n"
        "                    comandos configurado, 360)\n"
        "\n"
        "tarvelo-lote regenerar \"<linea de la suite>\" --codigo N [--carpeta CARPETA]\n"
        "             [--hoy AAAA-MM-DD] [--testigo-pdf ARCHIVO] [--espera SEGUNDOS]\n"
        "  Vuelve a escribir los archivos del lote N (en la ruta guardada, o en CARPETA)\n"
        "  y marca sus filas con la fecha y hora de retransmision (RETRANSMITIDO).\n"
        "\n"
        "tarvelo-lote verificar \"<linea de la suite>\" --codigo N\n"
        "  Reconstruye los archivos del lote N desde MV_TARVELO y los compara con las\n"
        "  huellas (largo y SHA-256) registradas en cada publicacion y con cada copia de\n"
        "  historial/<lista>/<codigo>/; luego mira los archivos de cada carpeta a la que\n"
        "  fue el lote: iguales a este lote, o reemplazados por un lote publicado alli\n"
        "  despues (lo dice, con su codigo: no es una diferencia). Sale con 0 si todo es\n"
        "  igual y con 1 si algo difiere o falta (con el primer registro distinto).\n"
        "  Como toda ejecucion, antes publica el lote que otra dejo grabado y sin publicar.\n"
        "\n"
        "La linea de la suite: \"@server=..; @dbname=..; @usuario=..; @Password=..;\n"
        "@UsuarioLogeado=..; @Plataforma=SQLSERVER|ORACLE|POSTGRESQL|SQLITE; @Puerto=..\"\n"
        "Sin pantalla: las preguntas reciben la respuesta segura (sin testigo, salvo\n"
        "--testigo-pdf);\n"
        "cualquier falla abandona la operacion.\n"
        "Salida: una linea final \"generada|regenerada codigo=N filas=R cambios=\"..\" "
        "balanza=\"..\"\";\n"
        "los mensajes van a la salida de errores.\n");
}

QString CodigosDeSalidaLote() {
    return QStringLiteral(
        "Codigos de salida: 0 correcto; 1 nada para enviar; 2 argumentos o datos invalidos;\n"
        "3 operacion abandonada por una falla; 4 precios con alerta sin --acepta-alertas\n"
        "(nada se grabo). verificar: 0 iguales (o reemplazados por un lote posterior),\n"
        "1 difieren o faltan, 2 y 3 como arriba.\n");
}

int ComandoGenerar(const QStringList& args, QTextStream& out, QTextStream& err) {
    Opciones o;
    if (!leeOpciones(args, QStringLiteral("generar"),
                     {QStringLiteral("lista"), QStringLiteral("carpeta"), QStringLiteral("codigo"),
                      QStringLiteral("fecha"), QStringLiteral("hoy"), QStringLiteral("letra"),
                      QStringLiteral("testigo-pdf"), QStringLiteral("espera")},
                     o, err)) {
        return CodigoLote::Invalido;
    }
    if (o.ayuda) {
        out << AyudaComandoLote() << CodigosDeSalidaLote();
        out.flush();
        return CodigoLote::Generado;
    }
    const auto lista = valor(o, "lista");
    const auto carpeta = valor(o, "carpeta");
    const auto codigo = valor(o, "codigo");
    const auto fecha = valor(o, "fecha");
    const auto letra = valor(o, "letra");
    if (!lista || lista->trimmed().isEmpty() || !carpeta) {
        err << "generar necesita --lista y --carpeta" << Qt::endl;
        return CodigoLote::Invalido;
    }
    if (!ReglasLote::LeeLista(*lista)) {
        err << "La lista admite hasta 4 caracteres: " << *lista << Qt::endl;
        return CodigoLote::Invalido;
    }
    if (codigo && !ReglasLote::FormaDeCodigo(*codigo)) {
        err << "El codigo del lote debe ser un numero entero: " << *codigo << Qt::endl;
        return CodigoLote::Invalido;
    }
    if (letra && letra->trimmed().size() > 4) {
        err << "--letra admite hasta 4 letras" << Qt::endl;
        return CodigoLote::Invalido;
    }
    Entorno entorno(err);
    entorno.op().estricto(o.estricto);
    entorno.op().aceptaAlertas(o.aceptaAlertas);
    if (!entorno.fijaHoy(valor(o, "hoy"), err)) {
        return CodigoLote::Invalido;
    }
    QDate fechaLote = Reloj::hoy();
    if (fecha) {
        fechaLote = Regional::leeFecha(*fecha);
        if (!fechaLote.isValid()) {
            err << "Debe ingresar un formato de fecha válido: " << *fecha << Qt::endl;
            return CodigoLote::Invalido;
        }
    }
    if (!carpetaExiste(*carpeta, err)) {
        return CodigoLote::Invalido;
    }
    std::optional<int> espera;
    if (!leeEspera(o, espera, err)) {
        return CodigoLote::Invalido;
    }
    const EsperaFijada esperaFijada(espera);
    if (const int r = inicia(o.linea, err); r != CodigoLote::Generado) {
        return r;
    }

    EstadoVentana ventana;
    const std::unique_ptr<RepositorioLote> repositorio = RepositorioDeLaSesion();
    LoteNovedades lote(ventana, *repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    const TestigoEnPdf testigo(valor(o, "testigo-pdf"), ventana, lote, entorno.op());
    // A batch an earlier run committed and never published goes out first.
    for (const QString& aviso : lote.PublicaPendientes()) {
        err << aviso << Qt::endl;
    }
    lote.InicializaFormulario();
    if (codigo) {
        LoteNovedades::CodigoRevisado c;
        try {
            c = lote.RevisaCodigo(*codigo);
        } catch (const FalloKX& f) {
            err << f.error().descripcion << Qt::endl;
            return CodigoLote::Abandonado;
        }
        switch (c.estado) {
        case LoteNovedades::EstadoCodigo::Invalido:
            err << "El codigo del lote debe ser un numero entero entre 0 y " << lote.MaximoCodigo()
                << ": " << codigo->trimmed() << Qt::endl;
            return CodigoLote::Invalido;
        case LoteNovedades::EstadoCodigo::Existente:
            err << "El lote " << c.codigo << " ya existe; generar no regenera lotes (use regenerar)"
                << Qt::endl;
            return CodigoLote::Invalido;
        case LoteNovedades::EstadoCodigo::Nuevo:
            break;
        }
        ventana.campo(QStringLiteral("Codigo")) = QString::number(c.codigo);
    }
    entorno.op().aceptaOtroCodigo(!codigo);
    ventana.campo(QStringLiteral("Fecha")) = Regional::fechaCorta(fechaLote);

    ventana.campo(QStringLiteral("IdLista")) = QlUtil::FormateaCodigo(*lista, 4).trimmed();
    if (lote.EligeLista(*lista) != LoteNovedades::EleccionLista::Elegida) {
        err << "La lista de precios ingresada es inexistente: " << *lista << Qt::endl;
        return CodigoLote::Invalido;
    }
    ventana.fijaRuta(rutaDeCarpeta(*carpeta));

    lote.fijaRecupera(!o.sinRecuperar);
    const ResultadoCarga carga = lote.CargaNovedades();
    if (!ventana.textoRecuperacion.isEmpty()) {
        err << ventana.textoRecuperacion << Qt::endl;
    }
    if (carga.estado == ResultadoCarga::Estado::Abandonado) {
        return CodigoLote::Abandonado;
    }
    for (const Rango& r : std::as_const(o.rangos)) {
        lote.AbreRangoManual();
        ventana.tipoRango = r.tipo;
        ventana.campo(QStringLiteral("ArtDesde")) = r.desde;
        ventana.campo(QStringLiteral("ArtHasta")) = r.hasta;
        ventana.campo(QStringLiteral("Letra")) = letra.value_or(QStringLiteral("M"));
        ventana.rangoSinMarcar = o.marcar;
        const ResultadoCarga manual = lote.AceptaRangoManual();
        if (manual.estado == ResultadoCarga::Estado::Abandonado ||
            manual.estado == ResultadoCarga::Estado::Cancelado) {
            return CodigoLote::Abandonado;
        }
    }
    const ResultadoGeneracion g = lote.Genera();
    if (!g.alertas.isEmpty()) {
        err << Plural(g.alertas.size(), QStringLiteral("1 precio con alerta"),
                      QStringLiteral("%1 precios con alerta"))
            << (g.estado == ResultadoGeneracion::Estado::ConAlertas
                    ? ": no se genero el lote (use --acepta-alertas para generarlo)"
                    : "")
            << Qt::endl;
        for (const QString& a : g.alertas) {
            err << "  " << a << Qt::endl;
        }
    }
    const int codigoSalida = testigo.verifica(codigoDeGeneracion(g), valor(o, "testigo-pdf"), err);
    if (codigoSalida == CodigoLote::Generado) {
        resumen(out, "generada", g);
    }
    return codigoSalida;
}

int ComandoRegenerar(const QStringList& args, QTextStream& out, QTextStream& err) {
    Opciones o;
    if (!leeOpciones(args, QStringLiteral("regenerar"),
                     {QStringLiteral("carpeta"), QStringLiteral("codigo"), QStringLiteral("hoy"),
                      QStringLiteral("testigo-pdf"), QStringLiteral("espera")},
                     o, err)) {
        return CodigoLote::Invalido;
    }
    if (o.ayuda) {
        out << AyudaComandoLote() << CodigosDeSalidaLote();
        out.flush();
        return CodigoLote::Generado;
    }
    const auto carpeta = valor(o, "carpeta");
    const std::optional<qint64> numero = codigoRequerido(o, "regenerar", err);
    if (!numero) {
        return CodigoLote::Invalido;
    }
    Entorno entorno(err);
    entorno.op().aceptaRegenerar(true);
    if (!entorno.fijaHoy(valor(o, "hoy"), err)) {
        return CodigoLote::Invalido;
    }
    if (carpeta && !carpetaExiste(*carpeta, err)) {
        return CodigoLote::Invalido;
    }
    std::optional<int> espera;
    if (!leeEspera(o, espera, err)) {
        return CodigoLote::Invalido;
    }
    const EsperaFijada esperaFijada(espera);
    if (const int r = inicia(o.linea, err); r != CodigoLote::Generado) {
        return r;
    }
    EstadoVentana ventana;
    const std::unique_ptr<RepositorioLote> repositorio = RepositorioDeLaSesion();
    LoteNovedades lote(ventana, *repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    const TestigoEnPdf testigo(valor(o, "testigo-pdf"), ventana, lote, entorno.op());
    // A batch an earlier run committed and never published goes out first.
    for (const QString& aviso : lote.PublicaPendientes()) {
        err << aviso << Qt::endl;
    }
    lote.InicializaFormulario();
    ventana.campo(QStringLiteral("Codigo")) = QString::number(*numero);
    const ResultadoCarga carga = lote.CargaLote();
    switch (carga.estado) {
    case ResultadoCarga::Estado::Cargado:
        break;
    case ResultadoCarga::Estado::SinNovedades:
        err << "No existe el lote " << *numero << Qt::endl;
        return CodigoLote::Invalido;
    case ResultadoCarga::Estado::Rechazado:
        return CodigoLote::Invalido;
    case ResultadoCarga::Estado::Cancelado:
    case ResultadoCarga::Estado::Abandonado:
        return CodigoLote::Abandonado;
    }
    if (carpeta) {
        ventana.fijaRuta(rutaDeCarpeta(*carpeta));
    }
    const ResultadoGeneracion g = lote.Genera();
    const int codigoSalida = testigo.verifica(codigoDeGeneracion(g), valor(o, "testigo-pdf"), err);
    if (codigoSalida == CodigoLote::Generado) {
        resumen(out, "regenerada", g);
    }
    return codigoSalida;
}

int ComandoVerificar(const QStringList& args, QTextStream& out, QTextStream& err) {
    Opciones o;
    if (!leeOpciones(args, QStringLiteral("verificar"), {QStringLiteral("codigo")}, o, err)) {
        return CodigoLote::Invalido;
    }
    if (o.ayuda) {
        out << AyudaComandoLote() << CodigosDeSalidaLote();
        out.flush();
        return CodigoLote::Generado;
    }
    const std::optional<qint64> numero = codigoRequerido(o, "verificar", err);
    if (!numero) {
        return CodigoLote::Invalido;
    }
    Entorno entorno(err);
    if (const int r = inicia(o.linea, err); r != CodigoLote::Generado) {
        return r;
    }
    EstadoVentana ventana;
    const std::unique_ptr<RepositorioLote> repositorio = RepositorioDeLaSesion();
    LoteNovedades lote(ventana, *repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    // A batch an earlier run committed and never published goes out first,
    // as in every run: its files and copies are then where its records say.
    for (const QString& aviso : lote.PublicaPendientes()) {
        err << aviso << Qt::endl;
    }
    lote.InicializaFormulario();
    const ResultadoVerificacion v = VerificadorLote(lote).Verifica(*numero);
    for (const QString& linea : v.lineas) {
        out << linea << Qt::endl;
    }
    switch (v.estado) {
    case ResultadoVerificacion::Estado::Iguales:
        out << "verificada codigo=" << *numero << " iguales" << Qt::endl;
        return CodigoLote::Generado;
    case ResultadoVerificacion::Estado::Difieren:
        out << "verificada codigo=" << *numero << " difieren" << Qt::endl;
        return CodigoLote::Difiere;
    case ResultadoVerificacion::Estado::NoExiste:
        err << "No existe el lote " << *numero << Qt::endl;
        return CodigoLote::Invalido;
    case ResultadoVerificacion::Estado::Abandonado:
        break;
    }
    return CodigoLote::Abandonado;
}
