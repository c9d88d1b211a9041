#include "generator_sql/FilaDeSentencia.h"

#include "db/SentenciaPreparada.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlTexto.h"

#include <QDate>
#include <QDateTime>

namespace {
// "2026-12-11" or "2026-12-11 00:00:00": a date kept as text.
QVariant comoFecha(const QVariant& v) {
    if (v.typeId() != QMetaType::QString) {
        return v;
    }
    const QString s = v.toString();
    if (s.size() < 10 || s.size() > 23 || s[4] != QLatin1Char('-') || s[7] != QLatin1Char('-')) {
        return v;
    }
    const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    if (!d.isValid()) {
        return v;
    }
    if (s.size() == 10) {
        return d;
    }
    const QDateTime dt =
        QDateTime::fromString(s.left(19).replace(QLatin1Char('T'), QLatin1Char(' ')),
                              QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return dt.isValid() ? QVariant(dt) : v;
}
} // namespace

CursorSentencia::CursorSentencia(std::unique_ptr<SentenciaPreparada> sentencia, int total,
                                 bool copia, bool fechasComoTexto)
    : s_(std::move(sentencia)), total_(total), copia_(copia), fechasComoTexto_(fechasComoTexto) {
    nombres_ = s_->nombres();
    if (copia_) {
        while (s_->siguiente()) {
            QVector<QVariant> f(nombres_.size());
            for (int i = 0; i < nombres_.size(); ++i) {
                f[i] = s_->valor(i);
            }
            filas_.push_back(std::move(f));
        }
        s_->termina();
        total_ = int(filas_.size());
        hay_ = !filas_.isEmpty();
    } else {
        s_->abreLectura();
        hay_ = s_->siguiente();
    }
}

CursorSentencia::CursorSentencia(std::unique_ptr<SentenciaPreparada> trae, int bloque,
                                 std::unique_ptr<SentenciaPreparada> cierra, int total,
                                 bool fechasComoTexto)
    : s_(std::move(trae)), cierra_(std::move(cierra)), bloque_(bloque), total_(total),
      fechasComoTexto_(fechasComoTexto) {
    s_->ejecuta({});
    s_->abreLectura();
    nombres_ = s_->nombres();
    hay_ = leeFila();
}

CursorSentencia::~CursorSentencia() {
    if (registro_ && *registro_ == this) {
        *registro_ = nullptr;
    }
    if (s_) {
        s_->cierraLectura();
        s_->termina();
    }
    if (cierra_) {
        // A cursor kept on the server lives until the session ends; a failure
        // here (the link already gone) has nothing left to release.
        try {
            cierra_->ejecuta({});
            cierra_->termina();
        } catch (...) {
            // Nothing may leave a destructor; the failure that lost the link
            // was already reported where it happened.
        }
    }
}

bool CursorSentencia::leeFila() {
    if (s_->siguiente()) {
        ++filasDelBloque_;
        return true;
    }
    // A short block was the cursor's last.
    if (bloque_ == 0 || filasDelBloque_ < bloque_) {
        return false;
    }
    s_->termina();
    s_->ejecuta({});
    filasDelBloque_ = 0;
    if (!s_->siguiente()) {
        return false;
    }
    filasDelBloque_ = 1;
    return true;
}

void CursorSentencia::siguiente() {
    if (copia_) {
        ++pos_;
        hay_ = pos_ < filas_.size();
    } else {
        hay_ = leeFila();
    }
}

QVariant CursorSentencia::valor(int i) const {
    const QVariant v = copia_ ? filas_[pos_][i] : s_->valor(i);
    return fechasComoTexto_ ? comoFecha(v) : v;
}

void CursorSentencia::registraEn(CursorSentencia** registro) {
    registro_ = registro;
    *registro_ = this;
}

std::optional<std::optional<ArticuloLote>>
CursorSentencia::articulo(const QString& idArticulo) const {
    static const QString kHay = QStringLiteral("KXA_HAY");
    const int hay = indice(kHay);
    const int id = indice(QStringLiteral("IDARTICULO"));
    if (!hay_ || hay < 0 || id < 0) {
        return std::nullopt;
    }
    // Only the current row's own article: the same text the lookup would bind.
    const QVariant propio = valor(id);
    if (propio.isNull() || propio.toString() != idArticulo) {
        return std::nullopt;
    }
    if (valor(hay).isNull()) {
        return std::optional<ArticuloLote>();
    }
    // Read as the lookup's own values are.
    const auto c = [&](const char* nombre) {
        return QlUtil::NoNulo(valor(indice(QLatin1String(nombre))));
    };
    return std::optional<ArticuloLote>(ArticuloLote{c("KXA_TASAIVA"), c("KXA_CODIGOBARRA"),
                                                    c("KXA_PESABLE"), c("KXA_DESCRIPABREV"),
                                                    c("KXA_DESCRIPCION")});
}

int CursorSentencia::indice(const QString& nombre) const {
    auto it = indices_.constFind(nombre);
    if (it == indices_.constEnd()) {
        int indice = -1;
        for (int i = 0; i < nombres_.size(); ++i) {
            if (nombres_[i].compare(nombre, Qt::CaseInsensitive) == 0) {
                indice = i;
                break;
            }
        }
        it = indices_.insert(nombre, indice);
    }
    return *it;
}

QVariant CursorSentencia::Campo(const QString& nombre) const {
    const int i = indice(nombre);
    if (i < 0) {
        throw FalloKX(3265,
                      QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal (%1).")
                          .arg(nombre),
                      QStringLiteral("ADODB.Recordset"));
    }
    return valor(i);
}
