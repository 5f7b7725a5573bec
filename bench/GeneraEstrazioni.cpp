#include "GeneraEstrazioni.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include "rules/Motore.h"
#include "rules/Testi.h"
#include "store/Database.h"
#include "store/EmbeddedData.h"

namespace bench {

namespace {

std::vector<std::string> CodiciComuni() {
    std::vector<std::string> codici;
    std::string_view tsv = store::embedded::comuniTsv();
    tsv.remove_prefix(tsv.find('\n') + 1);
    while (!tsv.empty()) {
        const std::size_t tab = tsv.find('\t');
        if (tab == std::string_view::npos) break;
        codici.emplace_back(tsv.substr(0, tab));
        const std::size_t fine = tsv.find('\n');
        tsv = fine == std::string_view::npos ? std::string_view() : tsv.substr(fine + 1);
    }
    return codici;
}

// Letters for a number: 0 -> "A", 25 -> "Z", 26 -> "BA".
std::string Lettere(long long n, std::size_t minimo = 1) {
    std::string r;
    do {
        r.insert(r.begin(), static_cast<char>('A' + n % 26));
        n /= 26;
    } while (n > 0);
    while (r.size() < minimo) r.insert(r.begin(), 'A');
    return r;
}

const char* const kCognomi[] = {"ROSSI",  "RUSSO",   "FERRARI", "ESPOSITO", "BIANCHI",
                                "ROMANO", "COLOMBO", "RICCI",   "MARINO",   "GRECO",
                                "BRUNO",  "GALLO",   "CONTI",   "DE LUCA",  "D'ANGELO"};
const char* const kNomi[] = {"MARIO", "LUCA",  "ANNA",  "GIULIA", "PAOLO",
                             "SARA",  "MARCO", "ELENA", "FRANCO", "MARTA"};

// A person of the region, by number: surname, name and birth date.
std::string Cognome(long long p) {
    return std::string(kCognomi[p % 15]) + Lettere(p / 15, 3);
}
std::string Nome(long long p) {
    return kNomi[(p / 7) % 10];
}
std::string Nascita(long long p) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld", 1930 + p % 70, 1 + (p / 70) % 12,
                  1 + (p / 840) % 28);
    return buf;
}
std::string CodiceFiscale(long long domanda) {
    return "RGN" + Lettere(domanda, 7) + "00A001Z";
}

struct Disposizione {
    std::vector<std::string> comuni;
    std::vector<long long> inizio;  // global number of each file's first application
    std::vector<int> quante;
};

Disposizione Disponi(int file, int domande) {
    Disposizione d;
    d.comuni = CodiciComuni();
    for (int k = 0; k < file; ++k) {
        d.quante.push_back(static_cast<int>((static_cast<long long>(k + 1) * domande) / file -
                                            (static_cast<long long>(k) * domande) / file));
    }
    // Uneven sizes, moved in pairs so that the sum stays exact.
    for (int k = 0; k + 1 < file; k += 2) {
        const int scarto = std::min((k * 37) % 400, d.quante[static_cast<std::size_t>(k)] / 2);
        d.quante[static_cast<std::size_t>(k)] += scarto;
        d.quante[static_cast<std::size_t>(k) + 1] -= scarto;
    }
    long long inizio = 0;
    for (const int n : d.quante) {
        d.inizio.push_back(inizio);
        inizio += n;
    }
    return d;
}

rules::RigaMemorizzata Riga(const store::QueryResult& r, std::size_t i) {
    rules::RigaMemorizzata riga;
    for (std::size_t k = 0; k < r.columns.size(); ++k) riga[r.columns[k]] = r.rows[i][k];
    return riga;
}

// Stores the band, admissibility and requested contribution the rules give the application,
// as the application screen does when it is registered.
void RisultatiDelleRegole(store::Database& db, const std::string& numero, const rules::Bando& b) {
    rules::DomandaMemorizzata m;
    m.domanda = Riga(db.query("SELECT * FROM Domanda WHERE NumRepertorio = ?", {numero}), 0);
    const store::QueryResult nucleo =
        db.query("SELECT * FROM NucleoFam WHERE NumRepertorio = ?", {numero});
    for (std::size_t i = 0; i < nucleo.rows.size(); ++i) m.nucleo.push_back(Riga(nucleo, i));
    const rules::Domanda d =
        rules::Calcola(rules::LeggiMemorizzata(m), b, rules::Avvio::Tutto).domanda;
    db.execute(
        "UPDATE Domanda SET Fascia = ?, FlagDomandaOK = ?, ContribRichiesto = ? WHERE "
        "NumRepertorio = ?",
        {d.fascia, d.ammessa ? "1" : "0", d.richiesto.valore, numero});
}

