#include "regione/MotorePostgres.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstdlib>
#include <utility>

namespace regione {

namespace {

// Type numbers of the columns whose text is a number.
constexpr Oid kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

std::string senzaACapo(std::string testo) {
    while (!testo.empty() && (testo.back() == '\n' || testo.back() == ' ')) testo.pop_back();
    return testo;
}

[[noreturn]] void fallisci(PGconn* c, const std::string& cosa) {
    throw ErroreDatabase("errore del database della Regione (PostgreSQL) " + cosa + ": " +
                         senzaACapo(PQerrorMessage(c)));
}

std::string testo(const store::Value& v) {
    if (v.isReal()) {
        // The shortest text that reads back as the same double.
        char buf[32];
        const auto [fine, ec] = std::to_chars(buf, buf + sizeof buf, v.toDouble());
        return std::string(buf, fine);
    }
    return v.toText();
}

store::Value valore(const PGresult* r, int riga, int col) {
    if (PQgetisnull(r, riga, col)) return {};
    const char* t = PQgetvalue(r, riga, col);
    const std::string s(t, static_cast<std::size_t>(PQgetlength(r, riga, col)));
    switch (PQftype(r, col)) {
        case kInt2:
        case kInt4:
        case kInt8:
            return store::Value(static_cast<std::int64_t>(std::strtoll(t, nullptr, 10)));
        case kNumeric:
            if (s.find_first_of(".eE") == std::string::npos)
                return store::Value(static_cast<std::int64_t>(std::strtoll(t, nullptr, 10)));
            return store::Value(std::strtod(t, nullptr));
        case kFloat4:
        case kFloat8:
            return store::Value(std::strtod(t, nullptr));
        default:
            return store::Value(s);
    }
}

// Results of one command, freed when done.
struct Esito {
    PGresult* r;
    explicit Esito(PGresult* res) : r(res) {}
    ~Esito() { PQclear(r); }
    Esito(const Esito&) = delete;
    Esito& operator=(const Esito&) = delete;
    ExecStatusType stato() const { return PQresultStatus(r); }
};

// Discards what is left of the current command's results.
void scarta(PGconn* c) {
    while (PGresult* r = PQgetResult(c)) PQclear(r);
}

class CaricamentoPostgres : public Caricamento {
public:
    CaricamentoPostgres(PGconn* c, const Tabella& t) : c_(c) {
        std::string nomi;
        for (const std::string& n : t.nomi()) nomi += (nomi.empty() ? "" : ", ") + n;
        Esito e(PQexec(c_, ("COPY " + t.nome + " (" + nomi + ") FROM STDIN").c_str()));
        if (e.stato() != PGRES_COPY_IN) fallisci(c_, "all'avvio del caricamento");
        aperto_ = true;
    }

    ~CaricamentoPostgres() override {
        if (!aperto_) return;
        PQputCopyEnd(c_, "caricamento annullato");
        scarta(c_);
    }
    CaricamentoPostgres(const CaricamentoPostgres&) = delete;
    CaricamentoPostgres& operator=(const CaricamentoPostgres&) = delete;

    void riga(const Riga& valori) override {
        for (std::size_t i = 0; i < valori.size(); ++i) {
            if (i > 0) buffer_ += '\t';
            AggiungiCampoCopia(buffer_, valori[i]);
        }
        buffer_ += '\n';
        if (buffer_.size() >= kBlocco) invia();
    }

    void fine() override {
        invia();
        aperto_ = false;
        if (PQputCopyEnd(c_, nullptr) != 1) fallisci(c_, "alla fine del caricamento");
        Esito e(PQgetResult(c_));
        const bool ok = e.stato() == PGRES_COMMAND_OK;
        const std::string errore = ok ? "" : senzaACapo(PQresultErrorMessage(e.r));
        scarta(c_);
        if (!ok) throw ErroreDatabase("errore del database della Regione (PostgreSQL): " + errore);
    }

private:
    static constexpr std::size_t kBlocco = 1 << 18;

    void invia() {
        if (buffer_.empty()) return;
        if (PQputCopyData(c_, buffer_.data(), static_cast<int>(buffer_.size())) != 1)
            fallisci(c_, "durante il caricamento");
        buffer_.clear();
    }

    PGconn* c_;
    bool aperto_ = false;
    std::string buffer_;
};

class MotorePostgres : public Motore {
public:
    explicit MotorePostgres(PGconn* c) : c_(c) {}
    ~MotorePostgres() override { PQfinish(c_); }
    MotorePostgres(const MotorePostgres&) = delete;
    MotorePostgres& operator=(const MotorePostgres&) = delete;

    void preparaSchema() override {
        // Texts compare and sort by their bytes, as in the embedded file, whatever the
        // database's locale.
        for (const Tabella* t : Tabelle())
            esegui(CreaTabella(*t, {"TEXT COLLATE \"C\"", "BIGINT", "DOUBLE PRECISION"}), {});
        for (const Indice& i : Indici()) esegui(CreaIndice(i), {});
    }

    bool haSchema() override {
        std::int64_t n = 0;
        interroga(
            "SELECT count(*) FROM information_schema.tables WHERE table_schema = "
            "current_schema() AND table_name IN ('configurazione', 'domanda', 'nucleofam')",
            {}, [&](const Riga& r) { n = r[0].toInt(); });
        return n == 3;
    }

