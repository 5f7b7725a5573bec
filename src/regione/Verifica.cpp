#include "regione/Verifica.h"

#include <algorithm>
#include <cmath>

#include "regione/Riepilogo.h"
#include "rules/Motore.h"
#include "rules/Numeri.h"

namespace regione {

const char* const kIntestazioneCsvVerifica =
    "CodComune;PuntoRaccolta;NumRepertorio;Cognome;Nome;Campo;Memorizzato;Regole\n";

namespace {

struct InvioDaVerificare {
    std::string codComune;
    std::string puntoLavoro;
    std::string emissione;
    std::string chiusura;
};

std::string SiNo(bool b) {
    return b ? "sì" : "no";
}

std::int64_t Cent(double importo) {
    return std::llround(rules::ImportoMostrato(importo) * 100);
}

// A sending's applications and household rows as one stream, each application followed by its
// household rows: the first columns are the length of the register number, the number and the
// kind of row (0 the application, 1 a household row), then every column of the application
// (null on a household row), then those of a household row (null on an application). Both
// halves are found through the sending's index, in either engine, with no join that an engine
// might plan as a scan per application.
struct Colonne {
    static constexpr std::size_t kInizio = 3;  // the columns before the application's
    std::vector<std::string> domanda;
    std::vector<std::string> nucleo;
    std::string sql;
};

const Colonne& ColonneLette() {
    static const Colonne c = [] {
        Colonne r;
        for (const Colonna& col : TabDomanda().dallArchivio()) r.domanda.push_back(col.nome);
        for (const Colonna& col : TabNucleoFam().dallArchivio()) {
            if (col.nome != "NumRepertorio" && col.nome != "DataRegistrazione")
                r.nucleo.push_back(col.nome);
        }
        std::string domande, nuclei;
        for (const std::string& n : r.domanda) {
            domande += ", " + n;
            nuclei += ", NULL";
        }
        for (const std::string& n : r.nucleo) {
            domande += ", NULL";
            nuclei += ", " + n;
        }
        const std::size_t progressivo =
            Colonne::kInizio + r.domanda.size() +
            static_cast<std::size_t>(std::find(r.nucleo.begin(), r.nucleo.end(), "ProgrNucleo") -
                                     r.nucleo.begin());
        r.sql = "SELECT length(NumRepertorio), NumRepertorio, 0" + domande +
                " FROM Domanda WHERE CodComune = ? AND Punto_lavoro = ? "
                "UNION ALL SELECT length(NumRepertorio), NumRepertorio, 1" +
                nuclei +
                " FROM NucleoFam WHERE CodComune = ? AND Punto_lavoro = ? "
                "ORDER BY 1, 2, 3, " +
                std::to_string(progressivo + 1);
        return r;
    }();
    return c;
}

std::string Testo(const rules::RigaMemorizzata& r, const char* colonna) {
    const auto it = r.find(colonna);
    return it == r.end() ? std::string() : it->second.toText();
}

}  // namespace

const char* Didascalia(Risultato r) {
    switch (r) {
        case Risultato::Fascia:
            return "Fascia";
        case Risultato::Ammissibilita:
            return "Domanda ammissibile";
        case Risultato::ContributoRichiesto:
            break;
    }
    return "Contributo Regionale richiesto";
}

const char* ColonnaDi(Risultato r) {
    switch (r) {
        case Risultato::Fascia:
            return "Fascia";
        case Risultato::Ammissibilita:
            return "FlagDomandaOK";
        case Risultato::ContributoRichiesto:
            break;
    }
    return "ContribRichiesto";
}

std::optional<rules::Bando> BandoDellaDomanda(const std::string& emissione,
                                              const std::string& chiusura,
                                              const std::string& registrazione) {
    const auto e = store::parseStoredDateTime(emissione);
    const auto c = store::parseStoredDateTime(chiusura);
    if (!e || !c) return std::nullopt;
    const auto r = store::parseStoredDateTime(registrazione);
    return rules::Bando{e->date, c->date, r ? r->date : c->date};
}

std::vector<Scostamento> Confronta(const rules::DomandaMemorizzata& m, const rules::Bando& b,
                                   std::vector<std::string>* motivi) {
    const rules::Domanda memorizzata = rules::LeggiMemorizzata(m);
    const rules::Esito esito = rules::Calcola(memorizzata, b, rules::Avvio::Tutto);
    const rules::Domanda& regole = esito.domanda;
    std::vector<Scostamento> r;
    if (memorizzata.fascia != regole.fascia) {
        const auto mostrata = [](const std::string& f) { return f.empty() ? "(vuota)" : f; };
        r.push_back({Risultato::Fascia, mostrata(memorizzata.fascia), mostrata(regole.fascia),
                     memorizzata.fascia, regole.fascia});
    }
    if (memorizzata.ammessa != regole.ammessa) {
        r.push_back({Risultato::Ammissibilita, SiNo(memorizzata.ammessa), SiNo(regole.ammessa),
                     memorizzata.ammessa ? "1" : "0", regole.ammessa ? "1" : "0"});
    }
    const std::int64_t richiesto = Cent(memorizzata.richiesto.valore);
    const std::int64_t dovuto = Cent(regole.richiesto.valore);
    if (richiesto != dovuto) {
        r.push_back({Risultato::ContributoRichiesto, Centesimi(richiesto, true),
                     Centesimi(dovuto, true), Centesimi(richiesto), Centesimi(dovuto)});
    }
    if (motivi) {
        motivi->clear();
        for (int e = 0; e < rules::kEsclusioni; ++e) {
            const auto esclusione = static_cast<rules::Esclusione>(e);
            if (regole.esclusa(esclusione)) motivi->emplace_back(rules::Didascalia(esclusione));
        }
    }
    return r;
}

ConteggiVerifica Verifica(Motore& m, const std::function<void(const DomandaDiversa&)>& diversa,
                          const std::function<void(const InvioNonVerificabile&)>& nonVerificabile) {
    std::vector<InvioDaVerificare> invii;
    m.interroga(
        "SELECT CodComune, Punto_lavoro, Data_emis_bando, Data_chius_bando FROM Configurazione "
        "ORDER BY CodComune, Punto_lavoro",
        {}, [&](const Riga& r) {
            invii.push_back({r[0].toText(), r[1].toText(), r[2].toText(), r[3].toText()});
        });
    const Colonne& colonne = ColonneLette();
    ConteggiVerifica conta;
    for (const InvioDaVerificare& invio : invii) {
        const Riga chiave = {invio.codComune, invio.puntoLavoro};
        if (!BandoDellaDomanda(invio.emissione, invio.chiusura, "")) {
            InvioNonVerificabile n{invio.codComune, invio.puntoLavoro, 0};
            m.interroga("SELECT count(*) FROM Domanda WHERE CodComune = ? AND Punto_lavoro = ?",
                        chiave, [&](const Riga& r) { n.domande = r[0].toInt(); });
            conta.nonVerificate += n.domande;
            nonVerificabile(n);
            continue;
        }
        std::optional<rules::DomandaMemorizzata> corrente;
        std::string numero;
        const auto esamina = [&] {
            if (!corrente) return;
            const rules::RigaMemorizzata& riga = corrente->domanda;
            const rules::Bando bando = *BandoDellaDomanda(invio.emissione, invio.chiusura,
                                                          Testo(riga, "DataRegistrazione"));
            DomandaDiversa d;
            d.scostamenti = Confronta(*corrente, bando, &d.motivi);
            ++conta.verificate;
            if (!d.scostamenti.empty()) {
                ++conta.diverse;
                d.codComune = invio.codComune;
                d.puntoLavoro = invio.puntoLavoro;
                d.numRepertorio = numero;
                d.cognome = Testo(riga, "CognomeRich");
                d.nome = Testo(riga, "NomeRich");
                diversa(d);
            }
            corrente.reset();
        };
        m.interroga(
            colonne.sql, {invio.codComune, invio.puntoLavoro, invio.codComune, invio.puntoLavoro},
            [&](const Riga& r) {
                std::string n = r[1].toText();
                if (r[2].toInt() == 0) {
                    esamina();
                    numero = std::move(n);
                    corrente.emplace();
                    for (std::size_t i = 0; i < colonne.domanda.size(); ++i) {
                        corrente->domanda.emplace(colonne.domanda[i], r[Colonne::kInizio + i]);
                    }
                    return;
                }
                // Household rows of no application are not the audit's.
                if (!corrente || n != numero) return;
                rules::RigaMemorizzata& componente = corrente->nucleo.emplace_back();
                const std::size_t primo = Colonne::kInizio + colonne.domanda.size();
                for (std::size_t i = 0; i < colonne.nucleo.size(); ++i)
                    componente.emplace(colonne.nucleo[i], r[primo + i]);
            });
        esamina();
    }
    return conta;
}

ConteggiVerifica ScriviVerifica(Motore& m, std::ostream& out, std::ostream* csv) {
    if (csv) *csv << kIntestazioneCsvVerifica;
    out << "Domande i cui risultati memorizzati differiscono dalle regole del bando\n";
    const ConteggiVerifica conta = Verifica(
        m,
        [&](const DomandaDiversa& d) {
            const std::string nomeComune = NomeComune(d.codComune);
            out << "\nDomanda " << d.numRepertorio << " - comune " << d.codComune
                << (nomeComune.empty() ? "" : " " + nomeComune) << ", punto di raccolta "
                << d.puntoLavoro << " - " << d.cognome << ' ' << d.nome << '\n';
            for (const Scostamento& s : d.scostamenti) {
                out << "    " << Didascalia(s.risultato) << ": memorizzato " << s.memorizzato
                    << ", secondo le regole " << s.regole << '\n';
                if (!csv) continue;
                *csv << CampoCsv(d.codComune) << ';' << CampoCsv(d.puntoLavoro) << ';'
                     << CampoCsv(d.numRepertorio) << ';' << CampoCsv(d.cognome) << ';'
                     << CampoCsv(d.nome) << ';' << ColonnaDi(s.risultato) << ';'
                     << CampoCsv(s.memorizzatoCsv) << ';' << CampoCsv(s.regoleCsv) << '\n';
            }
            if (!d.motivi.empty()) {
                out << "    Motivi di esclusione secondo le regole: ";
                for (std::size_t i = 0; i < d.motivi.size(); ++i)
                    out << (i > 0 ? "; " : "") << d.motivi[i];
                out << '\n';
            }
        },
        [&](const InvioNonVerificabile& n) {
            out << "\nComune " << n.codComune << ", punto di raccolta " << n.puntoLavoro
                << ": le date del bando mancano o non sono valide nella configurazione; "
                << n.domande
                << (n.domande == 1 ? " domanda non verificata" : " domande non verificate")
                << ".\n";
        });
    out << "\nDomande verificate: " << conta.verificate
        << "; diverse dalle regole: " << conta.diverse;
    if (conta.nonVerificate > 0) out << "; non verificate: " << conta.nonVerificate;
    out << ".\n";
    return conta;
}

}  // namespace regione
