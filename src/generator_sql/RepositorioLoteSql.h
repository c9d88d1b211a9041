#pragma once

#include "generator/RepositorioLote.h"

#include "utility_library/ErrorKX.h"

#include <QString>
#include <memory>

class DB_Dll;
class SentenciaPreparada;
struct CapacidadesMotor;

// The batch's questions to the suite's database, through the database
// layer: every statement written once, prepared and bound on every engine.
class RepositorioLoteSql : public RepositorioLote {
    friend std::unique_ptr<RepositorioLote> RepositorioDeLaSesion();

public:
    explicit RepositorioLoteSql(DB_Dll& db);
    ~RepositorioLoteSql() override;

    std::optional<QString> ListaDeVenta(const QString& codigo) override;
    QString ConsultaListasDeVenta() const override;
    QString ConsultaFamilias() const override;
    QString ConsultaListasConNovedades(const QDate& hoy) const override;
    std::unique_ptr<CursorOrigen> Pendientes(const QString& lista, const QDate& hoy,
                                             const QDate& manana) override;
    std::unique_ptr<CursorOrigen> PendientesRecuperando(const QString& lista,
                                                        const VentanaCarga& ventana) override;
    std::optional<QDate> UltimaCargaPendiente(const QString& lista) override;
    std::unique_ptr<CursorOrigen> Manual(const QString& lista, const RangoManual& rango) override;
    std::optional<ArticuloLote> DatosArticulo(const QString& idArticulo) override;
    QString DescripcionTipo(const QString& tipo) override;
    std::optional<QString> UltimoPrecioTransmitido(const QString& lista,
                                                   const QString& codInterno) override;
    bool Busca(const QString& clave, ArticulosBalanza::Articulo& articulo) override;
    void Anticipa(const QStringList& claves) override;

    qint64 MaximoCodigo() const override;
    qint64 ProximoCodigo() override;
    bool ExisteLote(qint64 codigo) override;
    std::unique_ptr<CursorOrigen> Lote(qint64 codigo) override;

    void IniciaGeneracion() override;
    bool GrabaFila(qint64 codigo, const FilaAGrabar& fila,
                   const std::optional<PrecioAMarcar>& marca) override;
    bool GrabaEnBloques() const override;
    bool GrabaBloque(qint64 codigo, const std::vector<FilaDeBloque>& filas,
                     std::vector<bool>& grabadas) override;
    void EstampaFila(qint64 id, const QString& marcaTiempo) override;
    void ConfirmaGeneracion() override;
    void DescartaGeneracion() override;
    void AnotaPublicacion(const PublicacionPendiente& p) override;
    void PublicacionHecha(qint64 codigo) override;
    std::vector<PublicacionPendiente> PublicacionesPendientes() override;
    QHash<QString, QString> UltimosPreciosTransmitidos(const QString& lista,
                                                       const QStringList& codInternos) override;
    void AnotaAlertas(qint64 codigo, const std::vector<AlertaGrabada>& alertas) override;
    void AnotaCargaPendiente(qint64 codigo, const QString& lista,
                             const VentanaCarga& ventana) override;
    void AnotaArchivos(qint64 codigo, const std::vector<ArchivoGrabado>& archivos) override;
    std::vector<ArchivoGrabado> ArchivosGrabados(qint64 codigo) override;
    std::vector<ArchivoGrabado> ArchivosConHuella(const QString& archivo, qint64 largo,
                                                  const QString& sha256) override;

    bool EnlacePerdido() const override;
    bool Reconecta() override;

private:
    struct Sentencias;
    // Creates the program's own tables that are missing (once per session),
    // or only the one named `solo`.
    void TablasPropias(const QString& solo = QString());
    CapacidadesMotor capacidades() const;
    SentenciaPreparada& sentencia(std::unique_ptr<SentenciaPreparada>& s, const QString& sql,
                                  const QString& rutina);
    // A source query and its row count, as a cursor.
    // `conArticulo`: the rows also bring their article's data where the
    // engine reads through a server cursor (`desde` then names the prices view).
    std::unique_ptr<CursorOrigen> abre(const QString& desde, const QString& orden,
                                       const QVariantList& valores, const QString& rutina,
                                       bool conArticulo = false);
    QVariant fecha(const QDate& d) const;
    static const QString& Insercion();
    QVariantList valoresInsercion(qint64 codigo, const FilaAGrabar& fila);
    // The conditional mark and the insert as one statement, from the types
    // of ColumnasInsercion(); empty without them.
    static QString MarcaYGraba(const QStringList& tipos);
    // Codigo and the batch row's columns, in the insert's order.
    static QStringList ColumnasInsercion();
    // The types of `columnas` of `tabla` (lower case) by the catalogue, in
    // order; empty when the engine offers none or a column is missing.
    QStringList TiposDe(const QString& tabla, const QStringList& columnas);
    QString TextoBloque(int filas) const;
    void directa(const QString& sqlMotor);
    // When `f` is a wait for another connection's lock that ran out, the
    // same failure told for what the generation waited for (and, before any
    // row was written, that the batch was not); otherwise `f`.
    FalloKX esperaAgotada(const FalloKX& f, const QString& que, bool antesDeGrabar) const;
    // Undoes the row the loop was writing, whatever the link's state.
    void deshaceFila(const CapacidadesMotor& c);
    // A savepoint statement of the row loop, prepared where the engine can.
    void punto(std::unique_ptr<SentenciaPreparada>& s, const QString& sqlMotor,
               const CapacidadesMotor& c);

    DB_Dll& db_;
    std::unique_ptr<Sentencias> s_;
    int cursores_ = 0;
};

// The batch repository on the session's connection (the one start-up opened).
std::unique_ptr<RepositorioLote> RepositorioDeLaSesion();
