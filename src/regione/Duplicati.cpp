#include "regione/Duplicati.h"

#include <cstdint>
#include <cstdio>

#include "regione/Riepilogo.h"
#include "store/DateTime.h"

namespace regione {

namespace {

std::string DataVisibile(const std::string& iso) {
    const auto d = store::parseStoredDateTime(iso);
    if (!d) return iso;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d->date.day, d->date.month, d->date.year);
    return buf;
}

std::string Conteggio(std::int64_t n, const char* singolare, const char* plurale) {
    return std::to_string(n) + " " + (n == 1 ? singolare : plurale);
}

}  // namespace

void SegnaDoppi(Motore& m, const std::string& codComune, const std::string& puntoLavoro) {
    const Riga invio = {codComune, puntoLavoro};
    m.esegui(
        "UPDATE Domanda SET DoppioCodFisc = 1 WHERE CodComune = ? AND Punto_lavoro = ? AND "
        "CodFiscRich > '' AND EXISTS (SELECT 1 FROM Domanda a WHERE a.CodFiscRich = "
        "Domanda.CodFiscRich AND a.NumRepertorio <> Domanda.NumRepertorio)",
        invio);
    m.esegui(
        "UPDATE NucleoFam SET DoppioNucleo = 1 WHERE CodComune = ? AND Punto_lavoro = ? AND "
        "CognomeNome > '' AND DataNascita > '' AND EXISTS (SELECT 1 FROM NucleoFam a WHERE "
        "a.CognomeNome = NucleoFam.CognomeNome AND a.DataNascita = NucleoFam.DataNascita AND "
        "a.CodComune <> NucleoFam.CodComune)",
        invio);
}

void LeggiRichiedentiDoppi(Motore& m, const std::function<void(const RichiedenteDoppio&)>& riga) {
    m.interroga(
        "SELECT d.CodFiscRich, d.CodComune, d.NumRepertorio, d.CognomeRich, d.NomeRich "
        "FROM Domanda d JOIN (SELECT a.CodFiscRich FROM Domanda a WHERE a.CodFiscRich IN "
        "(SELECT CodFiscRich FROM Domanda WHERE DoppioCodFisc = 1) GROUP BY a.CodFiscRich "
        "HAVING count(*) > 1) x ON x.CodFiscRich = d.CodFiscRich "
        "ORDER BY d.CodFiscRich, d.CodComune, d.Punto_lavoro, length(d.NumRepertorio), "
        "d.NumRepertorio",
        {}, [&](const Riga& r) {
            riga({r[0].toText(), r[1].toText(), r[2].toText(), r[3].toText(), r[4].toText()});
        });
}

void LeggiComponentiDoppi(Motore& m, const std::function<void(const ComponenteDoppio&)>& riga) {
    // CROSS JOIN keeps the few candidates as the outer loop in the embedded engine, which would
    // otherwise scan every household row; the server plans it as a plain join.
    m.interroga(
        "SELECT n.CognomeNome, n.DataNascita, n.CodComune, n.NumRepertorio "
        "FROM NucleoFam n JOIN (SELECT a.CognomeNome, a.DataNascita FROM (SELECT DISTINCT "
        "CognomeNome, DataNascita FROM NucleoFam WHERE DoppioNucleo = 1) c CROSS JOIN NucleoFam a "
        "WHERE a.CognomeNome = c.CognomeNome AND a.DataNascita = c.DataNascita "
        "GROUP BY a.CognomeNome, a.DataNascita HAVING min(a.CodComune) <> max(a.CodComune)) x "
        "ON x.CognomeNome = n.CognomeNome AND x.DataNascita = n.DataNascita "
        "ORDER BY n.CognomeNome, n.DataNascita, n.CodComune, n.Punto_lavoro, "
        "length(n.NumRepertorio), n.NumRepertorio, n.ProgrNucleo",
        {}, [&](const Riga& r) {
            riga({r[0].toText(), r[1].toText(), r[2].toText(), r[3].toText()});
        });
}

void ScriviDuplicati(Motore& m, std::ostream& out, std::ostream* csv) {
    if (csv) *csv << "CodFiscale;CodComune;NumRepertorio;Cognome;Nome\n";
    out << "Richiedenti presenti in più domande\n";
    std::string gruppo;
    std::int64_t codici = 0, domande = 0;
    LeggiRichiedentiDoppi(m, [&](const RichiedenteDoppio& r) {
        if (csv) {
            *csv << CampoCsv(r.codFiscale) << ';' << CampoCsv(r.codComune) << ';'
                 << CampoCsv(r.numRepertorio) << ';' << CampoCsv(r.cognome) << ';'
                 << CampoCsv(r.nome) << '\n';
        }
        if (codici == 0 || r.codFiscale != gruppo) {
            gruppo = r.codFiscale;
            ++codici;
            out << "\n" << r.codFiscale << '\n';
        }
        ++domande;
        out << "    " << r.codComune << "  " << r.numRepertorio << "  " << r.cognome << ' '
            << r.nome << '\n';
    });
    if (codici == 0) {
        out << "\nNessun richiedente presente in più domande.\n";
    } else {
        out << "\nTotale: " << Conteggio(codici, "codice fiscale", "codici fiscali") << " in "
            << Conteggio(domande, "domanda", "domande") << ".\n";
    }

    out << "\nComponenti dei nuclei con lo stesso nome e la stessa data di nascita in comuni "
           "diversi\n";
    std::int64_t persone = 0, righe = 0;
    std::string persona;
    LeggiComponentiDoppi(m, [&](const ComponenteDoppio& c) {
        const std::string chi = c.cognomeNome + '\n' + c.dataNascita;
        if (persone == 0 || chi != persona) {
            persona = chi;
            ++persone;
            out << "\n"
                << c.cognomeNome << ", data di nascita " << DataVisibile(c.dataNascita) << '\n';
        }
        ++righe;
        out << "    " << c.codComune << "  " << c.numRepertorio << '\n';
    });
    if (persone == 0) {
        out << "\nNessun componente presente nei nuclei di comuni diversi.\n";
    } else {
        out << "\nTotale: " << Conteggio(persone, "persona", "persone") << " in "
            << Conteggio(righe, "nucleo", "nuclei") << ".\n";
    }
}

}  // namespace regione
