// The explanation of a verdict: the captions the screen shows, the steps as lines of text, and
// the comparison of what is shown (or stored) with what the rules give.
#include "rules/Motore.h"
#include "rules/Numeri.h"
#include "rules/Parametri.h"

namespace rules {

namespace {

const char* const kDidascalieEsclusioni[] = {
    "Categoria Catastale non ammessa",
    "Reddito superiore ai limiti di accesso",
    "Incidenza canone inferiore alle % minime",
    "Contratto di locazione con decorrenza posteriore al 2004",
    "Dati obbligatori mancanti",
    "Presentazione domanda fuori termine",
    "Domanda esclusa dal contributo in seguito a verifiche in sede di istruttoria comunale",
};

const char* const kDidascalieOpzioni[] = {
    "Incremento del limite per la fascia A",
    "Incremento assoluto del limite di reddito",
    "Incremento del contributo",
};

const char* const kDebolezze[] = {
    "Presenza nel nucleo familiare di ultrasessantacinquenni",
    "Presenza di invalidi con percentuale di invalidità pari o superiore al 67%",
    "Sfratto esecutivo per finita locazione",
    "Altre situazioni previste dal bando comunale",
};

std::string Unisci(const std::vector<std::string>& righe) {
    std::string testo;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        if (i > 0) testo += '\n';
        testo += righe[i];
    }
    return testo;
}

std::string SiNo(bool b) {
    return b ? "sì" : "no";
}

std::string TestoIncidenza(const std::optional<double>& i) {
    return i ? Formato(*i, kFormatoIncidenza) : std::string();
}

// Collects the fields that differ, each written as the screen shows it.
class Confronto {
public:
    void testo(const std::string& campo, const std::string& mostrato, const std::string& regole) {
        if (mostrato != regole) differenze.push_back({campo, mostrato, regole});
    }
    void importo(const std::string& campo, double mostrato, double regole) {
        if (ImportoMostrato(mostrato) != ImportoMostrato(regole)) {
            differenze.push_back({campo, Euro(mostrato), Euro(regole)});
        }
    }
    void intero(const std::string& campo, int mostrato, int regole) {
        testo(campo, std::to_string(mostrato), std::to_string(regole));
    }
    void flag(const std::string& campo, bool mostrato, bool regole) {
        testo(campo, SiNo(mostrato), SiNo(regole));
    }

    std::vector<Differenza> differenze;
};

}  // namespace

const char* Didascalia(Esclusione e) {
    return kDidascalieEsclusioni[static_cast<std::size_t>(e)];
}

const char* Didascalia(Opzione o) {
    return kDidascalieOpzioni[static_cast<std::size_t>(o)];
}

const char* DidascaliaDebolezza(int i) {
    return kDebolezze[static_cast<std::size_t>(i)];
}

std::string TestoImporto(const Importo& i) {
    return i.azzerato ? "0.00" : Euro(i.valore);
}

std::vector<std::string> RighePasso(const Passo& p, int numero) {
    std::vector<std::string> righe;
    righe.push_back((numero < 10 ? " " : "") + std::to_string(numero) + ". " + p.frase);
    for (const Cifra& c : p.entrate) righe.push_back("      " + c.nome + ": " + c.valore);
    if (p.uscita) righe.push_back("    Risultato: " + p.uscita->nome + " = " + p.uscita->valore);
    if (!p.esclusione.empty()) {
        righe.push_back("    Esclusione: \"" + p.esclusione + "\" (" + p.motivo + ")");
    }
    return righe;
}

