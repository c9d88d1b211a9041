#pragma once

#include <QByteArray>
#include <QFile>

// The benchmarks' memory readings of their own process (Linux /proc).
namespace MemoriaProceso {

// A "VmHWM:"-style line of /proc/self/status, in MB; -1 when unreadable.
inline double MB(const char* clave) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (l.startsWith(clave)) {
            return l.mid(int(qstrlen(clave))).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

// Starts the resident peak (VmHWM) again from the current size.
inline void ReiniciaPico() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) {
        f.write("5");
    }
}

} // namespace MemoriaProceso
