// The Region's commands on both engines: the same test bodies run on the embedded file and on
// PostgreSQL.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Banco.h"
#include "store/Database.h"

namespace {

using store::Value;

// Two collection points of A00101, one of A00102, one of a municipality not in the list.
// Amounts chosen so that truncating cents or summing badly shows (1200.29 * 100 is
// 120028.99999...).
Estrazione ComuneAB() {
    return {"A00101",
            "AB",
            1500.50,
            {{"A001012005AB1",
              "ROSSI",
              "MARIO",
              "RSSMRA70A01A001A",
              "1",
              "A",
              1200.29,
              {{"ROSSI MARIO", "1970-01-01"}, {"ROSSI LUCA", "2000-05-05"}}},
             {"A001012005AB2",
              "BIANCHI",
              "ANNA",
              "BNCNNA80B42A001B",
              "1",
              "B",
              898.45,
              {{"BIANCHI ANNA", "1980-02-02"}, {"GIALLI PIA", "1990-03-03"}}},
             {"A001012005AB10",
              "BIANCHI",
              "ANNA",
              "BNCNNA80B42A001B",
              "0",
              "A",
              500.00,
              {{"BIANCHI ANNA", "1980-02-02"}}},
             {"A001012005AB11", "NERI", "ELSA", "NRELSE75C43A001C", {}, {}, {}, {}}}};
}

Estrazione ComuneCD() {
    return {"A00101",
            "CD",
            0.25,
            {{"A001012005CD1",
              "GIALLI",
              "PIA",
              "GLLPIA90C43A001D",
              "1",
              "A",
              1000.00,
              {{"GIALLI PIA", "1990-03-03"}}}}};
}

Estrazione ComuneAA() {
    return {"A00102",
            "AA",
            0,
            {{"A001022005AA1",
              "ROSSI",
              "MARIO",
              "RSSMRA70A01A001A",
              "1",
              "B",
              0.01,
              {{"ROSSI MARIO", "1970-01-01"}, {"ROSSI LUCA", "2000-05-05"}}},
             {"A001022005AA2", "VERDI", "GINO", "VRDGNI60D04A002E", "0", "B", 0.0, {}}}};
}

Estrazione Sconosciuto() {
    return {"Z99999",
            "AB",
            10,
            {{"Z999992005AB1", "MORO", "ALDO", "MROLDA50E05Z999F", "1", "A", 100.0, {}}}};
}

const char* const kRiepilogo =
    "CodComune;Comune;PuntiRaccolta;Domande;Ammissibili;NonAmmissibili;FasciaA;FasciaB;"
    "Fabbisogno;CoFinanziamento\n"
    "A00101;ACQUAVIVA DI VALDORIA;2;5;3;2;2;1;3098,74;1500,75\n"
    "A00102;ALBAROSSA;1;2;1;1;0;1;0,01;0,00\n"
    "Z99999;;1;1;1;0;1;0;100,00;10,00\n"
    "TOTALE;Regione;4;8;5;3;3;2;3198,75;1510,75\n";

class RegioneTest : public Banco {
protected:
    // Imports the four sendings; every one must be taken.
    void importaTutto() {
        const Esito e =
            esegui({"importa", estrazione("ab.mdb", ComuneAB()), estrazione("cd.mdb", ComuneCD()),
                    estrazione("aa.mdb", ComuneAA()), estrazione("z.mdb", Sconosciuto())});
        ASSERT_EQ(e.stato, 0) << e.out << e.err;
    }

