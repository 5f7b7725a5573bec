// The audit of the imported applications against the rules, on both engines: applications
// stored as the rules give them are not listed; results changed by hand are, field by field;
// each sending is judged by the dates of its own call.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "Banco.h"
#include "regione/Riepilogo.h"
#include "regione/Verifica.h"
#include "rules/Motore.h"
#include "store/Database.h"

namespace {

using store::Value;

// What an operator typed for an application; the rest is the same for all.
struct Richiesta {
    std::string numero;
    std::string cognome;
    std::string presentazione;
    std::string categoria;
    std::vector<double> redditi;  // one household row each; none: no household rows
};

// X closes its call on 30 September, Y a month later.
const char* const kEmissione = "2006-07-14";
const char* const kChiusuraX = "2006-09-30";
const char* const kChiusuraY = "2006-10-31";

const std::vector<Richiesta> kRichiesteX = {
    {"A001012005AB1", "ROSSI", "2006-09-01", "A3", {9000}},
    {"A001012005AB2", "BIANCHI", "2006-09-12", "A3", {9000, 7500.5, 1200}},
    {"A001012005AB3", "VERDI", "2006-10-05", "A3", {9000}},  // after X's closing date
    {"A001012005AB10", "NERI", "2006-08-20", "A1", {4000, 3000}},
    {"A001012005AB11", "GIALLI", "2006-08-21", "A3", {}},
};
const std::vector<Richiesta> kRichiesteY = {
    {"A001022005AA1", "VERDI", "2006-10-05", "A3", {9000}},  // within Y's call
    {"A001022005AA2", "MORO", "2006-09-30", "A4", {2500}},
};

rules::RigaMemorizzata Riga(const store::QueryResult& r, std::size_t i) {
    rules::RigaMemorizzata riga;
    for (std::size_t k = 0; k < r.columns.size(); ++k) riga[r.columns[k]] = r.rows[i][k];
    return riga;
}

// Writes a sending whose stored results are those the rules give with its call's dates.
void ScriviInvio(const std::string& percorso, const std::string& codComune,
                 const std::string& punto, const std::string& chiusura,
                 const std::vector<Richiesta>& richieste) {
    Estrazione e{codComune, punto, 0, {}};
    for (const Richiesta& r : richieste) {
        DomandaProva d{r.numero, r.cognome, "ANNA", "BNCNNA80B42A001B", {}, {}, {}, {}};
        for (std::size_t i = 0; i < r.redditi.size(); ++i)
            d.nucleo.push_back({r.cognome + " " + std::to_string(i), "1970-01-01"});
        e.domande.push_back(d);
    }
    ScriviEstrazione(percorso, e);
    store::Database db = store::Database::open(percorso);
    db.execute("UPDATE Configurazione SET Data_emis_bando = ?, Data_chius_bando = ?",
               {kEmissione, chiusura});
    db.execute(
        "UPDATE Domanda SET IndiRich = 'VIA ROMA 1', Contratto1Num = '123/2003', "
        "Contratto1DataReg = '2003-02-01', Contratto1DataIni = '2003-01-15', "
        "FlagNonRegistr = '0'");
    for (const Richiesta& r : richieste) {
        db.execute(
            "UPDATE Domanda SET DataDomanda = ?, DataRegistrazione = ?, CategCatasto = ? "
            "WHERE NumRepertorio = ?",
            {r.presentazione, r.presentazione + " 10:00:00", r.categoria, r.numero});
        for (std::size_t i = 0; i < r.redditi.size(); ++i) {
            db.execute(
                "UPDATE NucleoFam SET RedditoEur = ? WHERE NumRepertorio = ? AND "
                "ProgrNucleo = ?",
                {r.redditi[i], r.numero, static_cast<int>(i + 1)});
        }
        rules::DomandaMemorizzata m;
        m.domanda = Riga(db.query("SELECT * FROM Domanda WHERE NumRepertorio = ?", {r.numero}), 0);
        const store::QueryResult nucleo =
            db.query("SELECT * FROM NucleoFam WHERE NumRepertorio = ?", {r.numero});
        for (std::size_t i = 0; i < nucleo.rows.size(); ++i) m.nucleo.push_back(Riga(nucleo, i));
        const auto bando = regione::BandoDellaDomanda(kEmissione, chiusura, r.presentazione);
        const rules::Domanda d =
            rules::Calcola(rules::LeggiMemorizzata(m), *bando, rules::Avvio::Tutto).domanda;
        db.execute(
            "UPDATE Domanda SET Fascia = ?, FlagDomandaOK = ?, ContribRichiesto = ? "
            "WHERE NumRepertorio = ?",
            {d.fascia, d.ammessa ? "1" : "0", d.richiesto.valore, r.numero});
    }
}

// A stored column of an application, read from the file.
Value Memorizzato(const std::string& percorso, const std::string& numero, const char* colonna) {
    return store::Database::open(percorso)
        .query(std::string("SELECT ") + colonna + " FROM Domanda WHERE NumRepertorio = ?", {numero})
        .rows.at(0)
        .at(0);
}

std::string Euro(const Value& v, bool migliaia = false) {
    return regione::Centesimi(std::llround(v.toDouble() * 100), migliaia);
}

const std::string kTitolo =
    "Domande i cui risultati memorizzati differiscono dalle regole del bando\n";

class VerificaTest : public Banco {
protected:
    void SetUp() override {
        Banco::SetUp();
        if (IsSkipped()) return;
        ScriviInvio(x_ = file("x.mdb"), "A00101", "AB", kChiusuraX, kRichiesteX);
        ScriviInvio(y_ = file("y.mdb"), "A00102", "AA", kChiusuraY, kRichiesteY);
    }

