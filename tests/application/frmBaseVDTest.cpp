// Opening a stored application on the application screen and registering it again.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "application/Registry.h"
#include "startup/ModuloVD2005.h"
#include "store/Database.h"
#include "support/Cartella.h"
#include "support/Porte.h"
#include "ui/Program.h"
#include "ui/Screen.h"

namespace {

class Schermata : public ::testing::Test {
protected:
    void SetUp() override {
        paths_ = {cartella_.testo(), cartella_.testo()};
        db_ = store::Database::create(paths_.archive());
        db_.execute(
            "INSERT INTO Configurazione (CodComune, Punto_lavoro, Data_emis_bando, "
            "Data_chius_bando, Progressivo_domande) VALUES ('A00101', 'AB', '2006-07-14', "
            "'2006-09-30', 3)");
    }
    void TearDown() override {
        modulo_.reset();
        program_.reset();
        db_.close();
    }

    // A stored application; `campi` sets further columns ("Fascia='A', ...").
    void domanda(const std::string& numero, const std::string& campi = "") {
        db_.execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES (?, 'ROSSI')",
                    {numero});
        if (!campi.empty()) {
            db_.execute("UPDATE Domanda SET " + campi + " WHERE NumRepertorio = ?", {numero});
        }
    }
    // A program of its own, with its screens, no message shown yet.
    void prepara() {
        modulo_.reset();
        program_ = std::make_unique<ui::Program>(ui::Ports{&messaggi_, &orologio_});
        modulo_ = std::make_unique<startup::ModuloVD2005>(*program_, paths_);
        application::RegistraSchermate(*modulo_);
        messaggi_.mostrati.clear();
    }
    // The screen as the search screen opens it.
    ui::Screen& apri(const std::string& numero) {
        prepara();
        modulo_->ApriDomanda(numero);
        return *program_->loaded("frmBaseVD");
    }

    supporto::CartellaTemporanea cartella_{"vdapp"};
    startup::Paths paths_;
    store::Database db_;
    supporto::Messaggi messaggi_;
    supporto::Orologio orologio_{{{2006, 9, 15}, 10, 0, 0}};
    std::unique_ptr<ui::Program> program_;
    std::unique_ptr<startup::ModuloVD2005> modulo_;
};

std::string valore(const ui::Screen& s, const std::string& id) {
    const ui::Control& c = *s.findById(id);
    switch (c.kind()) {
        case ui::Kind::CheckBox:
        case ui::Kind::OptionButton:
            return std::to_string(c.value());
        case ui::Kind::ComboBox:
            return c.boundValue();
        default:
            return c.text();
    }
}

TEST_F(Schermata, StoredFlagsTickTheBoxesThroughTheirReactions) {
    struct Caso {
        const char* campi;
        std::vector<std::pair<const char*, const char*>> attesi;
    };
    const Caso casi[] = {
        {"FlagCompAllCucina='1', FlagCompAllCucinino='1'",
         {{"chkCompAllCucina", "0"}, {"chkCompAllCucinino", "1"}}},
        {"FlagCompAllCucina='1', FlagCompAllCucinino='0', FlagCompAllBagno='1'",
         {{"chkCompAllCucina", "1"}, {"chkCompAllCucinino", "0"}, {"chkCompAllBagno", "1"}}},
        {"FlagTipoAlloggio='X'", {{"chkTipAlloggioPriv", "1"}, {"chkTipAlloggioErp", "0"}}},
        {"FlagTipoAlloggio='E'", {{"chkTipAlloggioPriv", "0"}, {"chkTipAlloggioErp", "1"}}},
        {"FlagTipoContratto='Z'", {{"opTipoContNon", "1"}, {"opTipoContConc", "0"}}},
        {"FlagConserFab='Q', FlagConserAll='M'",
         {{"opConsFabP", "0"}, {"opConsFabM", "0"}, {"opConsFabB", "0"}, {"opConsAllM", "1"}}},
        {"FlagDomandaOK='1', FlagEsclusaIstruttoria='0'",
         {{"chkDomandaOK", "1"}, {"chkDomandaNo", "0"}}},
        {"FlagDomandaOK=NULL", {{"chkDomandaOK", "0"}, {"chkDomandaNo", "1"}}},
        {"FlagEsclusaReddi='1', FlagEsclusaTermine='1'",
         {{"chkEsclusaReddi", "1"}, {"chkEsclusaTermine", "1"}, {"chkEsclusaCateg", "0"}}},
        {"FlagDebolUltra65='1'", {{"chkDebolUltra65", "1"}, {"chkDebolezzaSoc", "1"}}},
    };
    int progressivo = 10;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.campi);
        const std::string n = "A001012005AB" + std::to_string(++progressivo);
        domanda(n, c.campi);
        const ui::Screen& s = apri(n);
        for (const auto& [id, atteso] : c.attesi) EXPECT_EQ(valore(s, id), atteso) << id;
    }
}

TEST_F(Schermata, ReducedIncrementLabelComparesWithTheFullIncrementRoundedHalfToEven) {
    struct Caso {
        const char* campi;
        bool visibile;
    };
    const Caso casi[] = {
        {"ContribBase=2860, IncremPercContrib=25, IncremImpoContrib=140", true},
        {"ContribBase=2860, IncremPercContrib=25, IncremImpoContrib=715", false},
        // 10.10 x 25% is 2.525: half to even gives 2.52, not above the stored 2.52.
        {"ContribBase=10.10, IncremPercContrib=25, IncremImpoContrib=2.52", false},
        {"ContribBase=10.10, IncremPercContrib=25, IncremImpoContrib=2.51", true},
        {"ContribBase=NULL, IncremPercContrib=NULL, IncremImpoContrib=NULL", false},
    };
    int progressivo = 10;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.campi);
        const std::string n = "A001012005AB" + std::to_string(++progressivo);
        domanda(n, c.campi);
        EXPECT_EQ(apri(n).control("lblIncremRidotto").visible(), c.visibile);
    }
}

TEST_F(Schermata, StoredAmountsShowAsTheyWillBeStoredAgain) {
    const std::pair<const char*, const char*> casi[] = {{"NULL", "0,00"},
                                                        {"1234.567", "1.234,57"},
                                                        {"1e17", "100.000.000.000.000.000,00"},
                                                        {"9e999", "inf"}};
    int progressivo = 10;
    for (const auto& [memorizzato, mostrato] : casi) {
        const std::string n = "A001012005AB" + std::to_string(++progressivo);
        domanda(n, std::string("CanoneTotaleEur=") + memorizzato);
        EXPECT_EQ(apri(n).control("txtCanoneTotaleEur").text(), mostrato) << memorizzato;
    }
}

TEST_F(Schermata, MissingApplicationIsReportedAndTheScreenCloses) {
    domanda("A001012005AB1");
    for (const char* numero : {"A001012005AB2", "X'Y"}) {
        SCOPED_TRACE(numero);
        prepara();
        modulo_->ApriDomanda(numero);
        ASSERT_EQ(messaggi_.mostrati.size(), 1u);
        EXPECT_EQ(messaggi_.mostrati[0].text,
                  "La domanda " + std::string(numero) + " non è presente in archivio.");
        EXPECT_EQ(program_->active(), nullptr);
    }
}

}  // namespace
