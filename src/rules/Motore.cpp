#include "rules/Motore.h"

#include <cmath>
#include <utility>

#include "rules/Calcoli.h"
#include "rules/Campi.h"
#include "rules/Controlli.h"
#include "rules/Date.h"
#include "rules/Numeri.h"
#include "rules/Parametri.h"

namespace rules {

namespace {

using P = Parametro;

// Limits raised by a percentage may have a third decimal (13.663,975).
std::string Limite(double v) {
    return Formato(v, kFormatoLimite);
}

std::string Percento(double v) {
    return Formato(v, kFormatoDueDecimali) + " %";
}

std::string TestoIncidenza(const std::optional<double>& i) {
    return i ? Formato(*i, kFormatoIncidenza) + " %" : std::string("non calcolata");
}

std::string Data(const std::optional<store::Date>& d) {
    return d ? FormattaData(*d) : std::string("non indicata o non valida");
}

std::string SiNo(bool b) {
    return b ? "sì" : "no";
}

std::string Anno() {
    return TestoParametro(P::AnnoRedditi);
}

// The trail is kept by link of the chain. A link that runs again (nested, or later in the same
// run) replaces what it said before, so that the trail tells how the results shown came about.
enum class Sezione { Reddito, Incidenza, Debolezza, Ammissibilita, Contributo };
constexpr int kSezioni = 5;

// The other two options, in the order an option's reaction unticks them.
std::pair<Opzione, Opzione> Altre(Opzione o) {
    switch (o) {
        case Opzione::Contributo:
            return {Opzione::LimiteReddito, Opzione::LimiteFasciaA};
        case Opzione::LimiteReddito:
            return {Opzione::Contributo, Opzione::LimiteFasciaA};
        case Opzione::LimiteFasciaA:
            break;
    }
    return {Opzione::Contributo, Opzione::LimiteReddito};
}

std::string EtichettaRiga(const Componente& c, int riga) {
    const std::string nome = SenzaSpazi(c.nome);
    return nome.empty() ? "Riga " + std::to_string(riga + 1) + " (senza nome)" : nome;
}

class Motore {
public:
    Motore(const Domanda& d, const Bando& b) : s_(d), b_(b) {}

    Esito esegui(Avvio avvio) {
        switch (avvio) {
            case Avvio::Tutto:
                SommaReddito();
                break;
            case Avvio::CalcolaIncidenza:
                CalcolaIncidenza();
                break;
            case Avvio::VerificaDebolSoc:
                VerificaDebolSoc();
                break;
            case Avvio::VerificaDomandaAmmessa:
                VerificaDomandaAmmessa();
                break;
            case Avvio::CalcolaContributo:
                CalcolaContributo();
                break;
            case Avvio::CambioLimiteFasciaA:
                CambioOpzione(Opzione::LimiteFasciaA);
                break;
            case Avvio::CambioLimiteReddito:
                CambioOpzione(Opzione::LimiteReddito);
                break;
            case Avvio::CambioContributo:
                CambioOpzione(Opzione::Contributo);
                break;
        }
        e_.domanda = s_;
        for (Traccia& t : sezioni_) {
            for (Passo& p : t) e_.traccia.push_back(std::move(p));
        }
        return std::move(e_);
    }

private:
    void chiudi(Sezione s, Traccia t) { sezioni_[static_cast<std::size_t>(s)] = std::move(t); }

    StatoOpzione& opzione(Opzione o) { return s_.opzione(o); }

    // --- Household income, band, incidence -----------------------------------------------

    void SommaReddito() {
        Passo p;
        p.frase = "Reddito Complessivo " + Anno() + ": la somma dei redditi dei componenti.";
        double somma = 0;
        for (int i = 0; i < kRigheNucleo; ++i) {
            const Componente& c = s_.nucleo[static_cast<std::size_t>(i)];
            if (!c.reddito) continue;
            somma += *c.reddito;
            p.entrate.push_back({EtichettaRiga(c, i), Euro(*c.reddito)});
        }
        // Shown with two decimals; the next link reads it back so.
        s_.redditoComplessivo = ImportoMostrato(somma);
        e_.scritti.reddito = true;
        p.uscita = Cifra{"Reddito Complessivo " + Anno(), Euro(somma)};
        chiudi(Sezione::Reddito, {std::move(p)});
        CalcolaIncidenza();
    }