void ScriviFile(const std::string& percorso, const std::string& comune, const std::string& punto,
                long long primo, int n) {
    const std::string tmp = percorso + ".tmp";
    std::filesystem::remove(tmp);
    {
        store::Database db = store::Database::create(tmp);
        store::Transaction tx(db);
        db.execute(
            "INSERT INTO Configurazione (CodComune, Punto_lavoro, Data_emis_bando, "
            "Data_chius_bando, Progressivo_domande, Utente, Password, ImpoCoFinanz, "
            "ImpoContribConc, PercContribConc) VALUES (?, ?, '2006-07-14', '2006-09-30', ?, "
            "'operatore', '$argon2id$v=19$m=65536,t=2,p=1$c2FsZQ$aGFzaA', ?, 0, 0)",
            {comune, punto, n, static_cast<double>(primo % 1000) * 10.5});
        const rules::Bando bando{{2006, 7, 14}, {2006, 9, 30}, {2006, 9, 1}};
        for (int i = 0; i < n; ++i) {
            const long long g = primo + i;  // the application's number in the region
            const std::string numero = comune + "2005" + punto + std::to_string(i + 1);
            // Every 200th applicant applied already, 4,999 applications earlier (elsewhere).
            const long long richiedente = (g % 200 == 199 && g >= 4999) ? g - 4999 : g;
            const int membri = 1 + static_cast<int>(g % 4);
            const double canone = 3000 + static_cast<double>(g % 5000);
            const double reddito = 6000 + static_cast<double>((g * 37) % 20000);
            const bool ok = g % 5 != 0;
            const double richiesto = ok ? static_cast<double>((g * 7919) % 300000) / 100 : 0;
            db.execute(
                "INSERT INTO Domanda VALUES (?, '2006-09-01', ?, ?, ?, ?, 'VIA ROMA 1', '40100', "
                "?, ?, ?, ?, ?, ?, ?, 'P', '123/2003', '2003-02-01', '2003-01-15', '', NULL, "
                "NULL, '0', 'A3', 75.5, 2, 'B', 'M', '1', '0', '1', '0', '1', 'L', '0', '0', "
                "'0', '0', ?, '0', 0, 0, ?, 0, ?, 0, 0, '0', 0, '0', 0, ?, '0', '0', '0', '0', "
                "'0', '0', '0', '0', '2006-09-01 10:00:00')",
                {numero, Cognome(richiedente * 4), Nome(richiedente * 4),
                 CodiceFiscale(richiedente), comune, membri, static_cast<int>(g % 3), reddito,
                 reddito - 500, canone * 100 / reddito, g % 3 == 0 ? "B" : "A", canone, richiesto,
                 richiesto, richiesto, ok ? "1" : "0"});
            for (int m = 0; m < membri; ++m) {
                long long p = richiedente * 4 + m;
                // One member in three hundred is someone of a household far away.
                if (m > 0 && (g * 7 + m) % 300 == 0 && p >= 20000) p -= 20000;
                db.execute(
                    "INSERT INTO NucleoFam VALUES (?, ?, ?, ?, ?, '01', ?, "
                    "'2006-09-01 10:00:00')",
                    {numero, m + 1, Cognome(p) + " " + Nome(p), m == 0 ? "0" : "3", Nascita(p),
                     m == 0 ? reddito : 0.0});
            }
            RisultatiDelleRegole(db, numero, bando);
        }
        tx.commit();
    }
    std::filesystem::rename(tmp, percorso);
}

}  // namespace

void GeneraEstrazioni(const std::string& cartella, int file, int domande) {
    const Disposizione d = Disponi(file, domande);
    std::atomic<int> prossimo{0};
    std::exception_ptr errore;
    auto lavora = [&] {
        try {
            for (int k = prossimo++; k < file; k = prossimo++) {
                const std::string& comune = d.comuni[static_cast<std::size_t>(k) % d.comuni.size()];
                const std::string punto =
                    Lettere(static_cast<long long>(k) / static_cast<long long>(d.comuni.size()), 2);
                const std::string percorso =
                    cartella + "/Vendral2005_" + comune + "_" + punto + ".mdb";
                if (!std::filesystem::exists(percorso))
                    ScriviFile(percorso, comune, punto, d.inizio[static_cast<std::size_t>(k)],
                               d.quante[static_cast<std::size_t>(k)]);
            }
        } catch (...) {
            errore = std::current_exception();
        }
    };
    std::thread altro(lavora);
    lavora();
    altro.join();
    if (errore) std::rethrow_exception(errore);
}

}  // namespace bench
