-- The suite's tables and views that tarvelo reads and writes: Microsoft SQL Server.
--
-- Run it on a database whose default collation is the suite's usual
-- case-insensitive, accent-sensitive one (for example Modern_Spanish_CI_AS or
-- SQL_Latin1_General_CP1_CI_AS): that collation already compares without regard
-- to case and ignores trailing blanks in "=", which the program relies on.
-- Text columns are varchar, which keeps trailing blanks as written.
--
-- The objects the program writes to, or that tests fill by the suite's names,
-- are tables even where the suite has views (V_...); the VT_ and SS_ objects
-- are views over them.
--
-- Batches are separated by lines reading GO (sqlcmd and the program's own
-- runner both split there).

CREATE TABLE TA_CONFIGURACION (
    CLAVE varchar(50) NOT NULL PRIMARY KEY,
    VALOR varchar(255),
    valoraux varchar(255),
    Grupo varchar(50),
    PoliticaNegocio bit DEFAULT 0
);
GO

CREATE TABLE ta_usuarios (
    nombre varchar(50) NOT NULL PRIMARY KEY,
    NombreCompleto varchar(100),
    Administrador smallint NOT NULL DEFAULT 0
);
GO

CREATE TABLE TA_MENU (
    Clave varchar(20) NOT NULL PRIMARY KEY,
    Nombre varchar(100),
    Proceso varchar(255)
);
GO

CREATE TABLE TA_TAREAS (
    USUARIO varchar(50) NOT NULL,
    TAREA varchar(20) NOT NULL,
    PRIMARY KEY (USUARIO, TAREA)
);
GO

CREATE TABLE Control_Acceso (
    ID int IDENTITY(1,1) PRIMARY KEY,
    Maquina varchar(50),
    Usuario varchar(50),
    Formulario varchar(50),
    Tarea varchar(100),
    Ingreso datetime,
    NombreUsuario varchar(50)
);
GO

CREATE TABLE AUX_ERR (
    ID int IDENTITY(1,1) PRIMARY KEY,
    Proceso varchar(50),
    fecha datetime,
    Error int,
    Descripcion varchar(250),
    SQL varchar(max),
    pc varchar(50),
    Usuario varchar(50)
);
GO

CREATE TABLE V_TA_TIPOARTICULO (
    IdTipo varchar(10) NOT NULL PRIMARY KEY,
    DESCRIPCION varchar(50)
);
GO

-- MARGEN is the confidential column that the restricted view leaves out.
CREATE TABLE V_TA_FAMILIAS (
    IdFamilia varchar(10) NOT NULL PRIMARY KEY,
    Descripcion varchar(50),
    MARGEN numeric(18,4) DEFAULT 0
);
GO

CREATE VIEW SS_V_TA_FAMILIAS AS
    SELECT IdFamilia, Descripcion FROM V_TA_FAMILIAS;
GO

CREATE TABLE V_TA_RUBROS (
    IdRubro varchar(2) NOT NULL PRIMARY KEY,
    Descripcion varchar(50)
);
GO

CREATE TABLE V_TA_UNIDAD (
    IdUnidad varchar(5) NOT NULL PRIMARY KEY,
    Descripcion varchar(50)
);
GO

CREATE TABLE V_MA_ARTICULOS (
    IdArticulo varchar(25) NOT NULL PRIMARY KEY,
    Descripcion varchar(60),
    DescripAbrev varchar(30),
    CodigoBarra varchar(20),
    Tipo varchar(10),
    Rubro varchar(2),
    IdFamilia varchar(10),
    IdUnidad varchar(5),
    Pesable bit NOT NULL DEFAULT 0,
    TASAIVA varchar(10),
    SUSPENDIDO bit NOT NULL DEFAULT 0,
    Stock numeric(18,4) DEFAULT 0,
    PUNTOPEDIDO numeric(18,4) DEFAULT 0
);
GO

CREATE INDEX IX_V_MA_ARTICULOS_DESCRIPCION ON V_MA_ARTICULOS (Descripcion);
GO

CREATE INDEX IX_V_MA_ARTICULOS_FAMILIA ON V_MA_ARTICULOS (IdFamilia);
GO

CREATE VIEW VT_MA_ARTICULOS AS
    SELECT a.IdArticulo, a.Descripcion, a.DescripAbrev, a.CodigoBarra, a.Tipo,
           t.DESCRIPCION AS Marca, a.Rubro, a.IdFamilia, a.IdUnidad, a.Pesable, a.TASAIVA,
           a.SUSPENDIDO, a.Stock, a.PUNTOPEDIDO
      FROM V_MA_ARTICULOS a
      LEFT JOIN V_TA_TIPOARTICULO t ON t.IdTipo = a.Tipo;
GO