    void CalcolaIncidenza() {
        Traccia t;
        int componenti = 0;
        int figli = 0;
        Passo membri;
        membri.frase = "Componenti del nucleo familiare: le righe con il nome indicato.";
        Passo carico;
        carico.frase = "Figli a carico: i componenti con la parentela di figlio a carico.";
        for (int i = 0; i < kRigheNucleo; ++i) {
            const Componente& c = s_.nucleo[static_cast<std::size_t>(i)];
            const std::string nome = SenzaSpazi(c.nome);
            if (nome.empty()) continue;
            ++componenti;
            membri.entrate.push_back({"Riga " + std::to_string(i + 1), nome});
            if (c.parentela == kFiglioACarico) {
                ++figli;
                carico.entrate.push_back({"Riga " + std::to_string(i + 1), nome});
            }
        }
        s_.componenti = componenti;
        s_.figli = figli;
        membri.uscita = Cifra{"Numero componenti il nucleo familiare", std::to_string(componenti)};
        carico.uscita = Cifra{"Numero figli a carico", std::to_string(figli)};
        t.push_back(std::move(membri));
        t.push_back(std::move(carico));

        // The total income as shown, to the cent.
        const double lordo = ImportoMostrato(s_.redditoComplessivo);
        const double accesso = RedditoAccesso(lordo, figli);
        s_.redditoAccesso = ImportoMostrato(accesso);
        t.push_back({"Reddito per l'accesso: il reddito complessivo meno " +
                         TestoParametro(P::DetrazioneFiglio) +
                         " per ogni figlio a carico, mai sotto zero.",
                     {{"Reddito Lordo complessivo", Euro(lordo)},
                      {"Numero figli a carico", std::to_string(figli)},
                      {"Detrazione per figlio", TestoParametro(P::DetrazioneFiglio)}},
                     Cifra{"Reddito per l'accesso", Euro(accesso)},
                     {},
                     {}});

        const StatoOpzione& fasciaA = opzione(Opzione::LimiteFasciaA);
        e_.limiteFasciaA = fasciaA.spuntata ? LimiteFasciaAIncrementato(fasciaA.percentuale)
                                            : ValoreParametro(P::LimiteFasciaA);
        s_.fascia = Fascia(accesso, fasciaA.spuntata, fasciaA.percentuale);
        Passo fascia;
        fascia.frase =
            "Fascia: \"A\" fino al limite di reddito per l'accesso della fascia A, "
            "\"B\" oltre.";
        fascia.entrate.push_back({"Reddito per l'accesso", Euro(accesso)});
        if (fasciaA.spuntata) {
            fascia.entrate.push_back(
                {"Incremento del limite per la fascia A", Percento(fasciaA.percentuale)});
        }
        fascia.entrate.push_back({"Limite della fascia A", Limite(*e_.limiteFasciaA)});
        fascia.uscita = Cifra{"Fascia", s_.fascia};
        t.push_back(std::move(fascia));

        const double canone = ImportoMostrato(s_.canoneComune);
        const double incidenza = Incidenza(canone, accesso);
        // Shown with two decimals; a value with no decimal form leaves the field empty.
        s_.incidenza = std::isfinite(incidenza) ? std::optional<double>(ImportoMostrato(incidenza))
                                                : std::nullopt;
        e_.scritti.incidenza = true;
        Passo inc;
        inc.frase = accesso == 0
                        ? "Incidenza del canone: senza reddito per l'accesso vale " +
                              Formato(kIncidenzaSenzaReddito, kFormatoIntero) +
                              " se c'è un canone, 0 altrimenti."
                        : "Incidenza del canone sul reddito per l'accesso: il canone diviso per "
                          "il reddito per l'accesso, per cento.";
        inc.entrate = {{"Canone corrisposto", Euro(canone)},
                       {"Reddito per l'accesso", Euro(accesso)}};
        inc.uscita =
            Cifra{"Incidenza del canone sul reddito per l'accesso", TestoIncidenza(s_.incidenza)};
        t.push_back(std::move(inc));
        chiudi(Sezione::Incidenza, std::move(t));

        VerificaDebolSoc();
        VerificaDomandaAmmessa();
    }