    void inizia() override {
        esegui("BEGIN", {});
        // One importer at a time; readers go on.
        esegui("LOCK TABLE Configurazione IN SHARE ROW EXCLUSIVE MODE", {});
    }

    void conferma() override {
        Esito e(PQexec(c_, "COMMIT"));
        // A transaction that failed earlier answers COMMIT with a rollback.
        if (e.stato() != PGRES_COMMAND_OK || std::string(PQcmdStatus(e.r)) != "COMMIT")
            fallisci(c_, "alla conferma");
    }

    void annulla() override {
        if (PQtransactionStatus(c_) != PQTRANS_IDLE) Esito(PQexec(c_, "ROLLBACK"));
    }

    void esegui(const std::string& sql, const Riga& parametri) override {
        Parametri p(parametri);
        Esito e(PQexecParams(c_, SegnapostoPostgres(sql).c_str(), p.n(), nullptr, p.valori(),
                             nullptr, nullptr, 0));
        if (e.stato() != PGRES_COMMAND_OK && e.stato() != PGRES_TUPLES_OK) fallisci(c_, "");
    }

    void interroga(const std::string& sql, const Riga& parametri,
                   const std::function<void(const Riga&)>& leggi) override {
        Parametri p(parametri);
        if (!PQsendQueryParams(c_, SegnapostoPostgres(sql).c_str(), p.n(), nullptr, p.valori(),
                               nullptr, nullptr, 0))
            fallisci(c_, "");
        PQsetSingleRowMode(c_);
        std::string errore;
        std::exception_ptr interrotta;
        while (PGresult* res = PQgetResult(c_)) {
            Esito e(res);
            if (e.stato() == PGRES_SINGLE_TUPLE && !interrotta) {
                Riga r;
                const int n = PQnfields(res);
                r.reserve(static_cast<std::size_t>(n));
                for (int c = 0; c < n; ++c) r.push_back(valore(res, 0, c));
                try {
                    leggi(r);
                } catch (...) {
                    // The connection must read the command to its end before it is reused.
                    interrotta = std::current_exception();
                }
            } else if (e.stato() != PGRES_SINGLE_TUPLE && e.stato() != PGRES_TUPLES_OK) {
                errore = senzaACapo(PQresultErrorMessage(res));
            }
        }
        if (interrotta) std::rethrow_exception(interrotta);
        if (!errore.empty())
            throw ErroreDatabase("errore del database della Regione (PostgreSQL): " + errore);
    }

    std::unique_ptr<Caricamento> carica(const Tabella& t) override {
        return std::make_unique<CaricamentoPostgres>(c_, t);
    }

    void dopoImportazione() override { esegui("ANALYZE Configurazione, Domanda, NucleoFam", {}); }

private:
    // Parameters as texts, null where the value is null.
    class Parametri {
    public:
        explicit Parametri(const Riga& valori) {
            testi_.reserve(valori.size());
            for (const store::Value& v : valori) testi_.push_back(testo(v));
            for (std::size_t i = 0; i < valori.size(); ++i)
                puntatori_.push_back(valori[i].isNull() ? nullptr : testi_[i].c_str());
        }
        int n() const { return static_cast<int>(puntatori_.size()); }
        const char* const* valori() const { return puntatori_.data(); }

    private:
        std::vector<std::string> testi_;
        std::vector<const char*> puntatori_;
    };

    PGconn* c_;
};

void nienteAvvisi(void*, const char*) {}

}  // namespace

std::string SegnapostoPostgres(const std::string& sql) {
    std::string r;
    int n = 0;
    char apice = 0;  // the quote character of the quoted text being copied, 0 outside
    for (const char c : sql) {
        if (apice) {
            if (c == apice) apice = 0;
            r += c;
        } else if (c == '\'' || c == '"') {
            apice = c;
            r += c;
        } else if (c == '?') {
            r += "$" + std::to_string(++n);
        } else {
            r += c;
        }
    }
    return r;
}

void AggiungiCampoCopia(std::string& riga, const store::Value& v) {
    if (v.isNull()) {
        riga += "\\N";
        return;
    }
    for (const char c : testo(v)) {
        switch (c) {
            case '\\':
                riga += "\\\\";
                break;
            case '\t':
                riga += "\\t";
                break;
            case '\n':
                riga += "\\n";
                break;
            case '\r':
                riga += "\\r";
                break;
            default:
                riga += c;
        }
    }
}

std::unique_ptr<Motore> ApriMotorePostgres(const std::string& uri) {
    PGconn* c = PQconnectdb(uri.c_str());
    auto motore = std::make_unique<MotorePostgres>(c);  // finishes c whatever happens next
    if (c == nullptr) throw ErroreDatabase("memoria insufficiente per collegarsi a PostgreSQL");
    if (PQstatus(c) != CONNECTION_OK)
        throw ErroreDatabase("collegamento a PostgreSQL non riuscito: " +
                             senzaACapo(PQerrorMessage(c)));
    PQsetNoticeProcessor(c, nienteAvvisi, nullptr);
    if (PQsetClientEncoding(c, "UTF8") != 0) fallisci(c, "nella scelta della codifica UTF-8");
    return motore;
}

}  // namespace regione
