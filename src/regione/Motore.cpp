#include "regione/Motore.h"

#include "regione/MotorePostgres.h"
#include "regione/MotoreSqlite.h"

namespace regione {

bool IndirizzoPostgres(const std::string& db) {
    return db.starts_with("postgresql://") || db.starts_with("postgres://");
}

std::unique_ptr<Motore> ApriMotore(const std::string& db, bool crea) {
    std::unique_ptr<Motore> m =
        IndirizzoPostgres(db) ? ApriMotorePostgres(db) : ApriMotoreSqlite(db, crea);
    if (crea) {
        m->preparaSchema();
    } else if (!m->haSchema()) {
        throw ErroreDatabase("il database " + (IndirizzoPostgres(db) ? "PostgreSQL" : db) +
                             " non contiene dati della Regione: importare prima gli archivi "
                             "dei Comuni");
    }
    return m;
}

}  // namespace regione