    // --- Weakness conditions and increment options -----------------------------------------

    // An option that is off holds "0" in its percentage, which cannot be typed.
    void azzeraPercentuale(Opzione o) {
        StatoOpzione& op = opzione(o);
        op.campoAttivo = false;
        op.percentuale = 0;
        op.percentualeZero = true;
        e_.scritti.percentuali[static_cast<std::size_t>(o)] = true;
    }

    // An available option: its percentage can be typed only while the option is ticked.
    void allineaPercentuale(Opzione o) {
        if (opzione(o).spuntata) {
            opzione(o).campoAttivo = true;
        } else {
            azzeraPercentuale(o);
        }
    }

    // A change of the box runs its reaction, as the operator's would.
    void ImpostaOpzione(Opzione o, bool on) {
        if (opzione(o).spuntata == on) return;
        opzione(o).spuntata = on;
        CambioOpzione(o);
    }

    // At most one option is ticked; while the rules change boxes themselves (blocca_) the
    // reaction leaves the other options alone.
    void CambioOpzione(Opzione o) {
        const auto [altra1, altra2] = Altre(o);
        if (opzione(o).spuntata && !blocca_) {
            ImpostaOpzione(altra1, false);
            ImpostaOpzione(altra2, false);
        }
        if (!opzione(o).spuntata) {
            azzeraPercentuale(o);
        } else {
            azzeraPercentuale(altra1);
            azzeraPercentuale(altra2);
            StatoOpzione& op = opzione(o);
            op.campoAttivo = true;
            // The band-A option starts from the highest increase.
            if (o == Opzione::LimiteFasciaA && op.percentualeZero) {
                op.percentuale = ValoreParametro(P::IncrementoMassimo);
                op.percentualeZero = false;
                e_.scritti.percentuali[static_cast<std::size_t>(o)] = true;
            }
        }
        if (o == Opzione::LimiteFasciaA) {
            CalcolaIncidenza();
        } else {
            VerificaDomandaAmmessa();
        }
    }

    void VerificaDebolSoc() {
        Traccia t;
        Passo condizioni;
        condizioni.frase = "Situazioni di particolare debolezza sociale indicate.";
        bool debole = false;
        for (std::size_t i = 0; i < s_.debolezze.size(); ++i) {
            if (!s_.debolezze[i]) continue;
            debole = true;
            condizioni.entrate.push_back({DidascaliaDebolezza(static_cast<int>(i)), "sì"});
        }
        condizioni.uscita =
            Cifra{"Presenza di situazioni di particolare debolezza sociale", SiNo(debole)};
        t.push_back(std::move(condizioni));

        if (!debole) {
            s_.debolezzaSociale = false;
            blocca_ = true;
            ImpostaOpzione(Opzione::LimiteReddito, false);
            ImpostaOpzione(Opzione::LimiteFasciaA, false);
            ImpostaOpzione(Opzione::Contributo, false);
            blocca_ = false;
            for (StatoOpzione& op : s_.opzioni) op.disponibile = false;
            for (StatoOpzione& op : s_.opzioni) op.campoAttivo = false;
            for (int o = 0; o < kOpzioni; ++o) azzeraPercentuale(static_cast<Opzione>(o));
            t.push_back({"Senza situazioni di debolezza sociale nessun incremento è disponibile.",
                         {},
                         std::nullopt,
                         {},
                         {}});
            chiudi(Sezione::Debolezza, std::move(t));
            return;
        }

        s_.debolezzaSociale = true;
        // The band-A option helps only an income for access above band A by at most the
        // largest increment.
        const double accesso = ImportoMostrato(s_.redditoAccesso);
        StatoOpzione& fasciaA = opzione(Opzione::LimiteFasciaA);
        const bool finestra =
            accesso > ValoreParametro(P::LimiteFasciaA) && accesso <= LimiteFasciaAMassimo();
        if (finestra) {
            fasciaA.disponibile = true;
            fasciaA.campoAttivo = fasciaA.spuntata;
        } else {
            fasciaA.disponibile = false;
            azzeraPercentuale(Opzione::LimiteFasciaA);
            blocca_ = true;
            ImpostaOpzione(Opzione::LimiteFasciaA, false);
            blocca_ = false;
        }
        t.push_back({std::string(Didascalia(Opzione::LimiteFasciaA)) +
                         ": disponibile quando il reddito per l'accesso supera " +
                         TestoParametro(P::LimiteFasciaA) + " ma non " +
                         Limite(LimiteFasciaAMassimo()) + ".",
                     {{"Reddito per l'accesso", Euro(accesso)}},
                     Cifra{"Disponibile", SiNo(finestra)},
                     {},
                     {}});

        // The income-limit option only matters in band "B".
        const bool fasciaB = s_.fascia != kFasciaA;
        if (!fasciaB) {
            blocca_ = true;
            ImpostaOpzione(Opzione::LimiteReddito, false);
            opzione(Opzione::LimiteReddito).disponibile = false;
            azzeraPercentuale(Opzione::LimiteReddito);
            blocca_ = false;
        } else {
            opzione(Opzione::LimiteReddito).disponibile = true;
            allineaPercentuale(Opzione::LimiteReddito);
        }
        t.push_back({std::string(Didascalia(Opzione::LimiteReddito)) +
                         ": disponibile fuori dalla fascia A.",
                     {{"Fascia", s_.fascia}},
                     Cifra{"Disponibile", SiNo(fasciaB)},
                     {},
                     {}});

        opzione(Opzione::Contributo).disponibile = true;
        allineaPercentuale(Opzione::Contributo);
        t.push_back({std::string(Didascalia(Opzione::Contributo)) +
                         ": disponibile per ogni nucleo in situazione di debolezza sociale.",
                     {},
                     Cifra{"Disponibile", "sì"},
                     {},
                     {}});
        for (int o = 0; o < kOpzioni; ++o) {
            const StatoOpzione& op = s_.opzioni[static_cast<std::size_t>(o)];
            if (!op.spuntata) continue;
            t.push_back({"Incremento scelto.",
                         {},
                         Cifra{Didascalia(static_cast<Opzione>(o)), Percento(op.percentuale)},
                         {},
                         {}});
        }
        chiudi(Sezione::Debolezza, std::move(t));
    }

