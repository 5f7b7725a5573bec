// The worked examples of the call, kept as data in casi_regole.txt: each case changes a complete
// admissible application in a few fields, runs the rules and lists every result as the
// application screen shows it.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "rules/Controlli.h"
#include "rules/Date.h"
#include "rules/Motore.h"
#include "rules/Numeri.h"
#include "rules/Testi.h"

namespace {

// Words separated by blanks; a word may be written between double quotes, \" inside them.
std::vector<std::string> Parole(const std::string& riga) {
    std::vector<std::string> parole;
    std::string parola;
    bool virgolette = false, aperta = false;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        const char c = riga[i];
        if (c == '\\' && i + 1 < riga.size()) {
            parola += riga[++i];
        } else if (c == '"') {
            virgolette = !virgolette;
            aperta = true;
        } else if (c == ' ' && !virgolette) {
            if (aperta) parole.push_back(parola);
            parola.clear();
            aperta = false;
        } else {
            parola += c;
            aperta = true;
        }
    }
    if (aperta) parole.push_back(parola);
    return parole;
}

std::pair<std::string, std::string> Coppia(const std::string& parola) {
    const auto uguale = parola.find('=');
    return {parola.substr(0, uguale),
            uguale == std::string::npos ? std::string() : parola.substr(uguale + 1)};
}

struct Caso {
    int riga = 0;
    std::string nome;
    std::vector<std::string> dati;
    std::map<std::string, std::string> attesi;
    std::vector<std::string> spiega;  // texts the explanation contains
};

std::vector<Caso> LeggiCasi(const std::string& percorso) {
    std::ifstream in(percorso);
    EXPECT_TRUE(in) << percorso;
    std::vector<Caso> casi;
    std::string riga;
    for (int n = 1; std::getline(in, riga); ++n) {
        const auto inizio = riga.find_first_not_of(' ');
        if (inizio == std::string::npos || riga[inizio] == '#') continue;
        const auto spazio = riga.find(' ', inizio);
        const std::string chiave = riga.substr(inizio, spazio - inizio);
        const std::string resto = spazio == std::string::npos ? "" : riga.substr(spazio + 1);
        if (chiave == "caso") {
            casi.push_back({n, resto, {}, {}, {}});
        } else if (casi.empty()) {
            ADD_FAILURE() << "riga " << n << ": manca il caso";
        } else if (chiave == "dati") {
            for (const std::string& p : Parole(resto)) casi.back().dati.push_back(p);
        } else if (chiave == "esito") {
            for (const std::string& p : Parole(resto)) casi.back().attesi.insert(Coppia(p));
        } else if (chiave == "spiega") {
            for (const std::string& p : Parole(resto)) casi.back().spiega.push_back(p);
        } else {
            ADD_FAILURE() << "riga " << n << ": " << chiave;
        }
    }
    return casi;
}

// A complete admissible application: one member with 13.000,00, band B, rent 4.000,00.
rules::TestiDomanda Base() {
    rules::TestiDomanda t;
    t.presentazione = "01/09/2006";
    t.cognome = "ROSSI";
    t.nome = "MARIO";
    t.codiceFiscale = "RSSMRA70A01H501U";
    t.comune = "123456";
    t.indirizzo = "VIA ROMA 1";
    t.nucleo[0] = {"ROSSI MARIO", "0", "01/01/1970", "1", "13.000,00"};
    t.canone = "4.000,00";
    t.categoria = "A3";
    t.contratti[0] = {"123", "01/02/2003", "01/01/2003"};
    for (auto& o : t.opzioni) o.percentuale = "0";
    t.altriContributi = t.contributoConcesso = t.coFinanziamento = "0,00";
    return t;
}

