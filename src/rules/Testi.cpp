#include "rules/Testi.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

#include "rules/Date.h"
#include "rules/Numeri.h"
#include "store/Dialect.h"

namespace rules {

namespace {

// An amount field as the rules read it: its text shown with "#.00", read back.
double ValoreImporto(const std::string& testo) {
    return Valore(FormatoTesto(testo, kFormatoInModifica));
}

Importo ImportoLetto(const std::string& testo) {
    return {ValoreImporto(testo), testo == "0.00"};
}

// A count field: the whole part of its number, within the range of an int.
int Intero(const std::string& testo) {
    const double v = std::trunc(Valore(testo));
    if (!(v > std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (!(v < std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

std::string Testo(const RigaMemorizzata& r, const char* colonna) {
    const auto it = r.find(colonna);
    return it == r.end() ? std::string() : it->second.toText();
}

store::Value Campo(const RigaMemorizzata& r, const char* colonna) {
    const auto it = r.find(colonna);
    return it == r.end() ? store::Value() : it->second;
}

bool Flag(const RigaMemorizzata& r, const char* colonna) {
    return Testo(r, colonna) == "1";
}

const char* const kFlagDebolezza[] = {"FlagDebolUltra65", "FlagDebolInvalidi", "FlagDebolSfratto",
                                      "FlagDebolAltre"};
const char* const kFlagOpzione[] = {"FlagIncremLimiteFascia", "FlagIncremPercLimite",
                                    "FlagIncremPercContrib"};
const char* const kPercentuale[] = {"IncremPercFasciaA", "IncremPercLimiteRed",
                                    "IncremPercContrib"};
const char* const kFlagEsclusione[] = {
    "FlagEsclusaCateg", "FlagEsclusaReddi",   "FlagEsclusaIncid",       "FlagEsclusaContr",
    "FlagEsclusaObbl",  "FlagEsclusaTermine", "FlagEsclusaIstruttoria",
};

}  // namespace

Domanda LeggiTesti(const TestiDomanda& t) {
    Domanda d;
    d.cognome = t.cognome;
    d.nome = t.nome;
    d.codiceFiscale = t.codiceFiscale;
    d.comune = t.comune;
    d.indirizzo = t.indirizzo;
    d.presentazione = LeggiData(t.presentazione);
    for (std::size_t i = 0; i < d.nucleo.size(); ++i) {
        const TestiDomanda::Riga& r = t.nucleo[i];
        Componente& c = d.nucleo[i];
        c.nome = r.nome;
        c.parentela = r.parentela;
        c.nascita = LeggiData(r.nascita);
        c.professione = r.professione;
        if (!r.reddito.empty()) c.reddito = ValoreImporto(r.reddito);
        c.redditoSoloZero = r.reddito == "0";
    }
    d.canone = ValoreImporto(t.canone);
    d.canoneVuoto = t.canone.empty();
    d.canoneComune = ValoreImporto(t.canoneComune);
    d.categoria = t.categoria;
    for (std::size_t i = 0; i < d.contratti.size(); ++i) {
        d.contratti[i] = {t.contratti[i].numero, LeggiData(t.contratti[i].registrazione),
                          LeggiData(t.contratti[i].inizio)};
    }
    d.nonRegistrato = t.nonRegistrato;
    d.debolezze = t.debolezze;
    for (std::size_t i = 0; i < d.opzioni.size(); ++i) {
        const TestiDomanda::Opzione& o = t.opzioni[i];
        // Percentages are read at single precision.
        d.opzioni[i] = {o.spuntata, o.disponibile, o.campoAttivo,
                        SingolaPrecisione(Valore(o.percentuale)), o.percentuale == "0"};
    }
    d.altriContributi = ImportoLetto(t.altriContributi);
    d.contributoConcesso = ImportoLetto(t.contributoConcesso);
    d.coFinanziamento = ImportoLetto(t.coFinanziamento);

    d.redditoComplessivo = ValoreImporto(t.redditoComplessivo);
    d.componenti = Intero(t.componenti);
    d.figli = Intero(t.figli);
    d.redditoAccesso = ValoreImporto(t.redditoAccesso);
    d.fascia = t.fascia;
    if (!t.incidenza.empty()) d.incidenza = Valore(t.incidenza);
    d.debolezzaSociale = t.debolezzaSociale;
    d.esclusioni = t.esclusioni;
    d.ammessa = t.ammessa;
    d.nonAmmessa = t.nonAmmessa;
    d.mancaContratto = t.mancaContratto;
    d.contributoBase = ImportoLetto(t.contributoBase);
    d.incremento = ImportoLetto(t.incremento);
    d.incrementoRidotto = t.incrementoRidotto;
    d.totale = ImportoLetto(t.totale);
    d.richiesto = ImportoLetto(t.richiesto);
    d.daErogare = ImportoLetto(t.daErogare);
    return d;
}

std::string NumeroMemorizzato(const store::Value& v) {
    if (v.isNull()) return std::string();
    char buffer[400];
    const auto end =
        std::to_chars(std::begin(buffer), std::end(buffer), v.toDouble(), std::chars_format::fixed)
            .ptr;
    std::string testo(buffer, end);
    if (const auto punto = testo.find('.'); punto != std::string::npos) testo[punto] = ',';
    return testo;
}

std::string ImportoMemorizzato(const store::Value& v) {
    const std::string testo = NumeroMemorizzato(v);
    // A stored value with no decimal form (an infinity) shows as it reads.
    if (!testo.empty() && !LeggiNumero(testo)) return testo;
    return Euro(Valore(testo));
}

TestiDomanda TestiMemorizzati(const DomandaMemorizzata& m) {
    const RigaMemorizzata& r = m.domanda;
    TestiDomanda t;
    t.cognome = Testo(r, "CognomeRich");
    t.nome = Testo(r, "NomeRich");
    t.codiceFiscale = Testo(r, "CodFiscRich");
    t.comune = Testo(r, "ComuneRich");
    t.indirizzo = Testo(r, "IndiRich");
    t.presentazione = FormattaDataMemorizzata(Testo(r, "DataDomanda"));
    for (const RigaMemorizzata& n : m.nucleo) {
        const std::int64_t progressivo = Campo(n, "ProgrNucleo").toInt();
        if (progressivo < 1 || progressivo > kRigheNucleo) continue;
        TestiDomanda::Riga& riga = t.nucleo[static_cast<std::size_t>(progressivo - 1)];
        riga.nome = Testo(n, "CognomeNome");
        riga.parentela = Testo(n, "CodParent");
        riga.nascita = FormattaDataMemorizzata(Testo(n, "DataNascita"));
        riga.professione = Testo(n, "CodProfes");
        const store::Value reddito = Campo(n, "RedditoEur");
        riga.reddito = reddito.isNull() ? std::string() : Euro(reddito.toDouble());
    }
    t.canone = ImportoMemorizzato(Campo(r, "CanoneTotaleEur"));
    t.canoneComune = t.canone;
    t.categoria = Testo(r, "CategCatasto");
    const char* const numeri[] = {"Contratto1Num", "Contratto2Num"};
    const char* const registrazioni[] = {"Contratto1DataReg", "Contratto2DataReg"};
    const char* const inizi[] = {"Contratto1DataIni", "Contratto2DataIni"};
    for (std::size_t i = 0; i < t.contratti.size(); ++i) {
        t.contratti[i] = {Testo(r, numeri[i]), FormattaDataMemorizzata(Testo(r, registrazioni[i])),
                          FormattaDataMemorizzata(Testo(r, inizi[i]))};
    }
    t.nonRegistrato = Flag(r, "FlagNonRegistr");
    for (std::size_t i = 0; i < t.debolezze.size(); ++i) {
        t.debolezze[i] = Flag(r, kFlagDebolezza[i]);
        t.debolezzaSociale = t.debolezzaSociale || t.debolezze[i];
    }
    for (std::size_t i = 0; i < t.opzioni.size(); ++i) {
        t.opzioni[i].spuntata = Flag(r, kFlagOpzione[i]);
        t.opzioni[i].percentuale = NumeroMemorizzato(Campo(r, kPercentuale[i]));
    }
    t.altriContributi = ImportoMemorizzato(Campo(r, "AltriContributiDaEnti"));
    t.contributoConcesso = ImportoMemorizzato(Campo(r, "ContribConcesso"));
    t.coFinanziamento = ImportoMemorizzato(Campo(r, "CoFinanzComune"));

    t.redditoComplessivo = ImportoMemorizzato(Campo(r, "RedditoComplessivoEur"));
    t.componenti = NumeroMemorizzato(Campo(r, "NumComponNucleo"));
    t.figli = NumeroMemorizzato(Campo(r, "NumFigliCarico"));
    t.redditoAccesso = ImportoMemorizzato(Campo(r, "RedditoAccessoEur"));
    t.fascia = Testo(r, "Fascia");
    t.incidenza = NumeroMemorizzato(Campo(r, "IncidenzaCanRed"));
    for (std::size_t i = 0; i < t.esclusioni.size(); ++i) {
        t.esclusioni[i] = Flag(r, kFlagEsclusione[i]);
    }
    t.ammessa = Flag(r, "FlagDomandaOK");
    t.nonAmmessa = !t.ammessa;
    t.mancaContratto = Flag(r, "FlagEsclusaMancaContr");
    t.contributoBase = ImportoMemorizzato(Campo(r, "ContribBase"));
    t.incremento = ImportoMemorizzato(Campo(r, "IncremImpoContrib"));
    t.totale = ImportoMemorizzato(Campo(r, "TotContrib"));
    t.richiesto = ImportoMemorizzato(Campo(r, "ContribRichiesto"));
    // Not stored: what the screen would show once the amounts are worked out.
    t.daErogare = Euro(ValoreImporto(t.contributoConcesso) + ValoreImporto(t.coFinanziamento));
    // "(ridotto)" shows when the stored increment is below the full one.
    const double pieno = store::roundHalfEven(
        Campo(r, "ContribBase").toDouble() * Campo(r, "IncremPercContrib").toDouble() / 100, 2);
    t.incrementoRidotto = pieno > Campo(r, "IncremImpoContrib").toDouble();
    return t;
}

Domanda LeggiMemorizzata(const DomandaMemorizzata& m) {
    return LeggiTesti(TestiMemorizzati(m));
}

}  // namespace rules
