#include "regione/MotoreSqlite.h"

#include <filesystem>
#include <utility>

#include <sqlcipher/sqlite3.h>

#include "store/Database.h"

namespace regione {

namespace {

// The engine's reason in Italian where one is known, with the engine's own words after it.
[[noreturn]] void fallisci(sqlite3* db, int rc) {
    const std::string dettaglio = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    std::string motivo;
    switch (rc & 0xFF) {
        case SQLITE_NOTADB:
            motivo = "il file non è un database della Regione (o ha un'altra password)";
            break;
        case SQLITE_CORRUPT:
            motivo = "il database della Regione è danneggiato";
            break;
        case SQLITE_FULL:
            motivo = "spazio su disco esaurito";
            break;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            motivo = "il database della Regione è in uso da un'altra operazione";
            break;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            motivo = "impossibile scrivere nel database della Regione";
            break;
        default:
            motivo = "errore del database della Regione";
    }
    throw ErroreDatabase(motivo + " (" + dettaglio + ")");
}

class Istruzione {
public:
    Istruzione(sqlite3* db, const std::string& sql) : db_(db) {
        const int rc =
            sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr);
        if (rc != SQLITE_OK) fallisci(db, rc);
    }
    ~Istruzione() { sqlite3_finalize(st_); }
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;

    void lega(const Riga& valori) {
        sqlite3_reset(st_);
        for (std::size_t i = 0; i < valori.size(); ++i) {
            const int rc = store::bindValue(st_, static_cast<int>(i + 1), valori[i]);
            if (rc != SQLITE_OK) fallisci(db_, rc);
        }
    }

    // True while a row is ready.
    bool passo() {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        fallisci(db_, rc);
    }

    Riga riga() const {
        const int n = sqlite3_column_count(st_);
        Riga r;
        r.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st_, c)) {
                case SQLITE_INTEGER:
                    r.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(st_, c)));
                    break;
                case SQLITE_FLOAT:
                    r.emplace_back(sqlite3_column_double(st_, c));
                    break;
                case SQLITE_NULL:
                    r.emplace_back();
                    break;
                default:
                    r.emplace_back(
                        std::string(reinterpret_cast<const char*>(sqlite3_column_text(st_, c)),
                                    static_cast<std::size_t>(sqlite3_column_bytes(st_, c))));
            }
        }
        return r;
    }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

class CaricamentoSqlite : public Caricamento {
public:
    CaricamentoSqlite(sqlite3* db, const Tabella& t) : ins_(db, Inserimento(t)) {}
    void riga(const Riga& valori) override {
        ins_.lega(valori);
        ins_.passo();
    }
    // Each row is written as it comes; the transaction decides what stays.
    void fine() override {}

private:
    Istruzione ins_;
};

class MotoreSqlite : public Motore {
public:
    explicit MotoreSqlite(sqlite3* db) : db_(db) {}
    ~MotoreSqlite() override { sqlite3_close_v2(db_); }
    MotoreSqlite(const MotoreSqlite&) = delete;
    MotoreSqlite& operator=(const MotoreSqlite&) = delete;

    void preparaSchema() override {
        for (const Tabella* t : Tabelle()) esegui(CreaTabella(*t, {"TEXT", "INTEGER", "REAL"}), {});
        for (const Indice& i : Indici()) esegui(CreaIndice(i), {});
    }

    bool haSchema() override {
        std::int64_t n = 0;
        interroga(
            "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
            "('Configurazione', 'Domanda', 'NucleoFam')",
            {}, [&](const Riga& r) { n = r[0].toInt(); });
        return n == 3;
    }

    void inizia() override { esegui("BEGIN IMMEDIATE", {}); }
    void conferma() override { esegui("COMMIT", {}); }
    void annulla() override {
        if (sqlite3_get_autocommit(db_) == 0)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    void esegui(const std::string& sql, const Riga& parametri) override {
        Istruzione st(db_, sql);
        st.lega(parametri);
        while (st.passo()) {
        }
    }

    void interroga(const std::string& sql, const Riga& parametri,
                   const std::function<void(const Riga&)>& leggi) override {
        Istruzione st(db_, sql);
        st.lega(parametri);
        while (st.passo()) leggi(st.riga());
    }

    std::unique_ptr<Caricamento> carica(const Tabella& t) override {
        return std::make_unique<CaricamentoSqlite>(db_, t);
    }

private:
    sqlite3* db_;
};

}  // namespace

std::unique_ptr<Motore> ApriMotoreSqlite(const std::string& percorso, bool crea) {
    std::error_code ec;
    if (!crea && !std::filesystem::exists(percorso, ec)) {
        throw ErroreDatabase("il database " + percorso +
                             " non esiste: importare prima gli archivi dei Comuni");
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (crea ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(percorso.c_str(), &db, flags, nullptr);
    auto motore = std::make_unique<MotoreSqlite>(db);  // closes db whatever happens next
    if (rc != SQLITE_OK) fallisci(db, rc);
    const std::string password = store::kArchivePassword;
    rc = sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    if (rc != SQLITE_OK) fallisci(db, rc);
    // Larger pages than the municipalities' small archives: a region's worth of rows is read
    // and written with a quarter of the pages to encrypt. The cache is bounded, whatever the
    // size of the region.
    for (const char* pragma : {"PRAGMA cipher_page_size = 4096", "PRAGMA cache_size = -32768"}) {
        rc = sqlite3_exec(db, pragma, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) fallisci(db, rc);
    }
    sqlite3_busy_timeout(db, 10000);
    // The key is checked when the first page is read.
    motore->interroga("SELECT count(*) FROM sqlite_master", {}, [](const Riga&) {});
    if (crea && sqlite3_db_readonly(db, "main") == 1) fallisci(db, SQLITE_READONLY);
    return motore;
}

}  // namespace regione