    std::string riepilogo() {
        const Esito e = esegui({"riepilogo", "--csv", file("riepilogo.csv")});
        EXPECT_EQ(e.stato, 0) << e.err;
        return LeggiFile(file("riepilogo.csv"));
    }
};

TEST_P(RegioneTest, ImportaERiepilogaAlCentesimo) {
    const Esito e =
        esegui({"importa", estrazione("ab.mdb", ComuneAB()), estrazione("cd.mdb", ComuneCD()),
                estrazione("aa.mdb", ComuneAA()), estrazione("z.mdb", Sconosciuto())});
    EXPECT_EQ(e.stato, 0) << e.err;
    EXPECT_EQ(e.out,
              file("ab.mdb") + ": importato (comune A00101, punto di raccolta AB, 4 domande)\n" +
                  file("cd.mdb") +
                  ": importato (comune A00101, punto di raccolta CD, 1 domanda)\n" +
                  file("aa.mdb") +
                  ": importato (comune A00102, punto di raccolta AA, 2 domande)\n" + file("z.mdb") +
                  ": importato (comune Z99999, punto di raccolta AB, 1 domanda)\n"
                  "Importati 4 file su 4; rifiutati 0.\n");
    EXPECT_EQ(riepilogo(), kRiepilogo);

    const Esito tabella = esegui({"riepilogo"});
    EXPECT_EQ(tabella.stato, 0);
    EXPECT_NE(tabella.out.find("A00101  ACQUAVIVA DI VALDORIA      2        5            3"),
              std::string::npos)
        << tabella.out;
    EXPECT_NE(tabella.out.find("TOTALE  Regione"), std::string::npos);
    EXPECT_NE(tabella.out.find("3.198,75          1.510,75"), std::string::npos) << tabella.out;
}

TEST_P(RegioneTest, UnFileInviatoDiNuovoSostituisceIlPrecedente) {
    importaTutto();
    // The corrected sending of A00101 AB: one application left, another co-financing.
    Estrazione corretto = ComuneAB();
    corretto.coFinanz = 200;
    corretto.domande.resize(1);
    corretto.domande[0].richiesto = 1300.0;
    const Esito e = esegui({"importa", estrazione("ab-corretto.mdb", corretto)});
    EXPECT_EQ(e.stato, 0);
    EXPECT_NE(e.out.find("1 domanda; sostituisce l'invio precedente)"), std::string::npos) << e.out;
    EXPECT_EQ(riepilogo(),
              "CodComune;Comune;PuntiRaccolta;Domande;Ammissibili;NonAmmissibili;FasciaA;FasciaB;"
              "Fabbisogno;CoFinanziamento\n"
              "A00101;ACQUAVIVA DI VALDORIA;2;2;2;0;2;0;2300,00;200,25\n"
              "A00102;ALBAROSSA;1;2;1;1;0;1;0,01;0,00\n"
              "Z99999;;1;1;1;0;1;0;100,00;10,00\n"
              "TOTALE;Regione;4;5;4;1;3;1;2400,01;210,25\n");
    // The replaced applications and household rows are gone: BIANCHI no longer applies twice.
    const Esito d = esegui({"duplicati", "--csv", file("d.csv")});
    EXPECT_EQ(LeggiFile(file("d.csv")),
              "CodFiscale;CodComune;NumRepertorio;Cognome;Nome\n"
              "RSSMRA70A01A001A;A00101;A001012005AB1;ROSSI;MARIO\n"
              "RSSMRA70A01A001A;A00102;A001022005AA1;ROSSI;MARIO\n");
}

TEST_P(RegioneTest, DuplicatiPerCodiceFiscaleENucleiDiComuniDiversi) {
    importaTutto();
    const Esito e = esegui({"duplicati", "--csv", file("duplicati.csv")});
    EXPECT_EQ(e.stato, 0) << e.err;
    // By code, then municipality, then the register number's progressive (2 before 10).
    EXPECT_EQ(LeggiFile(file("duplicati.csv")),
              "CodFiscale;CodComune;NumRepertorio;Cognome;Nome\n"
              "BNCNNA80B42A001B;A00101;A001012005AB2;BIANCHI;ANNA\n"
              "BNCNNA80B42A001B;A00101;A001012005AB10;BIANCHI;ANNA\n"
              "RSSMRA70A01A001A;A00101;A001012005AB1;ROSSI;MARIO\n"
              "RSSMRA70A01A001A;A00102;A001022005AA1;ROSSI;MARIO\n");
    // Members in households of two municipalities are listed; GIALLI PIA and BIANCHI ANNA are
    // in two households of one municipality only.
    const std::string atteso =
        "Componenti dei nuclei con lo stesso nome e la stessa data di nascita in comuni diversi\n"
        "\n"
        "ROSSI LUCA, data di nascita 05/05/2000\n"
        "    A00101  A001012005AB1\n"
        "    A00102  A001022005AA1\n"
        "\n"
        "ROSSI MARIO, data di nascita 01/01/1970\n"
        "    A00101  A001012005AB1\n"
        "    A00102  A001022005AA1\n"
        "\n"
        "Totale: 2 persone in 4 nuclei.\n";
    EXPECT_NE(e.out.find(atteso), std::string::npos) << e.out;
    EXPECT_NE(e.out.find("RSSMRA70A01A001A\n    A00101  A001012005AB1  ROSSI MARIO\n"),
              std::string::npos);
    EXPECT_NE(e.out.find("Totale: 2 codici fiscali in 4 domande."), std::string::npos);
    EXPECT_EQ(e.out.find("GIALLI"), std::string::npos);
}

// Rows are marked as possible repeats when they arrive; what is listed must not depend on the
// order of the sendings, nor on sendings replaced since.
TEST_P(RegioneTest, IDuplicatiNonDipendonoDallOrdineDegliInvii) {
    const auto duplicati = [&] {
        const Esito e = esegui({"duplicati", "--csv", file("d.csv")});
        EXPECT_EQ(e.stato, 0) << e.err;
        return LeggiFile(file("d.csv")) + e.out.substr(e.out.find("Componenti"));
    };
    ASSERT_EQ(
        esegui({"importa", estrazione("aa.mdb", ComuneAA()), estrazione("z.mdb", Sconosciuto()),
                estrazione("cd.mdb", ComuneCD()), estrazione("ab.mdb", ComuneAB())})
            .stato,
        0);
    const std::string tutti = duplicati();
    EXPECT_NE(tutti.find("RSSMRA70A01A001A;A00102;A001022005AA1;ROSSI;MARIO"), std::string::npos);
    EXPECT_NE(tutti.find("ROSSI LUCA, data di nascita 05/05/2000"), std::string::npos);

    // A00102 sends again without ROSSI: he is no longer found twice, in neither list.
    Estrazione senzaRossi = ComuneAA();
    senzaRossi.domande.erase(senzaRossi.domande.begin());
    ASSERT_EQ(esegui({"importa", estrazione("aa2.mdb", senzaRossi)}).stato, 0);
    const std::string dopo = duplicati();
    EXPECT_EQ(dopo.find("RSSMRA70A01A001A"), std::string::npos) << dopo;
    EXPECT_EQ(dopo.find("ROSSI"), std::string::npos) << dopo;
    EXPECT_NE(dopo.find("BNCNNA80B42A001B;A00101;A001012005AB10"), std::string::npos);

    // And the first sending again: as found when A00102 had come first.
    ASSERT_EQ(esegui({"importa", file("aa.mdb")}).stato, 0);
    EXPECT_EQ(duplicati(), tutti);
}

TEST_P(RegioneTest, OgniFileRifiutatoHaIlSuoMotivoEGliAltriSonoImportati) {
    const auto scrivi = [&](const std::string& nome, const std::string& contenuto) {
        std::ofstream(file(nome), std::ios::binary) << contenuto;
        return file(nome);
    };
    const auto conConfigurazione = [&](const std::string& nome, const std::string& cod,
                                       const std::string& punto) {
        Estrazione e = ComuneAA();
        e.codComune = cod;
        e.punto = punto;
        return estrazione(nome, e);
    };
    struct Caso {
        std::string percorso;
        std::string motivo;
    };
    Estrazione altroComune = ComuneAA();
    altroComune.domande[1].numero = "A001012005AA2";
    Estrazione altroPunto = ComuneAA();
    altroPunto.domande[1].numero = "A001022005AB2";
    Estrazione testoNellImporto = ComuneAA();
    testoNellImporto.domande[0].richiesto = "mille";
    const std::string danneggiato = estrazione("danneggiato.mdb", ComuneAA());
    Danneggia(danneggiato);
    const std::string troncato = estrazione("troncato.mdb", ComuneAA());
    std::filesystem::resize_file(troncato, std::filesystem::file_size(troncato) / 2);
    ScriviEstrazione(file("password.mdb"), ComuneAA(), "1234abcdefg");
    store::Database::create(file("senzaconfig.mdb")).close();
    ScriviEstrazione(file("nonciifrato.mdb"), ComuneAA(), "");
    std::filesystem::create_directory(file("vuota"));
    const auto ritocca = [&](const std::string& nome, const std::vector<std::string>& sql) {
        ScriviEstrazione(file(nome), ComuneAA());
        store::Database db = store::Database::open(file(nome));
        for (const std::string& istruzione : sql) db.execute(istruzione);
        return file(nome);
    };

    const std::vector<Caso> casi = {
        {scrivi("testo.mdb", "Elenco delle domande\n"), "non è un archivio di Vendral 2005"},
        {scrivi("vuoto.mdb", ""), "non è un archivio di Vendral 2005 (il file è vuoto)"},
        {file("nonciifrato.mdb"), "non è un archivio di Vendral 2005 (è un database non cifrato)"},
        {file("password.mdb"),
         "l'archivio è cifrato con un'altra password (o è danneggiato all'inizio)"},
        {danneggiato, "l'archivio è danneggiato (controllo di integrità non superato)"},
        {troncato, "l'archivio è danneggiato"},
        {file("manca.mdb"), "il file non esiste"},
        {file("vuota"), "la cartella non contiene archivi .mdb"},
        {ritocca("senzanucleo.mdb", {"DROP TABLE NucleoFam"}),
         "non è un archivio di Vendral 2005 (manca la tabella NucleoFam)"},
        {ritocca("senzacolonna.mdb",
                 {"DROP TABLE Configurazione",
                  "CREATE TABLE Configurazione (CodComune TEXT, Punto_lavoro TEXT)"}),
         "non è un archivio di Vendral 2005 (manca la colonna Data_emis_bando della tabella "
         "Configurazione)"},
        {file("senzaconfig.mdb"), "nella configurazione manca il codice del comune"},
        {conConfigurazione("senzacomune.mdb", "", "AA"),
         "nella configurazione manca il codice del comune"},
        {conConfigurazione("senzapunto.mdb", "A00102", ""),
         "nella configurazione manca il codice del punto di raccolta"},
        {conConfigurazione("comunecorto.mdb", "A0010", "2A"),
         "il codice del comune A0010 non è di sei caratteri"},
        {conConfigurazione("puntolungo.mdb", "A00102", "AAB"),
         "il codice del punto di raccolta AAB non è di due caratteri"},
        {estrazione("altrocomune.mdb", altroComune),
         "il numero di repertorio A001012005AA2 non corrisponde al comune A00102 e al punto di "
         "raccolta AA"},
        {estrazione("altropunto.mdb", altroPunto),
         "il numero di repertorio A001022005AB2 non corrisponde al comune A00102 e al punto di "
         "raccolta AA"},
        {estrazione("testo-importo.mdb", testoNellImporto),
         "valore non valido nel campo ContribRichiesto della domanda A001022005AA1 (mille)"},
    };
    const std::string buono = estrazione("buono.mdb", Sconosciuto());
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.percorso);
        const Esito e = esegui({"importa", c.percorso, buono});
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.out.substr(0, e.out.find('\n') + 1),
                  c.percorso + ": rifiutato: " + c.motivo + "\n");
        EXPECT_NE(e.out.find(buono + ": importato"), std::string::npos) << e.out;
    }
    EXPECT_EQ(riepilogo(),
              "CodComune;Comune;PuntiRaccolta;Domande;Ammissibili;NonAmmissibili;FasciaA;FasciaB;"
              "Fabbisogno;CoFinanziamento\n"
              "Z99999;;1;1;1;0;1;0;100,00;10,00\n"
              "TOTALE;Regione;1;1;1;0;1;0;100,00;10,00\n");
}