-- List headers: TIPOLISTA 'V' sales, 'C' purchases.
CREATE TABLE V_MA_PRECIOSCAB (
    IDLISTA varchar(4) NOT NULL PRIMARY KEY,
    NOMBRE varchar(50),
    TIPOLISTA varchar(1) NOT NULL DEFAULT 'V'
);
GO

-- One price row per list and article. ESTADO: '0-C' and '0-M' wait to be sent,
-- '1-M' was sent. TIPOLISTA and NOMBRE repeat the list header (the suite's
-- searches read them here); the triggers below keep them in step with it.
CREATE TABLE V_MA_PRECIOS (
    ID int IDENTITY(1,1) PRIMARY KEY,
    IDLISTA varchar(4) NOT NULL,
    IdArticulo varchar(25) NOT NULL,
    TIPOLISTA varchar(1),
    NOMBRE varchar(50),
    ESTADO varchar(3) NOT NULL DEFAULT '0-C',
    CAMBIOCODBARRA bit NOT NULL DEFAULT 0,
    FHOFERTADESDE datetime,
    FHOFERTAHASTA datetime,
    SUSPENDIDO bit NOT NULL DEFAULT 0,
    precio1 numeric(18,4) DEFAULT 0,
    precio2 numeric(18,4) DEFAULT 0,
    precio3 numeric(18,4) DEFAULT 0,
    precio4 numeric(18,4) DEFAULT 0,
    precio5 numeric(18,4) DEFAULT 0,
    precio6 numeric(18,4) DEFAULT 0,
    precio7 numeric(18,4) DEFAULT 0,
    precio8 numeric(18,4) DEFAULT 0,
    COSTO numeric(18,4) DEFAULT 0,
    UNIQUE (IDLISTA, IdArticulo)
);
GO

CREATE INDEX IX_V_MA_PRECIOS_ESTADO ON V_MA_PRECIOS (ESTADO);
GO

CREATE TRIGGER TR_V_MA_PRECIOS_CABECERA ON V_MA_PRECIOS AFTER INSERT AS
BEGIN
    SET NOCOUNT ON;
    UPDATE p
       SET TIPOLISTA = COALESCE(p.TIPOLISTA, c.TIPOLISTA), NOMBRE = COALESCE(p.NOMBRE, c.NOMBRE)
      FROM V_MA_PRECIOS p
     INNER JOIN inserted i ON i.ID = p.ID
     INNER JOIN V_MA_PRECIOSCAB c ON c.IDLISTA = p.IDLISTA
     WHERE p.TIPOLISTA IS NULL OR p.NOMBRE IS NULL;
END
GO

CREATE TRIGGER TR_V_MA_PRECIOSCAB_CAMBIO ON V_MA_PRECIOSCAB AFTER INSERT, UPDATE AS
BEGIN
    SET NOCOUNT ON;
    IF EXISTS (SELECT 1 FROM deleted)
    BEGIN
        IF UPDATE(NOMBRE) OR UPDATE(TIPOLISTA)
            UPDATE p SET TIPOLISTA = i.TIPOLISTA, NOMBRE = i.NOMBRE
              FROM V_MA_PRECIOS p INNER JOIN inserted i ON i.IDLISTA = p.IDLISTA;
    END
    ELSE
        UPDATE p
           SET TIPOLISTA = COALESCE(p.TIPOLISTA, i.TIPOLISTA), NOMBRE = COALESCE(p.NOMBRE, i.NOMBRE)
          FROM V_MA_PRECIOS p INNER JOIN inserted i ON i.IDLISTA = p.IDLISTA
         WHERE p.TIPOLISTA IS NULL OR p.NOMBRE IS NULL;
END
GO

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
GO

-- Generated batches: one row per batch row; the cell columns keep the exact
-- text written (leading zeros and trailing blanks included).
CREATE TABLE MV_TARVELO (
    ID int IDENTITY(1,1) PRIMARY KEY,
    Codigo int NOT NULL,
    IdLista varchar(10),
    Nombre varchar(60),
    Fecha datetime,
    TipoMov varchar(10),
    CodInterno varchar(25),
    Descripcion varchar(60),
    Marca varchar(30),
    PrecioVenta varchar(20),
    Precio varchar(20),
    Internos varchar(20),
    PrecioCosto varchar(20),
    CondIva varchar(5),
    TipoIva varchar(5),
    Fijo varchar(5),
    CodBarra varchar(30),
    Rubro varchar(5),
    Tipo varchar(5),
    Aux1 varchar(20),
    Aux2 varchar(20),
    RutaArchivo varchar(255),
    Usuario varchar(50),
    RETRANSMITIDO varchar(30)
);
GO

CREATE INDEX IX_MV_TARVELO_CODIGO ON MV_TARVELO (Codigo);
GO

