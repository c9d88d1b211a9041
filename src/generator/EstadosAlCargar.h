#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The state each loaded price row had when it was read, by price-row ID: the
// mark at generation only succeeds on that state. A batch has a handful of
// states and up to hundreds of thousands of rows, so each row keeps the
// number of its state, not a text of its own: in a table indexed by the ID
// itself while IDs stay small (as a table's own counter gives them), in a
// hash beyond.
class EstadosAlCargar {
public:
    void insert(qint64 id, const QString& estado);
    // The state read for `id`; empty when none was.
    QString value(qint64 id) const;
    void clear();

    // IDs below this go into the table (at most one byte each).
    static constexpr qint64 kLimiteTabla = qint64(1) << 24;

private:
    QStringList estados_;
    std::vector<quint8> porId_; // the state's number + 1; 0: none
    QHash<qint64, quint32> otros_;
};
