#include "db/SentenciaPreparada.h"

#include "db/DB_Dll.h"

#include "utility_library/LogKX.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {
const QString kCerrada = QStringLiteral("La conexión con la base de datos no está abierta.");
}

SentenciaPreparada::SentenciaPreparada(DB_Dll& db, const QString& sql, const QString& rutina)
    : db_(db), rutina_(rutina) {
    texto_ = db.SS_TSinonimos(sql);
}

void SentenciaPreparada::prepara() {
    Conexion* cn = db_.gCnn.get();
    if (!cn || !cn->abierta()) {
        cn = nullptr;
    }
    if (!cn) {
        throw FalloKX(NumerosADO::ConexionCerrada, kCerrada, rutina_);
    }
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
        ErrorKX e = f.error();
        e.fuente = rutina_;
        // The layer's log line; the caller's dialog asks the operator.
        LogKX::agrega(
            QlUtil::AgregaBarra(Programa::carpeta()) + QStringLiteral("KXERR.LOG"),
            LogKX::linea(Reloj::ahora(), LogKX::textoRutina(rutina_), LogKX::mensaje(e), 0));
        throw FalloKX(e);
    }
    throw FalloKX(NumerosADO::ErrorSql, q.lastError().text(), rutina_);
}

void SentenciaPreparada::ejecuta(const QVariantList& valores) {
    for (int intento = 1;; ++intento) {
        try {
            prepara();
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
    return q_ && q_->next();
}

QVariant SentenciaPreparada::valor(int columna) const {
    vigente();
    return q_ ? q_->value(columna) : QVariant();
}

int SentenciaPreparada::columna(const QString& nombre) const {
    return q_ ? q_->record().indexOf(nombre) : -1;
}

QStringList SentenciaPreparada::nombres() const {
    QStringList r;
    if (q_) {
        const QSqlRecord rec = q_->record();
        for (int i = 0; i < rec.count(); ++i) {
            r << rec.fieldName(i);
        }
    }
    return r;
}

qint64 SentenciaPreparada::afectadas() const {
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
    if (q_ && conexionPreparada_ != db_.gCnn.get()) {
        throw FalloKX(NumerosADO::ConexionCerrada, kCerrada, rutina_);
    }
}

void SentenciaPreparada::termina() {
    if (q_ && conexionPreparada_ != db_.gCnn.get()) {
        // Its connection is gone: prepared afresh on the next run.
        q_.reset();
        return;
    }
    if (q_) {
        q_->finish();
    }
}
