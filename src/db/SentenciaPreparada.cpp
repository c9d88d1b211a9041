#include "db/SentenciaPreparada.h"

#include "db/DB_Dll.h"

#include "utility_library/CarpetasPrograma.h"
#include "utility_library/LogKX.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {
const QString kCerrada = QStringLiteral("La conexión con la base de datos no está abierta.");
}

SentenciaPreparada::SentenciaPreparada(DB_Dll& db, const QString& sql, const QString& rutina)
    : db_(db), rutina_(rutina) {
    texto_ = db.SS_TSinonimos(sql);
}

SentenciaPreparada::~SentenciaPreparada() {
    sueltaNativa();
}

void SentenciaPreparada::sueltaNativa() {
    // A statement its connection already finalized (closing the file) is
    // null, and that connection may be gone: nothing to tell it.
    if (nativa_ && conexionNativa_) {
        conexionNativa_->olvidaSentencia(&nativa_);
    }
    conexionNativa_ = nullptr;
    sqlite3_finalize(nativa_);
    nativa_ = nullptr;
    filaPendiente_ = false;
    terminada_ = true;
}

void SentenciaPreparada::preparaNativa(Conexion* cn) {
    sueltaNativa();
    q_.reset();
    sqlite3* h = cn->manejadorSqlite();
    textoMotor_ = cn->textoMotor(texto_);
    conexionPreparada_ = cn;
    const QByteArray utf8 = textoMotor_.toUtf8();
    const int rc = sqlite3_prepare_v3(h, utf8.constData(), int(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &nativa_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(nativa_);
        nativa_ = nullptr;
        conexionPreparada_ = nullptr;
        falla(rc);
    }
    conexionNativa_ = cn;
    nativaPreparada_ = true;
    cn->registraSentencia(&nativa_);
}

void SentenciaPreparada::prepara() {
    Conexion* cn = db_.gCnn.get();
    if (!cn || !cn->abierta()) {
        cn = nullptr;
    }
    if (!cn) {
        throw FalloKX(NumerosADO::ConexionCerrada, kCerrada, rutina_);
    }
    if (!sinPreparar_ && !desplazable_ && cn->plataforma() == Plataforma::Sqlite) {
        if (nativa_ && conexionNativa_ == cn && conexionPreparada_ == cn) {
            return;
        }
        if (cn->manejadorSqlite()) {
            preparaNativa(cn);
            return;
        }
    }
    sueltaNativa();
    nativaPreparada_ = false;
    if (q_ && conexionPreparada_ == cn && q_->driver() == cn->baseQt().driver()) {
        return;
    }
    q_.emplace(cn->baseQt());
    q_->setForwardOnly(!desplazable_);
    conexionPreparada_ = cn;
    textoMotor_ = cn->textoMotor(texto_);
    if (cn->plataforma() == Plataforma::Oracle) {
        textoMotor_ = db_.ORACLE_Dicc(textoMotor_);
    }
    if (!sinPreparar_ && !q_->prepare(textoMotor_)) {
        falla(*q_);
    }
}

QString SentenciaPreparada::ConValores(const QString& texto, const QVariantList& valores,
                                       const QSqlDriver& driver, const QString& rutina) {
    const auto noCorresponden = [&] {
        return FalloKX(NumerosADO::ErrorSql,
                       QStringLiteral("Los valores (%1) no corresponden a las marcas de la "
                                      "sentencia.")
                           .arg(valores.size()),
                       rutina);
    };
    QString r;
    r.reserve(texto.size() + int(valores.size()) * 16);
    qsizetype usados = 0;
    QChar comilla;
    for (const QChar ch : texto) {
        if (!comilla.isNull()) {
            if (ch == comilla) {
                comilla = QChar();
            }
            r += ch;
        } else if (ch == QLatin1Char('\'') || ch == QLatin1Char('"')) {
            comilla = ch;
            r += ch;
        } else if (ch == QLatin1Char('?')) {
            if (usados >= valores.size()) {
                throw noCorresponden();
            }
            const QVariant& v = valores[usados++];
            QSqlField campo(QString(), v.metaType());
            campo.setValue(v);
            r += driver.formatValue(campo);
        } else {
            r += ch;
        }
    }
    if (usados != valores.size()) {
        throw noCorresponden();
    }
    return r;
}

void SentenciaPreparada::falla(const QSqlQuery& q) {
    Conexion* cn = db_.gCnn.get();
    try {
        cn->fallaConsulta(q);
    } catch (const FalloKX& f) {
        q_.reset(); // prepared afresh on the next run
        anotaYLanza(f);
    }
    throw FalloKX(NumerosADO::ErrorSql, q.lastError().text(), rutina_);
}

void SentenciaPreparada::anotaYLanza(const FalloKX& f) {
    ErrorKX e = f.error();
    e.fuente = rutina_;
    // The layer's log line; the caller's dialog asks the operator.
    LogKX::agrega(CarpetasPrograma::escritura() + QStringLiteral("KXERR.LOG"),
                  LogKX::linea(Reloj::ahora(), LogKX::textoRutina(rutina_), LogKX::mensaje(e), 0));
    throw FalloKX(e);
}

void SentenciaPreparada::falla(int codigo) {
    Conexion* cn = db_.gCnn.get();
    try {
        cn->fallaSqlite(codigo);
    } catch (const FalloKX& f) {
        sueltaNativa(); // prepared afresh on the next run
        anotaYLanza(f);
    }
    throw FalloKX(NumerosADO::ErrorSql, QString::fromUtf8(sqlite3_errstr(codigo)), rutina_);
}

void SentenciaPreparada::ejecutaNativa(const QVariantList& valores) {
    sqlite3_stmt* st = nativa_;
    sqlite3_reset(st);
    filaPendiente_ = false;
    terminada_ = true;
    if (valores.size() != sqlite3_bind_parameter_count(st)) {
        throw FalloKX(NumerosADO::ErrorSql,
                      QStringLiteral("Los valores (%1) no corresponden a las marcas de la "
                                     "sentencia.")
                          .arg(valores.size()),
                      rutina_);
    }
    // Bound without a copy: the list (its texts shared, not copied) stays
    // alive until the next run.
    ligados_ = valores;
    int rc = SQLITE_OK;
    for (int i = 0; i < ligados_.size() && rc == SQLITE_OK; ++i) {
        const QVariant& v = ligados_.at(i);
        const int n = i + 1;
        switch (v.typeId()) {
        case QMetaType::UnknownType:
            rc = sqlite3_bind_null(st, n);
            break;
        case QMetaType::QString: {
            const QString* t = static_cast<const QString*>(v.constData());
            rc = t->isNull() ? sqlite3_bind_null(st, n)
                             : sqlite3_bind_text16(st, n, t->utf16(),
                                                   int(t->size() * sizeof(QChar)), SQLITE_STATIC);
            break;
        }
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Bool:
            rc = v.isNull() ? sqlite3_bind_null(st, n) : sqlite3_bind_int64(st, n, v.toLongLong());
            break;
        case QMetaType::ULongLong:
        case QMetaType::ULong:
            rc = v.isNull() ? sqlite3_bind_null(st, n)
                            : sqlite3_bind_int64(st, n, qint64(v.toULongLong()));
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = v.isNull() ? sqlite3_bind_null(st, n) : sqlite3_bind_double(st, n, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray* b = static_cast<const QByteArray*>(v.constData());
            rc = b->isNull() ? sqlite3_bind_null(st, n)
                             : sqlite3_bind_blob(st, n, b->constData(), int(b->size()),
                                                 SQLITE_STATIC);
            break;
        }
        default: {
            if (v.isNull()) {
                rc = sqlite3_bind_null(st, n);
                break;
            }
            // Dates and times as the Qt driver writes them.
            QString t;
            if (v.typeId() == QMetaType::QDateTime) {
                t = v.toDateTime().toString(Qt::ISODateWithMs);
            } else if (v.typeId() == QMetaType::QTime) {
                t = v.toTime().toString(QStringLiteral("hh:mm:ss.zzz"));
            } else {
                t = v.toString();
            }
            ligados_[i] = t;
            const QString* guardado = static_cast<const QString*>(ligados_.at(i).constData());
            rc = sqlite3_bind_text16(st, n, guardado->utf16(),
                                     int(guardado->size() * sizeof(QChar)), SQLITE_STATIC);
            break;
        }
        }
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(st);
    }
    if (rc == SQLITE_ROW) {
        filaPendiente_ = true;
        terminada_ = false;
        afectadasNativa_ = 0;
        return;
    }
    if (rc == SQLITE_DONE) {
        afectadasNativa_ = sqlite3_changes64(sqlite3_db_handle(st));
        sqlite3_reset(st);
        return;
    }
    sqlite3_reset(st);
    falla(rc);
}

void SentenciaPreparada::ejecuta(const QVariantList& valores) {
    for (int intento = 1;; ++intento) {
        try {
            prepara();
            if (nativa_) {
                ejecutaNativa(valores);
                return;
            }
            if (!sinPreparar_) {
                for (int i = 0; i < valores.size(); ++i) {
                    q_->bindValue(i, valores[i]);
                }
            }
            q_->setForwardOnly(!desplazable_);
            if (sinPreparar_) {
                if (!q_->exec(ConValores(textoMotor_, valores, *q_->driver(), rutina_))) {
                    falla(*q_);
                }
                return;
            }
            if (!q_->exec()) {
                falla(*q_);
            }
            return;
        } catch (const FalloKX&) {
            Conexion* cn = db_.gCnn.get();
            const bool perdido = cn && cn->enlacePerdido();
            // A transaction died with the link: running its later statements
            // on a new connection would record half of it.
            if (!perdido || intento >= 3 || !cn->puedeReconectar()) {
                throw;
            }
            q_.reset();
            db_.ReintentaConectar();
            if (!db_.gOpenFlag) {
                throw;
            }
        }
    }
}

bool SentenciaPreparada::siguiente() {
    vigente();
    if (nativa_) {
        if (filaPendiente_) {
            filaPendiente_ = false;
            return true;
        }
        if (terminada_) {
            return false;
        }
        const int rc = sqlite3_step(nativa_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        terminada_ = true;
        sqlite3_reset(nativa_);
        if (rc != SQLITE_DONE) {
            const_cast<SentenciaPreparada*>(this)->falla(rc);
        }
        return false;
    }
    return q_ && q_->next();
}

QVariant SentenciaPreparada::valor(int columna) const {
    vigente();
    if (nativa_) {
        if (terminada_ || columna < 0 || columna >= sqlite3_column_count(nativa_)) {
            return QVariant();
        }
        // The types the Qt driver gives each storage class.
        switch (sqlite3_column_type(nativa_, columna)) {
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(nativa_, columna)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(nativa_, columna));
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        case SQLITE_BLOB: {
            const void* b = sqlite3_column_blob(nativa_, columna);
            return QVariant(QByteArray(static_cast<const char*>(b),
                                       sqlite3_column_bytes(nativa_, columna)));
        }
        default: {
            const void* t = sqlite3_column_text16(nativa_, columna);
            return QVariant(QString(static_cast<const QChar*>(t),
                                    sqlite3_column_bytes16(nativa_, columna) / int(sizeof(QChar))));
        }
        }
    }
    return q_ ? q_->value(columna) : QVariant();
}

int SentenciaPreparada::columna(const QString& nombre) const {
    if (nativa_) {
        const QStringList n = nombres();
        for (int i = 0; i < n.size(); ++i) {
            if (n[i].compare(nombre, Qt::CaseInsensitive) == 0) {
                return i;
            }
        }
        return -1;
    }
    return q_ ? q_->record().indexOf(nombre) : -1;
}

QStringList SentenciaPreparada::nombres() const {
    QStringList r;
    if (nativa_) {
        for (int i = 0; i < sqlite3_column_count(nativa_); ++i) {
            r << QString::fromUtf8(sqlite3_column_name(nativa_, i));
        }
        return r;
    }
    if (q_) {
        const QSqlRecord rec = q_->record();
        for (int i = 0; i < rec.count(); ++i) {
            r << rec.fieldName(i);
        }
    }
    return r;
}

qint64 SentenciaPreparada::afectadas() const {
    if (nativa_) {
        return afectadasNativa_;
    }
    return q_ ? q_->numRowsAffected() : 0;
}

void SentenciaPreparada::abreLectura() {
    Conexion* cn = db_.gCnn.get();
    if (!leyendo_ && cn && cn == conexionPreparada_) {
        cn->abreLectura();
        leyendo_ = true;
    }
}

void SentenciaPreparada::cierraLectura() {
    Conexion* cn = db_.gCnn.get();
    if (leyendo_ && cn && cn == conexionPreparada_) {
        cn->cierraLectura();
    }
    leyendo_ = false;
}

void SentenciaPreparada::vigente() const {
    // A result of a connection that was replaced meanwhile is gone with it:
    // reading it would touch a driver that no longer exists.
    if ((q_ || nativaPreparada_) && conexionPreparada_ != db_.gCnn.get()) {
        throw FalloKX(NumerosADO::ConexionCerrada, kCerrada, rutina_);
    }
}

void SentenciaPreparada::termina() {
    if (nativa_) {
        if (conexionPreparada_ != db_.gCnn.get()) {
            sueltaNativa();
            return;
        }
        sqlite3_reset(nativa_);
        filaPendiente_ = false;
        terminada_ = true;
        return;
    }
    if (q_ && conexionPreparada_ != db_.gCnn.get()) {
        // Its connection is gone: prepared afresh on the next run.
        q_.reset();
        return;
    }
    if (q_) {
        q_->finish();
    }
}
