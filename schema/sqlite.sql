-- The suite's tables and views that tarvelo reads and writes: SQLite.
--
-- Text is compared as the suite's SQL Server database compares it: without
-- regard to case, and ignoring trailing blanks in "=" (list codes padded to 4
-- characters and article codes padded to 25 must find their rows). Every text
-- column is declared COLLATE KX; the program registers that collation on each
-- connection it opens (the plain sqlite3 shell does not know it).
-- Dates are ISO text ('yyyy-MM-dd' or 'yyyy-MM-dd HH:mm:ss'); amounts NUMERIC.
--
-- The objects the program writes to, or that tests fill by the suite's names,
-- are tables even where the suite has views (V_...), so that inserts and
-- updates by those names work and report their row counts; the VT_ and SS_
-- objects are views over them.
--
-- Layout rule for the program that runs this file: a statement ends at a line
-- ending with ";", except a CREATE TRIGGER, which ends at its line "END;".

CREATE TABLE TA_CONFIGURACION (
    CLAVE VARCHAR(50) COLLATE KX NOT NULL PRIMARY KEY,
    VALOR VARCHAR(255) COLLATE KX,
    valoraux VARCHAR(255) COLLATE KX,
    Grupo VARCHAR(50) COLLATE KX,
    PoliticaNegocio INTEGER DEFAULT 0
);

