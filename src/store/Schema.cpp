#include "store/Schema.h"

#include <string>
#include <string_view>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "store/Database.h"
#include "store/DbError.h"
#include "store/EmbeddedData.h"

namespace store {

namespace {

// Texts, flags, letter codes and dates (ISO texts) are TEXT; amounts and decimals REAL.
constexpr const char* kTables[] = {
    R"(CREATE TABLE Domanda (
    NumRepertorio TEXT PRIMARY KEY,
    DataDomanda TEXT,
    CognomeRich TEXT,
    NomeRich TEXT,
    CodFiscRich TEXT,
    ComuneRich TEXT,
    IndiRich TEXT,
    CapRich TEXT,
    NumComponNucleo INTEGER,
    NumFigliCarico INTEGER,
    RedditoComplessivoEur REAL,
    RedditoAccessoEur REAL,
    IncidenzaCanRed REAL,
    Fascia TEXT,
    CanoneTotaleEur REAL,
    FlagTipoAlloggio TEXT,
    Contratto1Num TEXT,
    Contratto1DataReg TEXT,
    Contratto1DataIni TEXT,
    Contratto2Num TEXT,
    Contratto2DataReg TEXT,
    Contratto2DataIni TEXT,
    FlagNonRegistr TEXT,
    CategCatasto TEXT,
    SuperfAlloggio REAL,
    NumAltreStanze INTEGER,
    FlagConserFab TEXT,
    FlagConserAll TEXT,
    FlagCompAllCucina TEXT,
    FlagCompAllCucinino TEXT,
    FlagCompAllBagno TEXT,
    FlagCompAllRipo TEXT,
    FlagCompAllIngre TEXT,
    FlagTipoContratto TEXT,
    FlagDebolUltra65 TEXT,
    FlagDebolInvalidi TEXT,
    FlagDebolSfratto TEXT,
    FlagDebolAltre TEXT,
    ContribBase REAL,
    FlagIncremPercContrib TEXT,
    IncremPercContrib REAL,
    IncremImpoContrib REAL,
    TotContrib REAL,
    AltriContributiDaEnti REAL,
    ContribRichiesto REAL,
    ContribConcesso REAL,
    CoFinanzComune REAL,
    FlagIncremLimiteFascia TEXT,
    IncremPercFasciaA REAL,
    FlagIncremPercLimite TEXT,
    IncremPercLimiteRed REAL,
    FlagDomandaOK TEXT,
    FlagEsclusaCateg TEXT,
    FlagEsclusaReddi TEXT,
    FlagEsclusaIncid TEXT,
    FlagEsclusaContr TEXT,
    FlagEsclusaObbl TEXT,
    FlagEsclusaTermine TEXT,
    FlagEsclusaIstruttoria TEXT,
    FlagEsclusaMancaContr TEXT,
    DataRegistrazione TEXT))",
    R"(CREATE TABLE NucleoFam (
    NumRepertorio TEXT NOT NULL,
    ProgrNucleo INTEGER NOT NULL,
    CognomeNome TEXT,
    CodParent TEXT,
    DataNascita TEXT,
    CodProfes TEXT,
    RedditoEur REAL,
    DataRegistrazione TEXT,
    PRIMARY KEY (NumRepertorio, ProgrNucleo)))",
    R"(CREATE TABLE Configurazione (
    CodComune TEXT,
    Punto_lavoro TEXT,
    Data_emis_bando TEXT,
    Data_chius_bando TEXT,
    Progressivo_domande INTEGER,
    Utente TEXT,
    Password TEXT,
    ImpoCoFinanz REAL DEFAULT 0,
    ImpoContribConc REAL DEFAULT 0,
    PercContribConc REAL DEFAULT 0))",
    R"(CREATE TABLE ComuniValdoria (
    CodComune TEXT PRIMARY KEY,
    Descrizione TEXT))",
    R"(CREATE TABLE Tab_Professione (
    CodProfes TEXT PRIMARY KEY,
    DescriProfes TEXT))",
    R"(CREATE TABLE Tab_Parentela (
    CodParent TEXT PRIMARY KEY,
    DescriParent TEXT))",
};

// Saved queries. They use only the engine's own functions, so that any tool can read them.
constexpr const char* kViews[] = {
    R"(CREATE VIEW qryParentRichied AS
SELECT CodParent, DescriParent FROM Tab_Parentela WHERE CodParent = '0')",
    R"(CREATE VIEW qryParentNoRichied AS
SELECT CodParent, DescriParent FROM Tab_Parentela WHERE CodParent <> '0' ORDER BY CodParent)",
    R"(CREATE VIEW qryFormRicerca AS
SELECT NumRepertorio, CognomeRich, NomeRich, CodFiscRich, FlagDomandaOK, CanoneTotaleEur,
       RedditoAccessoEur, ContribRichiesto, ContribConcesso, CoFinanzComune,
       ifnull(ContribConcesso, 0.0) + ifnull(CoFinanzComune, 0.0) AS ContribComplessivo