    // --- Admissibility -----------------------------------------------------------------------

    // What the admissibility needs and the application lacks.
    std::vector<std::string> DatiMancanti() {
        std::vector<std::string> mancanti;
        const std::pair<const std::string*, const char*> richiedente[] = {
            {&s_.cognome, "Cognome"},
            {&s_.nome, "Nome"},
            {&s_.codiceFiscale, "Codice Fiscale"},
            {&s_.indirizzo, "Indirizzo"},
            {&s_.comune, "Residente in"},
        };
        for (const auto& [testo, nome] : richiedente) {
            if (testo->empty()) mancanti.emplace_back(nome);
        }
        const Componente& r = s_.nucleo[0];
        const std::pair<bool, const char*> riga0[] = {
            {SenzaSpazi(r.nome).empty(), "Cognome e Nome"},
            {r.parentela.empty(), "Parentela"},
            {!r.nascita, "Data di nascita"},
            {r.professione.empty(), "Professione"},
            {!r.reddito, "Reddito"},
        };
        for (const auto& [manca, nome] : riga0) {
            if (manca) mancanti.push_back(std::string("Richiedente nel nucleo: ") + nome);
        }
        if (s_.categoria.empty()) mancanti.emplace_back("Categoria catastale");
        if (s_.canoneVuoto) mancanti.emplace_back("Canone");
        if (s_.mancaContratto) {
            mancanti.emplace_back(s_.nonRegistrato
                                      ? "Contratto: inizio validità"
                                      : "Contratto: numero, data di registrazione e inizio "
                                        "validità");
        }
        if (!s_.presentazione) mancanti.emplace_back("Data presentazione domanda");
        return mancanti;
    }

    // The step's verdict on one exclusion; when it applies, the comparison that decided it.
    void escludi(Passo& p, Esclusione e, bool esclusa, std::string motivo) {
        s_.esclusa(e) = esclusa;
        p.uscita = Cifra{Didascalia(e), SiNo(esclusa)};
        if (!esclusa) return;
        p.esclusione = Didascalia(e);
        p.motivo = std::move(motivo);
    }