TEST_P(RegioneTest, UnFileRifiutatoLasciaIntattoLInvioPrecedente) {
    importaTutto();
    // The same sending again, refused at its last application after the earlier rows were
    // already being replaced.
    Estrazione errato = ComuneAB();
    errato.domande.back().numero = "A001022005AB11";
    const Esito e = esegui({"importa", estrazione("errato.mdb", errato)});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.out.find("rifiutato: il numero di repertorio A001022005AB11"), std::string::npos);
    EXPECT_EQ(riepilogo(), kRiepilogo);
    esegui({"duplicati", "--csv", file("d.csv")});
    EXPECT_NE(LeggiFile(file("d.csv")).find("BNCNNA80B42A001B;A00101;A001012005AB10"),
              std::string::npos);
}

TEST_P(RegioneTest, UnaCartellaImportaISuoiArchivi) {
    std::filesystem::create_directory(file("invii"));
    ScriviEstrazione(file("invii/Vendral2005_A00102.MDB"), ComuneAA());
    ScriviEstrazione(file("invii/Vendral2005_A00101.mdb"), ComuneAB());
    std::ofstream(file("invii/leggimi.txt")) << "non un archivio";
    const Esito e = esegui({"importa", file("invii")}, true);
    EXPECT_EQ(e.stato, 0) << e.out;
    // On a terminal a progress bar is drawn, and cleared before each line.
    EXPECT_NE(e.out.find("\r\033[K[##############################] 100%  2/2"), std::string::npos);
    const std::size_t primo = e.out.find("Vendral2005_A00101.mdb: importato");
    EXPECT_NE(primo, std::string::npos);
    EXPECT_LT(primo, e.out.find("Vendral2005_A00102.MDB: importato"));
    EXPECT_EQ(e.out.find("leggimi"), std::string::npos);
    EXPECT_EQ(esegui({"importa", estrazione("z.mdb", Sconosciuto())}).out.find('\r'),
              std::string::npos);
}

