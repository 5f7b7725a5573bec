#include "regione/Schema.h"

namespace regione {

namespace {

constexpr Tipo T = Tipo::Testo;
constexpr Tipo I = Tipo::Intero;
constexpr Tipo D = Tipo::Decimale;

// The sending an application or household row came with.
Colonna chiaveInvio(const char* nome) {
    return {nome, T, false};
}

}  // namespace

std::vector<std::string> Tabella::nomi() const {
    std::vector<std::string> r;
    for (const Colonna& c : colonne) r.push_back(c.nome);
    return r;
}

std::vector<Colonna> Tabella::dallArchivio() const {
    std::vector<Colonna> r;
    for (const Colonna& c : colonne)
        if (c.archivio) r.push_back(c);
    return r;
}

const Tabella& TabConfigurazione() {
    static const Tabella t{"Configurazione",
                           {{"CodComune", T},
                            {"Punto_lavoro", T},
                            {"Data_emis_bando", T},
                            {"Data_chius_bando", T},
                            {"Progressivo_domande", I},
                            {"ImpoCoFinanz", D},
                            {"ImpoContribConc", D},
                            {"PercContribConc", D},
                            // The import: which file, when, and the sending's figures.
                            {"NomeFile", T, false},
                            {"DataImportazione", T, false},
                            {"NumDomande", I, false},
                            {"NumAmmissibili", I, false},
                            {"NumFasciaA", I, false},
                            {"NumFasciaB", I, false},
                            {"FabbisognoCent", I, false}},
                           "CodComune, Punto_lavoro"};
    return t;
}

const Tabella& TabDomanda() {
    // The Region's columns come first: a server reads the columns before a column to reach it.
    static const Tabella t{"Domanda",
                           {// 1 when, at its import, another application had the same fiscal
                            // code (see Duplicati.h).
                            {"DoppioCodFisc", I, false},
                            chiaveInvio("CodComune"),
                            chiaveInvio("Punto_lavoro"),
                            {"NumRepertorio", T},
                            {"DataDomanda", T},
                            {"CognomeRich", T},
                            {"NomeRich", T},
                            {"CodFiscRich", T},
                            {"ComuneRich", T},
                            {"IndiRich", T},
                            {"CapRich", T},
                            {"NumComponNucleo", I},
                            {"NumFigliCarico", I},
                            {"RedditoComplessivoEur", D},
                            {"RedditoAccessoEur", D},
                            {"IncidenzaCanRed", D},
                            {"Fascia", T},
                            {"CanoneTotaleEur", D},
                            {"FlagTipoAlloggio", T},
                            {"Contratto1Num", T},
                            {"Contratto1DataReg", T},
                            {"Contratto1DataIni", T},
                            {"Contratto2Num", T},
                            {"Contratto2DataReg", T},
                            {"Contratto2DataIni", T},
                            {"FlagNonRegistr", T},
                            {"CategCatasto", T},
                            {"SuperfAlloggio", D},
                            {"NumAltreStanze", I},
                            {"FlagConserFab", T},
                            {"FlagConserAll", T},
                            {"FlagCompAllCucina", T},
                            {"FlagCompAllCucinino", T},
                            {"FlagCompAllBagno", T},
                            {"FlagCompAllRipo", T},
                            {"FlagCompAllIngre", T},
                            {"FlagTipoContratto", T},
                            {"FlagDebolUltra65", T},
                            {"FlagDebolInvalidi", T},
                            {"FlagDebolSfratto", T},
                            {"FlagDebolAltre", T},
                            {"ContribBase", D},
                            {"FlagIncremPercContrib", T},
                            {"IncremPercContrib", D},
                            {"IncremImpoContrib", D},
                            {"TotContrib", D},
                            {"AltriContributiDaEnti", D},
                            {"ContribRichiesto", D},
                            {"ContribConcesso", D},
                            {"CoFinanzComune", D},
                            {"FlagIncremLimiteFascia", T},
                            {"IncremPercFasciaA", D},
                            {"FlagIncremPercLimite", T},
                            {"IncremPercLimiteRed", D},
                            {"FlagDomandaOK", T},
                            {"FlagEsclusaCateg", T},
                            {"FlagEsclusaReddi", T},
                            {"FlagEsclusaIncid", T},
                            {"FlagEsclusaContr", T},
                            {"FlagEsclusaObbl", T},
                            {"FlagEsclusaTermine", T},
                            {"FlagEsclusaIstruttoria", T},
                            {"FlagEsclusaMancaContr", T},
                            {"DataRegistrazione", T}},
                           "NumRepertorio"};
    return t;
}

const Tabella& TabNucleoFam() {
    static const Tabella t{"NucleoFam",
                           {// 1 when, at its import, a household row of another municipality
                            // had the same name and birth date (see Duplicati.h).
                            {"DoppioNucleo", I, false},
                            chiaveInvio("CodComune"),
                            chiaveInvio("Punto_lavoro"),
                            {"NumRepertorio", T},
                            {"ProgrNucleo", I},
                            {"CognomeNome", T},
                            {"CodParent", T},
                            {"DataNascita", T},
                            {"CodProfes", T},
                            {"RedditoEur", D},
                            {"DataRegistrazione", T}},
                           "NumRepertorio, ProgrNucleo"};
    return t;
}

const std::vector<const Tabella*>& Tabelle() {
    static const std::vector<const Tabella*> t = {&TabConfigurazione(), &TabDomanda(),
                                                  &TabNucleoFam()};
    return t;
}

const std::vector<Indice>& Indici() {
    // Replacing a sending finds its rows by the sending's key; the searches for applicants and
    // household members who appear twice look up fiscal codes, and names with birth dates, and
    // start from the few rows marked at their import.
    static const std::vector<Indice> i = {
        {"Domanda_Invio", "Domanda", "CodComune, Punto_lavoro", ""},
        {"Domanda_CodFisc", "Domanda", "CodFiscRich", ""},
        {"Domanda_Doppi", "Domanda", "CodFiscRich", "DoppioCodFisc = 1"},
        {"NucleoFam_Invio", "NucleoFam", "CodComune, Punto_lavoro", ""},
        {"NucleoFam_Persona", "NucleoFam", "CognomeNome, DataNascita, CodComune", ""},
        {"NucleoFam_Doppi", "NucleoFam", "CognomeNome, DataNascita", "DoppioNucleo = 1"},
    };
    return i;
}

std::string CreaTabella(const Tabella& t, const std::vector<std::string>& tipi) {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + t.nome + " (";
    for (const Colonna& c : t.colonne)
        sql += c.nome + " " + tipi.at(static_cast<std::size_t>(c.tipo)) + ", ";
    return sql + "PRIMARY KEY (" + t.chiave + "))";
}

std::string CreaIndice(const Indice& i) {
    return "CREATE INDEX IF NOT EXISTS " + i.nome + " ON " + i.tabella + " (" + i.colonne + ")" +
           (i.dove.empty() ? "" : " WHERE " + i.dove);
}

std::string Inserimento(const Tabella& t) {
    std::string nomi, segnaposto;
    for (const Colonna& c : t.colonne) {
        nomi += (nomi.empty() ? "" : ", ") + c.nome;
        segnaposto += segnaposto.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + t.nome + " (" + nomi + ") VALUES (" + segnaposto + ")";
}

}  // namespace regione