    Passo Categoria() {
        Passo p;
        p.frase = "Categoria catastale: ammesse " + std::string(Voce(P::CategorieAmmesse).elenco) +
                  "; se manca, conta fra i dati obbligatori.";
        const std::string categoria = SenzaSpazi(s_.categoria);
        p.entrate.push_back({"Categoria", categoria});
        escludi(p, Esclusione::Categoria, !CategoriaAmmessa(s_.categoria),
                "la categoria " + categoria + " non è fra quelle ammesse");
        return p;
    }

    Passo LimiteDiReddito(bool fasciaA) {
        Passo p;
        if (fasciaA) {
            e_.limiteReddito.reset();
            p.frase = "Limite di reddito per l'accesso: in fascia A non si applica.";
            p.entrate.push_back({"Fascia", s_.fascia});
            escludi(p, Esclusione::Reddito, false, {});
            return p;
        }
        const int n = s_.componenti;
        const double incremento = opzione(Opzione::LimiteReddito).percentuale;
        const double limite = LimiteReddito(n, incremento);
        e_.limiteReddito = limite;
        const double accesso = ImportoMostrato(s_.redditoAccesso);
        p.frase =
            "Limite di reddito per l'accesso in fascia B, secondo il numero dei componenti; il "
            "reddito non deve superarlo.";
        p.entrate = {{"Fascia", s_.fascia},
                     {"Numero componenti il nucleo familiare", std::to_string(n)}};
        if (incremento > 0) {
            p.entrate.push_back({"Limite per il nucleo", Limite(LimiteRedditoBase(n))});
            p.entrate.push_back({Didascalia(Opzione::LimiteReddito), Percento(incremento)});
        }
        p.entrate.push_back({"Limite di reddito", Limite(limite)});
        p.entrate.push_back({"Reddito per l'accesso", Euro(accesso)});
        escludi(p, Esclusione::Reddito, accesso > limite,
                Euro(accesso) + " è superiore a " + Limite(limite));
        return p;
    }

    Passo IncidenzaMinimaDellaFascia(bool fasciaA) {
        const double minima = IncidenzaMinima(fasciaA);
        e_.incidenzaMinima = minima;
        Passo p;
        p.frase = "Incidenza minima del canone: in fascia A deve superare il " +
                  TestoParametro(P::IncidenzaMinimaA) + " %, nelle altre il " +
                  TestoParametro(P::IncidenzaMinimaB) + " %.";
        p.entrate = {
            {"Fascia", s_.fascia},
            {"Incidenza del canone sul reddito per l'accesso", TestoIncidenza(s_.incidenza)},
            {"Incidenza minima", Formato(minima, kFormatoFinoADueDecimali) + " %"}};
        // The incidence as shown, at single precision; an empty one never excludes.
        const bool bassa =
            s_.incidenza &&
            IncidenzaInsufficiente(fasciaA, static_cast<float>(SingolaPrecisione(*s_.incidenza)));
        escludi(p, Esclusione::Incidenza, bassa,
                TestoIncidenza(s_.incidenza) + " non supera il " +
                    Formato(minima, kFormatoFinoADueDecimali) + " %");
        return p;
    }

    Passo DecorrenzaDelContratto() {
        Passo p;
        p.frase = "Decorrenza del contratto di locazione: ammessa fino al " +
                  TestoParametro(P::UltimoAnnoContratto) +
                  "; con due contratti basta che uno sia iniziato entro quell'anno.";
        p.entrate = {{"Inizio validità del primo contratto", Data(s_.contratti[0].inizio)},
                     {"Inizio validità del secondo contratto", Data(s_.contratti[1].inizio)}};
        escludi(p, Esclusione::Contratto,
                ContrattoPosteriore(s_.contratti[0].inizio, s_.contratti[1].inizio),
                "nessun contratto è iniziato entro il " + TestoParametro(P::UltimoAnnoContratto));
        return p;
    }

    Passo DatiObbligatori() {
        s_.mancaContratto = MancanoDatiContratto(s_);
        const std::vector<std::string> mancanti = DatiMancanti();
        Passo p;
        p.frase =
            "Dati obbligatori: richiedente, sua riga nel nucleo, categoria, canone, contratto, "
            "data di presentazione.";
        std::string elenco;
        for (const std::string& m : mancanti) {
            p.entrate.push_back({m, "mancante"});
            elenco += (elenco.empty() ? "" : ", ") + m;
        }
        escludi(p, Esclusione::DatiMancanti, !mancanti.empty(), "mancano " + elenco);
        return p;
    }