std::vector<Differenza> Differenze(const Domanda& m, const Domanda& r) {
    Confronto c;
    const std::string anno = TestoParametro(Parametro::AnnoRedditi);
    c.importo("Reddito Complessivo " + anno, m.redditoComplessivo, r.redditoComplessivo);
    c.intero("Numero componenti il nucleo familiare", m.componenti, r.componenti);
    c.intero("Numero figli a carico", m.figli, r.figli);
    c.importo("Reddito per l'accesso", m.redditoAccesso, r.redditoAccesso);
    c.testo("Fascia", m.fascia, r.fascia);
    c.testo("Incidenza del canone sul reddito per l'accesso", TestoIncidenza(m.incidenza),
            TestoIncidenza(r.incidenza));
    for (int o = 0; o < kOpzioni; ++o) {
        const StatoOpzione& om = m.opzioni[static_cast<std::size_t>(o)];
        const StatoOpzione& orr = r.opzioni[static_cast<std::size_t>(o)];
        const std::string nome = Didascalia(static_cast<Opzione>(o));
        c.flag(nome, om.spuntata, orr.spuntata);
        c.testo(nome + " (%)", Formato(om.percentuale, kFormatoDueDecimali),
                Formato(orr.percentuale, kFormatoDueDecimali));
    }
    for (int e = 0; e < kEsclusioni; ++e) {
        c.flag(Didascalia(static_cast<Esclusione>(e)), m.esclusioni[static_cast<std::size_t>(e)],
               r.esclusioni[static_cast<std::size_t>(e)]);
    }
    c.flag("Dati del contratto mancanti", m.mancaContratto, r.mancaContratto);
    c.flag("Domanda ammissibile", m.ammessa, r.ammessa);
    c.importo("Contributo Regionale base", m.contributoBase.valore, r.contributoBase.valore);
    c.importo("Incremento", m.incremento.valore, r.incremento.valore);
    c.flag("Incremento (ridotto)", m.incrementoRidotto, r.incrementoRidotto);
    c.importo("Totale contributo Regionale ammissibile", m.totale.valore, r.totale.valore);
    c.importo("Eventuali altri Contributi " + anno + " da detrarre", m.altriContributi.valore,
              r.altriContributi.valore);
    c.importo("Contributo Regionale richiesto", m.richiesto.valore, r.richiesto.valore);
    c.importo("Contributo Regionale concesso", m.contributoConcesso.valore,
              r.contributoConcesso.valore);
    c.importo("Co-finanziamento comunale", m.coFinanziamento.valore, r.coFinanziamento.valore);
    c.importo("Totale Contributo da erogare", m.daErogare.valore, r.daErogare.valore);
    return c.differenze;
}

Spiegazione Spiega(const Domanda& mostrata, const Bando& b) {
    Spiegazione s{Calcola(mostrata, b, Avvio::Tutto), {}};
    s.differenze = Differenze(mostrata, s.esito.domanda);
    return s;
}

std::vector<std::string> BlocchiSpiegazione(const Spiegazione& s, Origine origine) {
    const Domanda& d = s.esito.domanda;
    std::vector<std::string> blocchi;
    std::string esito = std::string("Esito secondo le regole: ") +
                        (d.ammessa ? "Domanda ammissibile" : "Domanda non ammissibile");
    std::string motivi;
    for (int e = 0; e < kEsclusioni; ++e) {
        if (!d.esclusioni[static_cast<std::size_t>(e)]) continue;
        motivi +=
            (motivi.empty() ? "" : "; ") + std::string(Didascalia(static_cast<Esclusione>(e)));
    }
    if (!motivi.empty()) esito += "\nMotivi di esclusione: " + motivi;
    if (d.ammessa) esito += "\nContributo Regionale richiesto: " + Euro(d.richiesto.valore);
    blocchi.push_back(std::move(esito));

    int numero = 0;
    for (const Passo& p : s.esito.traccia) blocchi.push_back(Unisci(RighePasso(p, ++numero)));

    const bool schermo = origine == Origine::Schermo;
    if (s.differenze.empty()) {
        blocchi.emplace_back(schermo ? "I valori mostrati coincidono con quelli che risultano "
                                       "dalle regole."
                                     : "I risultati memorizzati coincidono con quelli che "
                                       "risultano dalle regole.");
        return blocchi;
    }
    std::vector<std::string> righe{schermo
                                       ? "Valori mostrati diversi da quelli che risultano dalle "
                                         "regole:"
                                       : "Risultati memorizzati diversi da quelli che risultano "
                                         "dalle regole:"};
    for (const Differenza& diff : s.differenze) {
        righe.push_back("  " + diff.campo + ": " + (schermo ? "mostrato " : "memorizzato ") +
                        diff.mostrato + ", secondo le regole " + diff.regole);
    }
    blocchi.push_back(Unisci(righe));
    return blocchi;
}

}  // namespace rules
