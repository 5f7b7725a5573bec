#pragma once
// The Region's database engine: the embedded encrypted file or a PostgreSQL server behind the
// same small interface. Statements are plain SQL that both engines understand, with "?" for
// each parameter; rows are read one at a time, so no result is held whole.
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "regione/Schema.h"
#include "store/Value.h"

namespace regione {

using Riga = std::vector<store::Value>;

// A failure of the Region's own database (not of a municipality's file); the text is Italian.
class ErroreDatabase : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bulk load of one table's rows, all columns in the table's order.
class Caricamento {
public:
    virtual ~Caricamento() = default;
    virtual void riga(const Riga& valori) = 0;
    // Completes the load; a load destroyed without it is abandoned (and its transaction with it).
    virtual void fine() = 0;
};

class Motore {
public:
    virtual ~Motore() = default;

    // Creates the tables and indexes that are missing.
    virtual void preparaSchema() = 0;
    // Whether the tables exist (the database has been imported into at least once).
    virtual bool haSchema() = 0;

    // A write transaction, exclusive among importers; readers are not blocked.
    virtual void inizia() = 0;
    virtual void conferma() = 0;
    virtual void annulla() = 0;

    virtual void esegui(const std::string& sql, const Riga& parametri = {}) = 0;
    // Runs a select and hands each row to leggi, in order.
    virtual void interroga(const std::string& sql, const Riga& parametri,
                           const std::function<void(const Riga&)>& leggi) = 0;
    virtual std::unique_ptr<Caricamento> carica(const Tabella& tabella) = 0;

    // After a batch of imports: refreshes what the engine keeps for planning its queries.
    virtual void dopoImportazione() {}
};

// "postgresql://..." or "postgres://..." (a libpq connection URI) is a PostgreSQL server;
// anything else is the path of the embedded file.
bool IndirizzoPostgres(const std::string& db);

// Opens the Region's database. With crea, a missing file is created (an existing one must be
// the Region's); without, a missing file is an error. Throws ErroreDatabase.
std::unique_ptr<Motore> ApriMotore(const std::string& db, bool crea);

}  // namespace regione