    std::string x_, y_;
};

TEST_P(VerificaTest, DomandeCoerentiConLeRegoleNonSonoElencate) {
    // The same application, presented on 5 October: late for X, in time for Y.
    ASSERT_EQ(Memorizzato(x_, "A001012005AB3", "FlagDomandaOK").toText(), "0");
    ASSERT_EQ(Memorizzato(y_, "A001022005AA1", "FlagDomandaOK").toText(), "1");
    ASSERT_EQ(Memorizzato(x_, "A001012005AB10", "FlagDomandaOK").toText(), "0");  // A1

    ASSERT_EQ(esegui({"importa", x_, y_}).stato, 0);
    const Esito e = esegui({"verifica", "--csv", file("v.csv")});
    EXPECT_EQ(e.stato, 0) << e.out << e.err;
    EXPECT_EQ(e.out, kTitolo + "\nDomande verificate: 7; diverse dalle regole: 0.\n" +
                         "Differenze scritte in " + file("v.csv") + ".\n");
    EXPECT_EQ(LeggiFile(file("v.csv")), regione::kIntestazioneCsvVerifica);
}

TEST_P(VerificaTest, RisultatiCambiatiAManoSonoElencatiCampoPerCampo) {
    const Value dovutoY = Memorizzato(y_, "A001022005AA1", "ContribRichiesto");
    ASSERT_GT(dovutoY.toDouble(), 0);
    const Value dovuto1 = Memorizzato(x_, "A001012005AB1", "ContribRichiesto");
    const std::string fascia2 = Memorizzato(x_, "A001012005AB2", "Fascia").toText();
    const std::string altra2 = fascia2 == "A" ? "B" : "A";
    const bool ok11 = Memorizzato(x_, "A001012005AB11", "FlagDomandaOK").toText() == "1";

    const std::tuple<std::string, const char*, Value, const char*> ritocchi[] = {
        // Late for X: stored as admissible with the amount Y grants the same application.
        {x_, "FlagDomandaOK = ?", "1", "A001012005AB3"},
        {x_, "ContribRichiesto = ?", dovutoY, "A001012005AB3"},
        {x_, "ContribRichiesto = ?", dovuto1.toDouble() + 0.01, "A001012005AB1"},
        {x_, "Fascia = ?", altra2, "A001012005AB2"},
        {x_, "FlagDomandaOK = ?", ok11 ? "0" : "1", "A001012005AB11"},
        // Within a cent's rounding: the same amount.
        {y_, "ContribRichiesto = ContribRichiesto + ?", 0.001, "A001022005AA2"},
    };
    for (const auto& [percorso, assegna, valore, numero] : ritocchi) {
        store::Database::open(percorso).execute(
            std::string("UPDATE Domanda SET ") + assegna + " WHERE NumRepertorio = ?",
            {valore, numero});
    }

    ASSERT_EQ(esegui({"importa", x_, y_}).stato, 0);
    const Esito e = esegui({"verifica", "--csv", file("v.csv")});
    EXPECT_EQ(e.stato, 1) << e.err;
    const std::string righe =
        "A00101;AB;A001012005AB1;ROSSI;ANNA;ContribRichiesto;" + Euro(dovuto1.toDouble() + 0.01) +
        ";" + Euro(dovuto1) + "\n" + "A00101;AB;A001012005AB2;BIANCHI;ANNA;Fascia;" + altra2 + ";" +
        fascia2 + "\n" + "A00101;AB;A001012005AB3;VERDI;ANNA;FlagDomandaOK;1;0\n" +
        "A00101;AB;A001012005AB3;VERDI;ANNA;ContribRichiesto;" + Euro(dovutoY) + ";0,00\n" +
        "A00101;AB;A001012005AB11;GIALLI;ANNA;FlagDomandaOK;" + (ok11 ? "0;1" : "1;0") + "\n";
    EXPECT_EQ(LeggiFile(file("v.csv")), regione::kIntestazioneCsvVerifica + righe);

    const std::string blocco3 =
        "\nDomanda A001012005AB3 - comune A00101 ACQUAVIVA DI VALDORIA, punto di raccolta AB - "
        "VERDI ANNA\n"
        "    Domanda ammissibile: memorizzato sì, secondo le regole no\n"
        "    Contributo Regionale richiesto: memorizzato " +
        Euro(dovutoY, true) +
        ", secondo le regole 0,00\n"
        "    Motivi di esclusione secondo le regole: Presentazione domanda fuori termine\n";
    EXPECT_NE(e.out.find(blocco3), std::string::npos) << e.out;
    EXPECT_NE(e.out.find("    Fascia: memorizzato " + altra2 + ", secondo le regole " + fascia2),
              std::string::npos);
    EXPECT_NE(e.out.find("\nDomande verificate: 7; diverse dalle regole: 4.\n"), std::string::npos);
}

TEST_P(VerificaTest, UnInvioSenzaDateDelBandoNonEVerificato) {
    store::Database::open(y_).execute("UPDATE Configurazione SET Data_chius_bando = NULL");
    ASSERT_EQ(esegui({"importa", x_, y_}).stato, 0);
    const Esito e = esegui({"verifica"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.out, kTitolo +
                         "\nComune A00102, punto di raccolta AA: le date del bando mancano o non "
                         "sono valide nella configurazione; 2 domande non verificate.\n"
                         "\nDomande verificate: 5; diverse dalle regole: 0; non verificate: 2.\n");
}

// A failure while the results are handed over (a full disk, say) stops the reading and comes
// back to the caller, with the engine's connection still usable.
TEST_P(VerificaTest, UnErroreNelConsegnareIRisultatiFermaLaLettura) {
    store::Database::open(x_).execute("UPDATE Domanda SET Fascia = 'Z'");
    ASSERT_EQ(esegui({"importa", x_, y_}).stato, 0);
    const auto m = regione::ApriMotore(db_, false);
    int consegnate = 0;
    EXPECT_THROW(regione::Verifica(
                     *m,
                     [&](const regione::DomandaDiversa&) {
                         if (++consegnate == 2) throw std::runtime_error("disco pieno");
                     },
                     [](const regione::InvioNonVerificabile&) {}),
                 std::runtime_error);
    EXPECT_EQ(consegnate, 2);
    EXPECT_EQ(
        regione::Verifica(
            *m, [](const regione::DomandaDiversa&) {}, [](const regione::InvioNonVerificabile&) {})
            .diverse,
        5);
}

INSTANTIATE_TEST_SUITE_P(Motori, VerificaTest, ::testing::Values("sqlite", "postgres"),
                         [](const auto& info) { return info.param; });

// Today, for the rules' date checks, is the day the application was registered, else the
// call's closing date; without readable call dates there is no call to check against.
TEST(BandoDellaDomanda, OggiEIlGiornoDellaRegistrazione) {
    const std::tuple<const char*, const char*, std::optional<store::Date>> casi[] = {
        {"2006-09-30", "2006-09-01 10:00:00", store::Date{2006, 9, 1}},
        {"2006-09-30", "", store::Date{2006, 9, 30}},
        {"2006-09-30 00:00:00", "domani", store::Date{2006, 9, 30}},
        {"", "2006-09-01", std::nullopt},
        {"2006-09-31", "2006-09-01", std::nullopt},
    };
    for (const auto& [chiusura, registrazione, oggi] : casi) {
        SCOPED_TRACE(std::string(chiusura) + " " + registrazione);
        const auto b = regione::BandoDellaDomanda("2006-07-14", chiusura, registrazione);
        ASSERT_EQ(b.has_value(), oggi.has_value());
        if (b) {
            EXPECT_EQ(b->oggi, *oggi);
        }
    }
}

}  // namespace