CREATE INDEX IX_MV_TARVELO_LISTA_ARTICULO ON MV_TARVELO (IdLista, CodInterno, Fecha);
GO

-- Batches committed whose files have not taken their final names yet (the
-- program's own table: a run killed between the two is published by the next).
CREATE TABLE MV_TARVELO_PENDIENTE (
    Codigo int NOT NULL,
    Destino varchar(1024),
    Temporal varchar(1024),
    DestinoBalanza varchar(1024),
    TemporalBalanza varchar(1024)
);
GO

-- What each publication of a batch wrote: the length and SHA-256 of each file
-- and where its copy was kept (the program's own table).
CREATE TABLE MV_TARVELO_ARCHIVOS (
    Codigo INT NOT NULL,
    Archivo VARCHAR(20) NOT NULL,
    Largo BIGINT NOT NULL,
    Sha256 VARCHAR(64) NOT NULL,
    Copia VARCHAR(1024),
    Generado VARCHAR(30)
);
GO

-- The price alerts the operator accepted for a batch (the program's own table).
CREATE TABLE MV_TARVELO_ALERTAS (
    Codigo INT NOT NULL,
    CodInterno VARCHAR(25),
    Motivo VARCHAR(255)
);
GO

-- The day of each pending load that became a batch, by list (upper case),
-- and the days without a batch it caught up on: ISO dates (the program's own
-- table: the next pending load of the list catches up from the latest day).
CREATE TABLE MV_TARVELO_CARGAS (
    Codigo INT NOT NULL,
    IdLista VARCHAR(4) NOT NULL,
    Dia VARCHAR(10) NOT NULL,
    RecuperaDesde VARCHAR(10),
    RecuperaHasta VARCHAR(10)
);
GO

CREATE TABLE V_MV_FALTANTES (
    ID int IDENTITY(1,1) PRIMARY KEY,
    FechaHora datetime,
    IdArticulo varchar(25),
    Descripcion varchar(60),
    Usuario varchar(50)
);
GO

-- What the suite's default lookups name.
CREATE TABLE VT_CLIENTES (
    CODIGO varchar(10) NOT NULL PRIMARY KEY,
    RAZON_SOCIAL varchar(60),
    CONTACTO varchar(60),
    Dada_De_Baja bit NOT NULL DEFAULT 0
);
GO

CREATE TABLE VT_PROVEEDORES (
    CODIGO varchar(10) NOT NULL PRIMARY KEY,
    RAZON_SOCIAL varchar(60),
    Dada_De_Baja bit NOT NULL DEFAULT 0
);
GO

CREATE TABLE MA_CONTACTOS (
    ID int IDENTITY(1,1) PRIMARY KEY,
    Nombre_y_Apellido varchar(60),
    Domicilio varchar(60),
    Localidad varchar(40),
    Telefono varchar(30)
);
GO

CREATE TABLE V_TA_VENDEDORES (
    IDVENDEDOR varchar(10) NOT NULL PRIMARY KEY,
    NOMBRE varchar(60)
);
GO

CREATE TABLE V_TA_TECNICOS (
    IDTECNICO varchar(10) NOT NULL PRIMARY KEY,
    NOMBRE varchar(60)
);
GO

CREATE TABLE V_MA_MANTENIMIENTOS (
    CODIGO varchar(10) NOT NULL PRIMARY KEY,
    DESCRIPCION varchar(60)
);
GO

CREATE TABLE MA_CUENTAS (
    CODIGO varchar(20) NOT NULL PRIMARY KEY,
    DESCRIPCION varchar(60),
    SALDO numeric(18,4) DEFAULT 0
);
GO

CREATE VIEW SS_MA_CUENTAS AS
    SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS;
GO

CREATE TABLE TA_CCOSTO (
    CODIGO varchar(20) NOT NULL PRIMARY KEY,
    Descripcion varchar(60)
);
GO

CREATE TABLE MA_POSICIONES (
    IDPOSICION varchar(20) NOT NULL PRIMARY KEY,
    Descripcion varchar(60)
);
GO

CREATE TABLE V_TA_Tareas (
    IdTarea varchar(20) NOT NULL PRIMARY KEY,
    Descripcion varchar(60)
);
GO

CREATE TABLE V_TA_UnidadNegocio (
    Codigo varchar(10) NOT NULL PRIMARY KEY,
    Descripcion varchar(60)
);
GO

CREATE TABLE V_TA_DEPOSITO (
    IdDeposito varchar(10) NOT NULL PRIMARY KEY,
    Descripcion varchar(60),
    UnidadNegocio varchar(10),
    ValorStock numeric(18,4) DEFAULT 0
);
GO

CREATE VIEW SS_V_TA_DEPOSITO AS
    SELECT IdDeposito, Descripcion, UnidadNegocio FROM V_TA_DEPOSITO;
GO
