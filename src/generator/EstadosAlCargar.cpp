#include "generator/EstadosAlCargar.h"

#include <algorithm>

void EstadosAlCargar::insert(qint64 id, const QString& estado) {
    qsizetype i = estados_.indexOf(estado);
    if (i < 0) {
        estados_ << estado;
        i = estados_.size() - 1;
    }
    if (id >= 0 && id < kLimiteTabla && i < 255) {
        if (size_t(id) >= porId_.size()) {
            porId_.resize(std::max(size_t(id) + 1, porId_.size() + porId_.size() / 2), 0);
        }
        porId_[size_t(id)] = quint8(i + 1);
        otros_.remove(id);
        return;
    }
    if (id >= 0 && size_t(id) < porId_.size()) {
        porId_[size_t(id)] = 0;
    }
    otros_.insert(id, quint32(i));
}

QString EstadosAlCargar::value(qint64 id) const {
    if (id >= 0 && size_t(id) < porId_.size() && porId_[size_t(id)] != 0) {
        return estados_.at(qsizetype(porId_[size_t(id)]) - 1);
    }
    const auto it = otros_.constFind(id);
    return it == otros_.constEnd() ? QString() : estados_.at(qsizetype(*it));
}

void EstadosAlCargar::clear() {
    estados_.clear();
    porId_.clear();
    porId_.shrink_to_fit();
    otros_.clear();
}