// Sets one field of the texts: "reddito1=500" (household row 1), "canone=...", ...; "vuota"
// empties the application.
void Imposta(rules::TestiDomanda& t, const std::string& campo, const std::string& v) {
    const bool si = v == "1";
    const char ultima = campo.empty() ? ' ' : campo.back();
    const bool riga = ultima >= '0' && ultima <= '9';
    const std::size_t r =
        riga ? static_cast<std::size_t>(std::stoi(campo.substr(campo.find_first_of("0123456789"))))
             : 0;
    const std::string nome = riga ? campo.substr(0, campo.find_first_of("0123456789")) : campo;
    const std::map<std::string, std::function<void()>> campi = {
        {"presentazione", [&] { t.presentazione = v; }},
        {"cognome", [&] { t.cognome = v; }},
        {"nome", [&] { riga ? void(t.nucleo[r].nome = v) : void(t.nome = v); }},
        {"cf", [&] { t.codiceFiscale = v; }},
        {"comune", [&] { t.comune = v; }},
        {"indirizzo", [&] { t.indirizzo = v; }},
        {"parentela", [&] { t.nucleo[r].parentela = v; }},
        {"nascita", [&] { t.nucleo[r].nascita = v; }},
        {"professione", [&] { t.nucleo[r].professione = v; }},
        {"reddito", [&] { t.nucleo[r].reddito = v; }},
        {"canone", [&] { t.canone = v; }},
        {"categoria", [&] { t.categoria = v; }},
        {"numero", [&] { t.contratti[r - 1].numero = v; }},
        {"registrazione", [&] { t.contratti[r - 1].registrazione = v; }},
        {"inizio", [&] { t.contratti[r - 1].inizio = v; }},
        {"nonregistrato", [&] { t.nonRegistrato = si; }},
        {"debolezza", [&] { t.debolezze[r] = si; }},
        {"opzioneA",
         [&] {
             t.opzioni[0] = {true, true, true, v};
         }},
        {"opzioneR",
         [&] {
             t.opzioni[1] = {true, true, true, v};
         }},
        {"opzioneC",
         [&] {
             t.opzioni[2] = {true, true, true, v};
         }},
        {"istruttoria", [&] { t.esclusioni[6] = si; }},
        {"termine", [&] { t.esclusioni[5] = si; }},
        {"altri", [&] { t.altriContributi = v; }},
        {"concesso", [&] { t.contributoConcesso = v; }},
        {"cofin", [&] { t.coFinanziamento = v; }},
        {"vuota",
         [&] {
             t = {};
             for (auto& o : t.opzioni) o.percentuale = "0";
         }},
    };
    const auto it = campi.find(nome);
    ASSERT_NE(it, campi.end()) << campo;
    it->second();
}

std::string SiNo(bool b) {
    return b ? "sì" : "no";
}

// An option as "x" (not available), "o" (available, off) or "v" (ticked), then its percentage.
std::string Opzioni(const rules::Domanda& d) {
    std::string s;
    for (const rules::StatoOpzione& o : d.opzioni) {
        if (!s.empty()) s += ',';
        s += !o.disponibile ? "x" : o.spuntata ? "v" : "o";
        s += o.percentualeZero ? "0" : rules::Formato(o.percentuale, "0.##");
    }
    return s;
}

// Every result of the run as the screen shows it.
std::map<std::string, std::string> Risultati(const rules::Esito& e) {
    const rules::Domanda& d = e.domanda;
    const auto limite = [](const std::optional<double>& v) {
        return v ? rules::Formato(*v, rules::kFormatoLimite) : std::string("-");
    };
    std::string esclusioni;
    for (const bool x : d.esclusioni) esclusioni += x ? '1' : '0';
    return {
        {"somma", rules::Euro(d.redditoComplessivo)},
        {"componenti", std::to_string(d.componenti)},
        {"figli", std::to_string(d.figli)},
        {"accesso", rules::Euro(d.redditoAccesso)},
        {"fascia", d.fascia},
        {"limiteA", limite(e.limiteFasciaA)},
        {"incidenza", d.incidenza ? rules::Formato(*d.incidenza, "#0.#0") : ""},
        {"minima", e.incidenzaMinima ? rules::Formato(*e.incidenzaMinima, "0.##") : "-"},
        {"debole", SiNo(d.debolezzaSociale)},
        {"opzioni", Opzioni(d)},
        {"limiteB", limite(e.limiteReddito)},
        {"esclusioni", esclusioni},
        {"ammessa", SiNo(d.ammessa && !d.nonAmmessa)},
        {"manca", SiNo(d.mancaContratto)},
        {"tetto", e.tetto ? rules::Euro(*e.tetto) : "-"},
        {"base", rules::TestoImporto(d.contributoBase)},
        {"incremento", rules::TestoImporto(d.incremento)},
        {"ridotto", SiNo(d.incrementoRidotto)},
        {"totale", rules::TestoImporto(d.totale)},
        {"altri", rules::TestoImporto(d.altriContributi)},
        {"richiesto", rules::TestoImporto(d.richiesto)},
        {"concesso", rules::TestoImporto(d.contributoConcesso)},
        {"cofin", rules::TestoImporto(d.coFinanziamento)},
        {"erogare", rules::TestoImporto(d.daErogare)},
    };
}