CREATE TABLE ta_usuarios (
    nombre VARCHAR(50) COLLATE KX NOT NULL PRIMARY KEY,
    NombreCompleto VARCHAR(100) COLLATE KX,
    Administrador INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE TA_MENU (
    Clave VARCHAR(20) COLLATE KX NOT NULL PRIMARY KEY,
    Nombre VARCHAR(100) COLLATE KX,
    Proceso VARCHAR(255) COLLATE KX
);

CREATE TABLE TA_TAREAS (
    USUARIO VARCHAR(50) COLLATE KX NOT NULL,
    TAREA VARCHAR(20) COLLATE KX NOT NULL,
    PRIMARY KEY (USUARIO, TAREA)
);

CREATE TABLE Control_Acceso (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Maquina VARCHAR(50) COLLATE KX,
    Usuario VARCHAR(50) COLLATE KX,
    Formulario VARCHAR(50) COLLATE KX,
    Tarea VARCHAR(100) COLLATE KX,
    Ingreso DATETIME,
    NombreUsuario VARCHAR(50) COLLATE KX
);

CREATE TABLE AUX_ERR (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Proceso VARCHAR(50) COLLATE KX,
    fecha DATETIME,
    Error INTEGER,
    Descripcion VARCHAR(250) COLLATE KX,
    SQL TEXT COLLATE KX,
    pc VARCHAR(50) COLLATE KX,
    Usuario VARCHAR(50) COLLATE KX
);

CREATE TABLE V_TA_TIPOARTICULO (
    IdTipo VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    DESCRIPCION VARCHAR(50) COLLATE KX
);

-- MARGEN is the confidential column that the restricted view leaves out.
CREATE TABLE V_TA_FAMILIAS (
    IdFamilia VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(50) COLLATE KX,
    MARGEN NUMERIC(18,4) DEFAULT 0
);

CREATE VIEW SS_V_TA_FAMILIAS AS
    SELECT IdFamilia, Descripcion FROM V_TA_FAMILIAS;

CREATE TABLE V_TA_RUBROS (
    IdRubro VARCHAR(2) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(50) COLLATE KX
);

CREATE TABLE V_TA_UNIDAD (
    IdUnidad VARCHAR(5) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(50) COLLATE KX
);

CREATE TABLE V_MA_ARTICULOS (
    IdArticulo VARCHAR(25) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(60) COLLATE KX,
    DescripAbrev VARCHAR(30) COLLATE KX,
    CodigoBarra VARCHAR(20) COLLATE KX,
    Tipo VARCHAR(10) COLLATE KX,
    Rubro VARCHAR(2) COLLATE KX,
    IdFamilia VARCHAR(10) COLLATE KX,
    IdUnidad VARCHAR(5) COLLATE KX,
    Pesable INTEGER NOT NULL DEFAULT 0,
    TASAIVA VARCHAR(10) COLLATE KX,
    SUSPENDIDO INTEGER NOT NULL DEFAULT 0,
    Stock NUMERIC(18,4) DEFAULT 0,
    PUNTOPEDIDO NUMERIC(18,4) DEFAULT 0
);

CREATE INDEX IX_V_MA_ARTICULOS_DESCRIPCION ON V_MA_ARTICULOS (Descripcion);

CREATE INDEX IX_V_MA_ARTICULOS_FAMILIA ON V_MA_ARTICULOS (IdFamilia);

CREATE VIEW VT_MA_ARTICULOS AS
    SELECT a.IdArticulo, a.Descripcion, a.DescripAbrev, a.CodigoBarra, a.Tipo,
           t.DESCRIPCION AS Marca, a.Rubro, a.IdFamilia, a.IdUnidad, a.Pesable, a.TASAIVA,
           a.SUSPENDIDO, a.Stock, a.PUNTOPEDIDO
      FROM V_MA_ARTICULOS a
      LEFT JOIN V_TA_TIPOARTICULO t ON t.IdTipo = a.Tipo;

-- List headers: TIPOLISTA 'V' sales, 'C' purchases.
CREATE TABLE V_MA_PRECIOSCAB (
    IDLISTA VARCHAR(4) COLLATE KX NOT NULL PRIMARY KEY,
    NOMBRE VARCHAR(50) COLLATE KX,
    TIPOLISTA VARCHAR(1) COLLATE KX NOT NULL DEFAULT 'V'
);

-- One price row per list and article. ESTADO: '0-C' and '0-M' wait to be sent,
-- '1-M' was sent. TIPOLISTA and NOMBRE repeat the list header (the suite's
-- searches read them here); the triggers below keep them in step with it.
CREATE TABLE V_MA_PRECIOS (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    IDLISTA VARCHAR(4) COLLATE KX NOT NULL,
    IdArticulo VARCHAR(25) COLLATE KX NOT NULL,
    TIPOLISTA VARCHAR(1) COLLATE KX,
    NOMBRE VARCHAR(50) COLLATE KX,
    ESTADO VARCHAR(3) COLLATE KX NOT NULL DEFAULT '0-C',
    CAMBIOCODBARRA INTEGER NOT NULL DEFAULT 0,
    FHOFERTADESDE DATE,
    FHOFERTAHASTA DATE,
    SUSPENDIDO INTEGER NOT NULL DEFAULT 0,
    precio1 NUMERIC(18,4) DEFAULT 0,
    precio2 NUMERIC(18,4) DEFAULT 0,
    precio3 NUMERIC(18,4) DEFAULT 0,
    precio4 NUMERIC(18,4) DEFAULT 0,
    precio5 NUMERIC(18,4) DEFAULT 0,
    precio6 NUMERIC(18,4) DEFAULT 0,
    precio7 NUMERIC(18,4) DEFAULT 0,
    precio8 NUMERIC(18,4) DEFAULT 0,
    COSTO NUMERIC(18,4) DEFAULT 0,
    UNIQUE (IDLISTA, IdArticulo)
);

CREATE INDEX IX_V_MA_PRECIOS_ESTADO ON V_MA_PRECIOS (ESTADO);

CREATE TRIGGER TR_V_MA_PRECIOS_CABECERA AFTER INSERT ON V_MA_PRECIOS
    FOR EACH ROW WHEN NEW.TIPOLISTA IS NULL OR NEW.NOMBRE IS NULL
    BEGIN
        UPDATE V_MA_PRECIOS
           SET TIPOLISTA = COALESCE(NEW.TIPOLISTA,
                   (SELECT c.TIPOLISTA FROM V_MA_PRECIOSCAB c WHERE c.IDLISTA = NEW.IDLISTA)),
               NOMBRE = COALESCE(NEW.NOMBRE,
                   (SELECT c.NOMBRE FROM V_MA_PRECIOSCAB c WHERE c.IDLISTA = NEW.IDLISTA))
         WHERE ID = NEW.ID;
    END;

CREATE TRIGGER TR_V_MA_PRECIOSCAB_ALTA AFTER INSERT ON V_MA_PRECIOSCAB
    FOR EACH ROW
    BEGIN
        UPDATE V_MA_PRECIOS
           SET TIPOLISTA = COALESCE(TIPOLISTA, NEW.TIPOLISTA),
               NOMBRE = COALESCE(NOMBRE, NEW.NOMBRE)
         WHERE IDLISTA = NEW.IDLISTA AND (TIPOLISTA IS NULL OR NOMBRE IS NULL);
    END;

CREATE TRIGGER TR_V_MA_PRECIOSCAB_CAMBIO AFTER UPDATE OF NOMBRE, TIPOLISTA ON V_MA_PRECIOSCAB
    FOR EACH ROW
    BEGIN
        UPDATE V_MA_PRECIOS
           SET TIPOLISTA = NEW.TIPOLISTA, NOMBRE = NEW.NOMBRE
         WHERE IDLISTA = NEW.IDLISTA;
    END;

-- What the loaders read: one row per price row of a list, with its article.
-- An article missing from V_MA_ARTICULOS still gives its price row (with
-- empty article columns). Every column is a plain column so that it keeps
-- its collation.
CREATE VIEW VT_MA_PRECIOS_ARTICULOS AS
    SELECT p.ID, p.IDLISTA, c.TIPOLISTA, c.NOMBRE, p.ESTADO, p.CAMBIOCODBARRA,
           p.FHOFERTADESDE, p.FHOFERTAHASTA, p.SUSPENDIDO,
           p.precio1, p.precio2, p.precio3, p.precio4, p.precio5, p.precio6, p.precio7,
           p.precio8, p.COSTO, p.IdArticulo, a.Descripcion AS Descripcionarticulo, a.Tipo,
           a.Rubro, a.IdFamilia AS IDFAMILIA
      FROM V_MA_PRECIOS p
     INNER JOIN V_MA_PRECIOSCAB c ON c.IDLISTA = p.IDLISTA
      LEFT JOIN V_MA_ARTICULOS a ON a.IdArticulo = p.IdArticulo;

-- Generated batches: one row per batch row; the cell columns keep the exact
-- text written (leading zeros and trailing blanks included).
CREATE TABLE MV_TARVELO (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Codigo INTEGER NOT NULL,
    IdLista VARCHAR(10) COLLATE KX,
    Nombre VARCHAR(60) COLLATE KX,
    Fecha DATE,
    TipoMov VARCHAR(10) COLLATE KX,
    CodInterno VARCHAR(25) COLLATE KX,
    Descripcion VARCHAR(60) COLLATE KX,
    Marca VARCHAR(30) COLLATE KX,
    PrecioVenta VARCHAR(20) COLLATE KX,
    Precio VARCHAR(20) COLLATE KX,
    Internos VARCHAR(20) COLLATE KX,
    PrecioCosto VARCHAR(20) COLLATE KX,
    CondIva VARCHAR(5) COLLATE KX,
    TipoIva VARCHAR(5) COLLATE KX,
    Fijo VARCHAR(5) COLLATE KX,
    CodBarra VARCHAR(30) COLLATE KX,
    Rubro VARCHAR(5) COLLATE KX,
    Tipo VARCHAR(5) COLLATE KX,
    Aux1 VARCHAR(20) COLLATE KX,
    Aux2 VARCHAR(20) COLLATE KX,
    RutaArchivo VARCHAR(255) COLLATE KX,
    Usuario VARCHAR(50) COLLATE KX,
    RETRANSMITIDO VARCHAR(30) COLLATE KX
);

CREATE INDEX IX_MV_TARVELO_CODIGO ON MV_TARVELO (Codigo);

CREATE INDEX IX_MV_TARVELO_LISTA_ARTICULO ON MV_TARVELO (IdLista, CodInterno, Fecha);

-- Batches committed whose files have not taken their final names yet (the
-- program's own table: a run killed between the two is published by the next).
CREATE TABLE MV_TARVELO_PENDIENTE (
    Codigo INTEGER NOT NULL,
    Destino VARCHAR(1024),
    Temporal VARCHAR(1024),
    DestinoBalanza VARCHAR(1024),
    TemporalBalanza VARCHAR(1024)
);

-- What each publication of a batch wrote: the length and SHA-256 of each file
-- and where its copy was kept (the program's own table).
CREATE TABLE MV_TARVELO_ARCHIVOS (
    Codigo INTEGER NOT NULL,
    Archivo VARCHAR(20) NOT NULL,
    Largo BIGINT NOT NULL,
    Sha256 VARCHAR(64) NOT NULL,
    Copia VARCHAR(1024),
    Generado VARCHAR(30)
);

-- The price alerts the operator accepted for a batch (the program's own table).
CREATE TABLE MV_TARVELO_ALERTAS (
    Codigo INTEGER NOT NULL,
    CodInterno VARCHAR(25),
    Motivo VARCHAR(255)
);

-- The day of each pending load that became a batch, by list (upper case),
-- and the days without a batch it caught up on: ISO dates (the program's own
-- table: the next pending load of the list catches up from the latest day).
CREATE TABLE MV_TARVELO_CARGAS (
    Codigo INTEGER NOT NULL,
    IdLista VARCHAR(4) NOT NULL,
    Dia VARCHAR(10) NOT NULL,
    RecuperaDesde VARCHAR(10),
    RecuperaHasta VARCHAR(10)
);

CREATE TABLE V_MV_FALTANTES (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    FechaHora DATETIME,
    IdArticulo VARCHAR(25) COLLATE KX,
    Descripcion VARCHAR(60) COLLATE KX,
    Usuario VARCHAR(50) COLLATE KX
);

-- What the suite's default lookups name.
CREATE TABLE VT_CLIENTES (
    CODIGO VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    RAZON_SOCIAL VARCHAR(60) COLLATE KX,
    CONTACTO VARCHAR(60) COLLATE KX,
    Dada_De_Baja INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE VT_PROVEEDORES (
    CODIGO VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    RAZON_SOCIAL VARCHAR(60) COLLATE KX,
    Dada_De_Baja INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE MA_CONTACTOS (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Nombre_y_Apellido VARCHAR(60) COLLATE KX,
    Domicilio VARCHAR(60) COLLATE KX,
    Localidad VARCHAR(40) COLLATE KX,
    Telefono VARCHAR(30) COLLATE KX
);

CREATE TABLE V_TA_VENDEDORES (
    IDVENDEDOR VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    NOMBRE VARCHAR(60) COLLATE KX
);

CREATE TABLE V_TA_TECNICOS (
    IDTECNICO VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    NOMBRE VARCHAR(60) COLLATE KX
);

CREATE TABLE V_MA_MANTENIMIENTOS (
    CODIGO VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE KX
);

CREATE TABLE MA_CUENTAS (
    CODIGO VARCHAR(20) COLLATE KX NOT NULL PRIMARY KEY,
    DESCRIPCION VARCHAR(60) COLLATE KX,
    SALDO NUMERIC(18,4) DEFAULT 0
);

CREATE VIEW SS_MA_CUENTAS AS
    SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS;

CREATE TABLE TA_CCOSTO (
    CODIGO VARCHAR(20) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(60) COLLATE KX
);

CREATE TABLE MA_POSICIONES (
    IDPOSICION VARCHAR(20) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(60) COLLATE KX
);

CREATE TABLE V_TA_Tareas (
    IdTarea VARCHAR(20) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(60) COLLATE KX
);

CREATE TABLE V_TA_UnidadNegocio (
    Codigo VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(60) COLLATE KX
);

CREATE TABLE V_TA_DEPOSITO (
    IdDeposito VARCHAR(10) COLLATE KX NOT NULL PRIMARY KEY,
    Descripcion VARCHAR(60) COLLATE KX,
    UnidadNegocio VARCHAR(10) COLLATE KX,
    ValorStock NUMERIC(18,4) DEFAULT 0
);

CREATE VIEW SS_V_TA_DEPOSITO AS
    SELECT IdDeposito, Descripcion, UnidadNegocio FROM V_TA_DEPOSITO;