    Passo TermineDiPresentazione() {
        Passo p;
        p.frase =
            "Termine di presentazione: entro la chiusura del bando, il giorno stesso "
            "compreso.";
        p.entrate = {{"Data presentazione domanda", Data(s_.presentazione)},
                     {"Chiusura del bando", FormattaData(b_.chiusura)}};
        if (s_.presentazione) {
            escludi(p, Esclusione::Termine, *s_.presentazione > b_.chiusura,
                    Data(s_.presentazione) + " è dopo il " + FormattaData(b_.chiusura));
        } else {
            // A date that cannot be read leaves the lateness as it was.
            escludi(p, Esclusione::Termine, s_.esclusa(Esclusione::Termine),
                    "resta com'era: la data di presentazione non si può leggere");
        }
        return p;
    }

    Passo Istruttoria() {
        Passo p;
        p.frase = "Verifiche in sede di istruttoria comunale: decide l'operatore.";
        escludi(p, Esclusione::Istruttoria, s_.esclusa(Esclusione::Istruttoria),
                "indicata dal Comune");
        return p;
    }

    Passo Verdetto() {
        bool esclusa = false;
        for (bool e : s_.esclusioni) esclusa = esclusa || e;
        Passo p;
        p.frase = "Esito: ammissibile se nessuna esclusione si applica.";
        s_.ammessa = !esclusa;
        s_.nonAmmessa = esclusa;
        p.uscita = Cifra{"Esito", esclusa ? "Domanda non ammissibile" : "Domanda ammissibile"};
        if (!esclusa) return p;
        // No increment for an excluded application.
        const bool incremento = opzione(Opzione::Contributo).spuntata;
        blocca_ = true;
        ImpostaOpzione(Opzione::Contributo, false);
        StatoOpzione& contrib = opzione(Opzione::Contributo);
        contrib.percentuale = 0;
        contrib.percentualeZero = true;
        e_.scritti.percentuali[static_cast<std::size_t>(Opzione::Contributo)] = true;
        blocca_ = false;
        if (incremento) {
            p.entrate.push_back({Didascalia(Opzione::Contributo), "tolto: la domanda è esclusa"});
        }
        return p;
    }

    // Every exclusion in turn, then the verdict; the contribution follows.
    void VerificaDomandaAmmessa() {
        const bool fasciaA = s_.fascia == kFasciaA;
        Traccia t{Categoria(),
                  LimiteDiReddito(fasciaA),
                  IncidenzaMinimaDellaFascia(fasciaA),
                  DecorrenzaDelContratto(),
                  DatiObbligatori(),
                  TermineDiPresentazione(),
                  Istruttoria()};
        t.push_back(Verdetto());
        chiudi(Sezione::Ammissibilita, std::move(t));
        CalcolaContributo();
    }

    // --- Contribution ------------------------------------------------------------------------