// Ctrl-C during an import: the file being loaded is finished, the others are not examined,
// and the copies prepared ahead of them leave nothing behind in the temporary folder.
TEST_P(RegioneTest, UnImportInterrottoTieneIFileCaricatiENonLasciaCopie) {
    const std::string temporanei = file("tmp");
    std::filesystem::create_directory(temporanei);
    setenv("TMPDIR", temporanei.c_str(), 1);
    int domande = 0;
    interrotto_ = [&domande] { return ++domande > 1; };
    const Esito e = esegui({"importa", estrazione("aa.mdb", ComuneAA()),
                            estrazione("ab.mdb", ComuneAB()), estrazione("cd.mdb", ComuneCD())});
    unsetenv("TMPDIR");
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.out.find("aa.mdb: importato"), std::string::npos) << e.out;
    EXPECT_EQ(e.out.find("ab.mdb"), std::string::npos) << e.out;
    EXPECT_NE(e.out.find("Importati 1 file su 3; rifiutati 0; non esaminati 2."), std::string::npos)
        << e.out;
    EXPECT_EQ(e.err, "Importazione interrotta dall'operatore.\n");
    EXPECT_TRUE(std::filesystem::is_empty(temporanei));
    EXPECT_NE(riepilogo().find("\nA00102;ALBAROSSA;1;2;1;1;0;1;0,01;0,00\nTOTALE;"),
              std::string::npos);
}

