#include "application/Spiega.h"

#include <filesystem>
#include <ostream>

#include "application/frmPercheVD.h"
#include "rules/Calcoli.h"
#include "rules/Date.h"
#include "rules/Motore.h"
#include "store/Database.h"
#include "store/DbError.h"

namespace application {

namespace {

rules::RigaMemorizzata Riga(const store::QueryResult& r, std::size_t i) {
    rules::RigaMemorizzata riga;
    for (std::size_t k = 0; k < r.columns.size(); ++k) riga[r.columns[k]] = r.rows[i][k];
    return riga;
}

}  // namespace

std::optional<rules::DomandaMemorizzata> LeggiDomandaMemorizzata(store::Database& db,
                                                                 const std::string& numero) {
    const store::QueryResult domanda =
        db.query("Select * from Domanda where NumRepertorio=?", {numero});
    if (domanda.rows.empty()) return std::nullopt;
    rules::DomandaMemorizzata m;
    m.domanda = Riga(domanda, 0);
    const store::QueryResult nucleo =
        db.query("Select * from NucleoFam where NumRepertorio=? order by ProgrNucleo", {numero});
    for (std::size_t i = 0; i < nucleo.rows.size(); ++i) m.nucleo.push_back(Riga(nucleo, i));
    return m;
}

std::optional<rules::Bando> BandoArchiviato(store::Database& db, const store::Date& oggi) {
    const store::QueryResult r =
        db.query("Select Data_emis_bando, Data_chius_bando from Configurazione");
    if (r.rows.empty()) return std::nullopt;
    const auto emissione = store::parseStoredDateTime(r.rows[0][0].toText());
    const auto chiusura = store::parseStoredDateTime(r.rows[0][1].toText());
    if (!emissione || !chiusura) return std::nullopt;
    return rules::Bando{emissione->date, chiusura->date, oggi};
}

int SpiegaDomanda(const std::string& archivio, const std::string& numero, const store::Date& oggi,
                  std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(
            std::filesystem::path(std::u8string(archivio.begin(), archivio.end())), ec)) {
        err << "Archivio non trovato: " << archivio << "\n";
        return 1;
    }
    try {
        store::Database db = store::Database::openReadOnly(archivio);
        const auto bando = BandoArchiviato(db, oggi);
        if (!bando) {
            err << "L'archivio " << archivio
                << " non contiene la configurazione del posto di lavoro: mancano le date del "
                   "bando.\n";
            return 1;
        }
        const auto memorizzata = LeggiDomandaMemorizzata(db, numero);
        if (!memorizzata) {
            err << "La domanda " << numero << " non è presente in archivio.\n";
            return 1;
        }
        const rules::Spiegazione s = rules::Spiega(rules::LeggiMemorizzata(*memorizzata), *bando);
        const rules::RigaMemorizzata& riga = memorizzata->domanda;
        const auto testo = [&riga](const char* colonna) {
            const auto it = riga.find(colonna);
            return it == riga.end() ? std::string() : it->second.toText();
        };
        frmPercheVD::Contenuto c;
        c.numero = numero;
        c.richiedente = rules::SenzaSpazi(testo("CognomeRich") + " " + testo("NomeRich"));
        c.dataDomanda = rules::FormattaDataMemorizzata(testo("DataDomanda"));
        c.blocchi = rules::BlocchiSpiegazione(s, rules::Origine::Archivio);
        out << TestoPerche(c) << "\n";
        return 0;
    } catch (const store::DbError& e) {
        err << "Impossibile leggere l'archivio " << archivio << ": " << e.description() << "\n";
        return 1;
    }
}

}  // namespace application
