#include "db/motores/Motor.h"
#include "db/motores/MotorOracle.h"
#include "db/motores/MotorPostgreSql.h"
#include "db/motores/MotorSqlServer.h"
#include "db/motores/MotorSqlite.h"

// The one place that lists the engines.
const std::vector<const Motor*>& Motores() {
    static const MotorSqlServer sqlServer;
    static const MotorOracle oracle;
    static const MotorPostgreSql postgreSql;
    static const MotorSqlite sqlite;
    static const std::vector<const Motor*> todos = {&sqlServer, &oracle, &postgreSql, &sqlite};
    return todos;
}

const Motor& MotorDe(Plataforma p) {
    for (const Motor* m : Motores()) {
        if (m->plataforma() == p) {
            return *m;
        }
    }
    return *Motores().front();
}