TEST_P(RegioneTest, StampaPdfEFoglioDiCalcolo) {
    importaTutto();
    const Esito e = esegui(
        {"riepilogo", "--pdf", file("r.pdf"), "--xlsx", file("r.xlsx"), "--csv", file("r.csv")});
    ASSERT_EQ(e.stato, 0) << e.err;
    EXPECT_EQ(LeggiFile(file("r.xlsx")).substr(0, 2), "PK");
    ASSERT_EQ(LeggiFile(file("r.pdf")).substr(0, 5), "%PDF-");
    ASSERT_EQ(std::system(("pdftotext -layout " + file("r.pdf") + " " + file("r.txt")).c_str()), 0);
    const std::string testo = LeggiFile(file("r.txt"));
    for (const char* atteso : {"ACQUAVIVA DI VALDORIA", "3.098,74", "1.500,75", "TOTALE",
                               "3.198,75", "1.510,75", "Euro 3.198,75"})
        EXPECT_NE(testo.find(atteso), std::string::npos) << atteso << "\n" << testo;
    EXPECT_FALSE(std::filesystem::exists(file("r.pdf.parziale")));
}

TEST_P(RegioneTest, SenzaDatiImportatiIComandiDiLetturaLoDicono) {
    const Esito e = esegui({"riepilogo"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.err.find("non "), std::string::npos) << e.err;
    EXPECT_NE(e.err.find("importare prima gli archivi dei Comuni"), std::string::npos) << e.err;
    EXPECT_EQ(esegui({"duplicati"}).stato, 1);
    if (!postgres()) {
        EXPECT_FALSE(std::filesystem::exists(db_));
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, RegioneTest, ::testing::Values("sqlite", "postgres"),
                         [](const auto& info) { return info.param; });

}  // namespace