TEST(Motore, WorkedExamplesOfTheCall) {
    const rules::Bando bando{{2006, 7, 14}, {2006, 9, 30}, {2006, 9, 15}};
    const std::vector<Caso> casi = LeggiCasi(CASI_REGOLE);
    ASSERT_GE(casi.size(), 30u);
    for (const Caso& c : casi) {
        SCOPED_TRACE("casi_regole.txt:" + std::to_string(c.riga) + " " + c.nome);
        rules::TestiDomanda t = Base();
        std::vector<std::pair<rules::Opzione, bool>> poi;
        for (const std::string& d : c.dati) {
            const auto [campo, valore] = Coppia(d);
            if (campo == "spunta" || campo == "togli") {
                const rules::Opzione o = valore == "A"   ? rules::Opzione::LimiteFasciaA
                                         : valore == "R" ? rules::Opzione::LimiteReddito
                                                         : rules::Opzione::Contributo;
                poi.emplace_back(o, campo == "spunta");
            } else {
                Imposta(t, campo, valore);
            }
        }
        t.canoneComune = t.canone;
        const rules::Domanda domanda = rules::LeggiTesti(t);
        rules::Esito esito = rules::Calcola(domanda, bando);
        // Then the operator ticks or unticks options, each running its reaction.
        for (const auto& [o, on] : poi) {
            rules::Domanda dopo = esito.domanda;
            dopo.opzione(o).spuntata = on;
            esito = rules::Calcola(dopo, bando, rules::CambioDi(o));
        }
        const auto risultati = Risultati(esito);
        // Every result is listed, and nothing else.
        for (const auto& [chiave, valore] : risultati) {
            const auto atteso = c.attesi.find(chiave);
            if (atteso == c.attesi.end()) {
                ADD_FAILURE() << "esito senza " << chiave << "=" << valore;
            } else {
                EXPECT_EQ(valore, atteso->second) << chiave;
            }
        }
        for (const auto& [chiave, valore] : c.attesi) {
            EXPECT_TRUE(risultati.count(chiave)) << "risultato sconosciuto " << chiave;
        }
        std::string testo;
        for (const std::string& b :
             rules::BlocchiSpiegazione(rules::Spiega(domanda, bando), rules::Origine::Schermo)) {
            testo += b + "\n";
        }
        for (const std::string& s : c.spiega) {
            EXPECT_NE(testo.find(s), std::string::npos) << "la spiegazione non dice: " << s << "\n"
                                                        << testo;
        }
    }
}

TEST(Motore, CompletenessGradeAtRegistration) {
    using G = rules::Completezza;
    struct Caso {
        std::vector<std::pair<const char*, const char*>> dati;
        G grado;
        int riga;
    };
    const Caso casi[] = {
        {{}, G::Completa, -1},
        {{{"cognome", ""}}, G::MancaIlMinimo, -1},
        {{{"presentazione", "31/02/2006"}, {"reddito0", ""}}, G::MancaIlMinimo, -1},
        {{{"reddito1", "0"}}, G::Completa, -1},  // an income of "0" alone is no data
        {{{"reddito0", ""}}, G::RigaIncompleta, 0},
        {{{"nascita3", "01/01/2000"}}, G::RigaIncompleta, 3},
        {{{"cf", ""}}, G::MancanoDatiFondamentali, -1},
        {{{"comune", ""}}, G::MancanoDatiFondamentali, -1},
        {{{"canone", ""}}, G::MancanoDatiFondamentali, -1},
        {{{"numero1", ""}}, G::MancanoDatiFondamentali, -1},
        {{{"nonregistrato", "1"}, {"numero1", ""}, {"registrazione1", ""}}, G::Completa, -1},
    };
    for (const Caso& c : casi) {
        rules::TestiDomanda t = Base();
        std::string descrizione;
        for (const auto& [campo, valore] : c.dati) {
            Imposta(t, campo, valore);
            descrizione += std::string(campo) + "=" + valore + " ";
        }
        const rules::Verifica v = rules::ValidaCampi(rules::LeggiTesti(t));
        EXPECT_EQ(v.grado, c.grado) << descrizione;
        EXPECT_EQ(v.riga, c.riga) << descrizione;
    }
}

TEST(Motore, StoredNumbersShowAsTheScreenShowsThem) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<store::Value, const char*> numeri[] = {
        {store::Value(), ""},         {store::Value(0.0), "0"}, {store::Value(25.0), "25"},
        {store::Value(12.5), "12,5"}, {store::Value(3), "3"},   {store::Value(-0.25), "-0,25"}};
    for (const auto& [v, testo] : numeri) EXPECT_EQ(rules::NumeroMemorizzato(v), testo);
    const std::pair<store::Value, const char*> importi[] = {
        {store::Value(), "0,00"}, {store::Value(1234.5), "1.234,50"}, {store::Value(inf), "inf"}};
    for (const auto& [v, testo] : importi) EXPECT_EQ(rules::ImportoMemorizzato(v), testo);
}

}  // namespace