FROM Domanda)",
    R"(CREATE VIEW qryStampaDomande AS
SELECT d.*, c.Descrizione AS DescrComuneRich
FROM Domanda AS d LEFT JOIN ComuniValdoria AS c ON c.CodComune = d.ComuneRich)",
    // Statistics: one row per application with the descriptions the statistics report counts.
    R"(CREATE VIEW qryStatistiche AS
SELECT NumRepertorio, Fascia, NumComponNucleo, FlagDomandaOK, FlagEsclusaCateg,
       FlagEsclusaReddi, FlagEsclusaIncid, FlagEsclusaContr, FlagEsclusaObbl,
       FlagEsclusaTermine, FlagEsclusaIstruttoria, FlagEsclusaMancaContr, FlagTipoAlloggio,
       FlagTipoContratto, FlagConserFab, FlagConserAll,
       CASE FlagDomandaOK WHEN '1' THEN 'Ammissibili' WHEN '0' THEN 'Non ammissibili'
            ELSE 'Non valutate' END AS DescrEsito,
       CASE Fascia WHEN 'A' THEN 'Fascia A' WHEN 'B' THEN 'Fascia B'
            ELSE 'Non determinata' END AS DescrFascia,
       CASE WHEN NumComponNucleo IS NULL OR NumComponNucleo < 1 THEN 'Non indicato'
            WHEN NumComponNucleo = 1 THEN '1 componente'
            ELSE NumComponNucleo || ' componenti' END AS DescrNucleo,
       CASE FlagTipoAlloggio WHEN 'E' THEN 'Edilizia residenziale pubblica'
            WHEN 'P' THEN 'Proprietà privata' ELSE 'Non indicato' END AS DescrTipoAlloggio,
       CASE FlagTipoContratto WHEN 'C' THEN 'Concordato' WHEN 'L' THEN 'Libero'
            WHEN 'T' THEN 'Transitorio' ELSE 'Non specificato' END AS DescrTipoContratto,
       CASE FlagConserFab WHEN 'P' THEN 'Pessimo' WHEN 'M' THEN 'Mediocre' WHEN 'B' THEN 'Buono'
            ELSE 'Non indicato' END AS DescrConserFab,
       CASE FlagConserAll WHEN 'P' THEN 'Pessimo' WHEN 'M' THEN 'Mediocre' WHEN 'B' THEN 'Buono'
            ELSE 'Non indicato' END AS DescrConserAll
FROM Domanda
ORDER BY CAST(substr(NumRepertorio, 13) AS INTEGER))",
    // Need statement: the admissible applications, by band then register number.
    R"(CREATE VIEW qryFabbisognoStampa AS
SELECT NumRepertorio, Fascia, CanoneTotaleEur, ContribRichiesto, ContribConcesso, CoFinanzComune
FROM Domanda WHERE FlagDomandaOK = '1'
ORDER BY Fascia, CAST(substr(NumRepertorio, 13) AS INTEGER))",
};

std::vector<std::string> splitTabs(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.emplace_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// Fills a table from tab-separated text whose first line names the columns.
void loadLookup(Database& db, const char* table, std::string_view tsv) {
    std::vector<std::string> header;
    std::string insert;
    int lineNumber = 0;
    while (!tsv.empty()) {
        const std::size_t newline = tsv.find('\n');
        std::string_view line = tsv.substr(0, newline);
        tsv = newline == std::string_view::npos ? std::string_view() : tsv.substr(newline + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        std::vector<std::string> fields = splitTabs(line);
        if (header.empty()) {
            header = std::move(fields);
            std::string names;
            std::string placeholders;
            for (const std::string& name : header) {
                names += (names.empty() ? "" : ", ") + name;
                placeholders += placeholders.empty() ? "?" : ", ?";
            }
            insert = std::string("INSERT INTO ") + table + " (" + names + ") VALUES (" +
                     placeholders + ")";
            continue;
        }
        if (fields.size() != header.size()) {
            throw DbError(SQLITE_MISMATCH,
                          std::string("Dati di consultazione non validi: ") + table + ", riga " +
                              std::to_string(lineNumber),
                          "Schema.Create");
        }
        db.execute(insert, std::vector<Value>(fields.begin(), fields.end()));
    }
}

}  // namespace

void createSchema(Database& db) {
    for (const char* sql : kTables) db.execute(sql);
    for (const char* sql : kViews) db.execute(sql);
    loadLookup(db, "ComuniValdoria", embedded::comuniTsv());
    loadLookup(db, "Tab_Professione", embedded::professioniTsv());
    loadLookup(db, "Tab_Parentela", embedded::parentelaTsv());
}

}  // namespace store