    void CalcolaContributo() {
        e_.scritti.contributo = true;
        Traccia t;
        if (!s_.ammessa) {
            e_.tetto.reset();
            const Importo zero{0, true};
            for (Importo* i :
                 {&s_.contributoBase, &s_.incremento, &s_.totale, &s_.contributoConcesso,
                  &s_.coFinanziamento, &s_.daErogare, &s_.altriContributi, &s_.richiesto}) {
                *i = zero;
            }
            s_.incrementoRidotto = false;
            t.push_back(
                {"Contributo: una domanda non ammissibile non riceve nulla; tutti gli "
                 "importi, anche quelli indicati dal Comune, sono azzerati.",
                 {},
                 Cifra{"Contributo Regionale richiesto", Euro(s_.richiesto.valore)},
                 {},
                 {}});
            chiudi(Sezione::Contributo, std::move(t));
            return;
        }
        // The rent and the income for access as shown, to the cent.
        const double canone = ImportoMostrato(s_.canone);
        const double accesso = ImportoMostrato(s_.redditoAccesso);
        const bool fasciaA = s_.fascia == kFasciaA;
        e_.tetto = Tetto(fasciaA);
        const double base = ContributoBase(fasciaA, canone, accesso);
        s_.contributoBase = {base, false};
        t.push_back(
            {"Contributo Regionale base: il canone meno il " +
                 Formato(Quota(fasciaA), kFormatoFinoADueDecimali) +
                 " % del reddito per l'accesso (" + (fasciaA ? "fascia A" : "fascia B") +
                 "), al massimo " + Euro(*e_.tetto) + ", arrotondato al centesimo.",
             {{"Canone", Euro(canone)},
              {"Reddito per l'accesso", Euro(accesso)},
              {"Quota del reddito", Formato(Quota(fasciaA), kFormatoFinoADueDecimali) + " %"},
              {"Importo massimo", Euro(*e_.tetto)}},
             Cifra{"Contributo Regionale base", Euro(base)},
             {},
             {}});

        const double p = opzione(Opzione::Contributo).percentuale;
        const Incremento inc = IncrementoContributo(base, p, canone);
        s_.incrementoRidotto = inc.ridotto;
        s_.incremento = p > 0 ? Importo{ImportoMostrato(inc.importo), false} : Importo{0, true};
        if (p > 0) {
            t.push_back(
                {"Incremento del contributo: la percentuale scelta del contributo "
                 "base, senza che il totale superi il canone.",
                 {{"Contributo Regionale base", Euro(base)},
                  {Didascalia(Opzione::Contributo), Percento(p)},
                  {"Canone", Euro(canone)}},
                 Cifra{inc.ridotto ? "Incremento (ridotto)" : "Incremento",
                       Euro(s_.incremento.valore)},
                 {},
                 {}});
        }
        // The increment is not rounded before it joins the total.
        const double totale = base + inc.importo;
        s_.totale = {ImportoMostrato(totale), false};
        t.push_back(
            {"Totale contributo Regionale ammissibile: il contributo base più "
             "l'incremento.",
             {{"Contributo Regionale base", Euro(base)},
              {"Incremento", Euro(s_.incremento.valore)}},
             Cifra{"Totale contributo Regionale ammissibile", Euro(totale)},
             {},
             {}});

        // The later amounts are worked out from the amounts shown, to the cent.
        const double altri = ImportoMostrato(s_.altriContributi.valore);
        const auto richiesto = ContributoRichiesto(s_.totale.valore, altri);
        s_.richiesto = richiesto ? Importo{ImportoMostrato(*richiesto), false} : Importo{0, true};
        t.push_back(
            {"Contributo Regionale richiesto: il totale ammissibile meno gli altri "
             "contributi " +
                 Anno() + ", mai sotto zero.",
             {{"Totale contributo Regionale ammissibile", Euro(totale)},
              {"Eventuali altri Contributi " + Anno() + " da detrarre", Euro(altri)}},
             Cifra{"Contributo Regionale richiesto", Euro(s_.richiesto.valore)},
             {},
             {}});

        const double concesso = ImportoMostrato(s_.contributoConcesso.valore);
        const double coFinanziamento = ImportoMostrato(s_.coFinanziamento.valore);
        s_.daErogare = {ImportoMostrato(coFinanziamento + concesso), false};
        t.push_back(
            {"Totale Contributo da erogare: il contributo regionale concesso più il "
             "co-finanziamento comunale.",
             {{"Contributo Regionale concesso", Euro(concesso)},
              {"Co-finanziamento comunale", Euro(coFinanziamento)}},
             Cifra{"Totale Contributo da erogare", Euro(s_.daErogare.valore)},
             {},
             {}});
        chiudi(Sezione::Contributo, std::move(t));
    }

    Domanda s_;
    const Bando& b_;
    Esito e_;
    // The rules are changing option boxes themselves: a reaction leaves the other options.
    bool blocca_ = false;
    std::array<Traccia, kSezioni> sezioni_;
};

}  // namespace

Avvio CambioDi(Opzione o) {
    switch (o) {
        case Opzione::LimiteFasciaA:
            return Avvio::CambioLimiteFasciaA;
        case Opzione::LimiteReddito:
            return Avvio::CambioLimiteReddito;
        case Opzione::Contributo:
            break;
    }
    return Avvio::CambioContributo;
}

Esito Calcola(const Domanda& d, const Bando& b, Avvio avvio) {
    return Motore(d, b).esegui(avvio);
}

}  // namespace rules
