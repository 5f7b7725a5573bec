#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "rules/Regole.h"
#include "ui/Program.h"

namespace {

struct Messaggi : ui::MessagePort {
    std::deque<ui::Answer> risposte;
    std::vector<ui::Message> visti;
    ui::Answer show(const ui::Message& m) override {
        visti.push_back(m);
        if (risposte.empty()) return m.defaultButton;
        const ui::Answer a = risposte.front();
        risposte.pop_front();
        return a;
    }
};

struct Orologio : ui::ClockPort {
    store::DateTime now() override { return {{2006, 9, 15}, 10, 0, 0}; }
};

constexpr const char* Controlli =
    "txtIndiRich txtCognomeRich txtNomeRich txtCodFiscRich cmbComuneRich txtDatPresentDom "
    "txtSommaRedditiNucleoEur txtRedditoLordoEur txtNumComponNucleo txtNumFigliCarico "
    "txtRedditoAccessoEur txtFascia txtIncidenzaCanRed txtCanoneTotaleEur txtCanoneTabComuneEur "
    "chkDebolUltra65 chkDebolInvalidi chkDebolSfratto chkDebolAltre chkDebolezzaSoc "
    "chkIncremLimiteFascia txtIncremPercFasciaA chkIncremLimiteRed txtIncremPercLimiteRed "
    "chkIncremContrib txtIncremPercContrib txtContribBase txtIncremImpoContrib lblIncremRidotto "
    "txtTotContrib txtAltriContrib txtContribRichiesto txtContribConcesso txtCoFinanzComune "
    "txtContribDaErogare chkDomandaOK chkDomandaNo chkEsclusaObbl chkEsclusaIncid "
    "chkEsclusaReddi chkEsclusaCateg chkEsclusaContr chkEsclusaTermine chkEsclusaIstruttoria "
    "txtCategCatasto chkFlagNonRegistr txtSuperfAlloggio txtNumAltreStanze "
    "txtNucleoNome:11 cmbNucleoParent:11 txtNucleoDatNasc:11 cmbNucleoProfes:11 "
    "txtNucleoRedditoEur:11 txtContrattoNum:2 txtContrattoDataReg:2 txtContrattoDataIni:2";

// The controls of the application screen that the rules use, wired as that screen wires them.
class Domanda : public ui::Screen {
public:
    explicit Domanda(ui::Program& p) : ui::Screen(p, "frmBaseVD", "Vendral") {
        const std::string elenco = Controlli;
        for (std::size_t i = 0; i < elenco.size();) {
            const std::size_t fine = std::min(elenco.find(' ', i), elenco.size());
            const std::string voce = elenco.substr(i, fine - i);
            const auto duepunti = voce.find(':');
            const std::string nome = voce.substr(0, duepunti);
            const ui::Kind tipo = nome.starts_with("chk")   ? ui::Kind::CheckBox
                                  : nome.starts_with("cmb") ? ui::Kind::ComboBox
                                  : nome.starts_with("lbl") ? ui::Kind::Label
                                                            : ui::Kind::TextBox;
            if (duepunti == std::string::npos) add(tipo, nome);
            for (int r = 0;
                 duepunti != std::string::npos && r < std::stoi(voce.substr(duepunti + 1)); ++r) {
                add(tipo, nome, r);
            }
            i = fine + 1;
        }
        control("cmbComuneRich").setItems({{"123456", "VALDORIA"}});
        for (int r = 0; r <= 10; ++r) {
            control("cmbNucleoParent", r).setItems({{"0", "RICHIEDENTE"}, {"3", "FIGLIO"}});
            control("cmbNucleoProfes", r).setItems({{"1", "IMPIEGATO"}});
        }
        // A cleared screen: the percentages of the options that are off hold "0".
        for (const char* n :
             {"txtIncremPercFasciaA", "txtIncremPercLimiteRed", "txtIncremPercContrib"}) {
            control(n).setText("0");
            control(n).onLeave = [this, n] { rules::UscitaPercentuale(x, control(n)); };
        }
        control("chkIncremContrib").onChange = [this] { rules::chkIncremContrib_Click(x); };
        control("chkIncremLimiteRed").onChange = [this] { rules::chkIncremLimiteRed_Click(x); };
        control("chkIncremLimiteFascia").onChange = [this] {
            rules::chkIncremLimiteFascia_Click(x);
        };
        control("txtCanoneTotaleEur").onEnter = [this] {
            rules::EntrataImporto(x, control("txtCanoneTotaleEur"));
        };
        control("txtCanoneTotaleEur").onLeave = [this] { rules::UscitaCanone(x); };
        control("txtCodFiscRich").onLeave = [this] { rules::UscitaCodiceFiscale(x); };
        control("txtDatPresentDom").onLeave = [this] { rules::UscitaDataPresentazione(x); };
        control("txtSuperfAlloggio").onLeave = [this] { rules::UscitaSuperficie(x); };
        for (const char* n : {"txtContrattoDataReg", "txtContrattoDataIni"}) {
            control(n, 0).onLeave = [this, n] { rules::UscitaDataContratto(x, control(n, 0)); };
        }
        x.DataEmisBando = {2006, 7, 14};
        x.DataChiusBando = {2006, 9, 30};
    }
    rules::Contesto x{*this};
};

// One program with the application screen shown; each case gets its own.
struct Banco {
    Messaggi messaggi;
    Orologio orologio;
    ui::Program program{ui::Ports{.messages = &messaggi, .clock = &orologio}};
    Domanda* s;

    Banco() {
        program.registerScreen("frmBaseVD",
                               [](ui::Program& p) { return std::make_unique<Domanda>(p); });
        s = &static_cast<Domanda&>(program.show("frmBaseVD"));
    }
    ui::Control& c(const char* nome, int i = -1) { return s->control(nome, i); }
    std::string t(const char* nome, int i = -1) { return c(nome, i).text(); }
    int v(const char* nome) { return c(nome).value(); }
    // Values of check boxes as digits, "10" for the first ticked and the second not.
    std::string valori(std::initializer_list<const char*> nomi) {
        std::string r;
        for (const char* n : nomi) r += std::to_string(v(n));
        return r;
    }
    // Sets fields by their ids, "txtA=1,5|chkB=1|cmbC(0)=shown text".
    void imposta(const std::string& assegnazioni) {
        for (std::size_t i = 0; i <= assegnazioni.size();) {
            const std::size_t fine = std::min(assegnazioni.find('|', i), assegnazioni.size());
            const std::string voce = assegnazioni.substr(i, fine - i);
            const auto uguale = voce.find('=');
            ui::Control& campo = *s->findById(voce.substr(0, uguale));
            if (campo.kind() == ui::Kind::CheckBox) {
                campo.setValue(voce[uguale + 1] == '1');
            } else {
                campo.setText(voce.substr(uguale + 1));
            }
            i = fine + 1;
        }
    }
    // The operator types into the field and moves on; false when the focus was kept.
    bool digita(ui::Control& campo, const std::string& testo) {
        EXPECT_TRUE(s->operatorFocus(campo));
        s->operatorEdited(campo, testo);
        return s->operatorFocus(c("txtIndiRich"));
    }

    // A complete, admissible application: one weak member with 13000 of income, band "B",
    // rent 4000 (incidence 30,77).
    void Compila() {
        imposta(
            "txtDatPresentDom=15/09/2006|txtCognomeRich=ROSSI|txtNomeRich=MARIO|"
            "txtCodFiscRich=RSSMRA70A01H501U|cmbComuneRich=VALDORIA|txtIndiRich=VIA ROMA 1|"
            "txtNucleoNome(0)=ROSSI MARIO|cmbNucleoParent(0)=RICHIEDENTE|"
            "txtNucleoDatNasc(0)=01/01/1970|cmbNucleoProfes(0)=IMPIEGATO|"
            "txtNucleoRedditoEur(0)=13.000,00|txtCategCatasto=A3|txtContrattoNum(0)=123|"
            "txtContrattoDataReg(0)=01/02/2003|txtContrattoDataIni(0)=01/01/2003|"
            "txtCanoneTotaleEur=4.000,00|txtCanoneTabComuneEur=4.000,00|chkDebolSfratto=1");
        rules::SommaReddito(s->x);
    }
};

TEST(Regole, OneIncrementOptionAtATimeWithNestedRecalculation) {
    Banco b;
    b.Compila();
    b.c("chkIncremLimiteFascia").setValue(1);
    EXPECT_EQ(b.t("txtIncremPercFasciaA"), "25");
    EXPECT_EQ(b.t("txtFascia"), "A");  // 13000 is within 13663.975
    EXPECT_EQ(b.t("txtContribBase"), "2.180,00");
    EXPECT_FALSE(b.c("chkIncremLimiteRed").enabled());

    // Out of range: refused, the focus goes back and nothing is recalculated.
    EXPECT_FALSE(b.digita(b.c("txtIncremPercFasciaA"), "25,01"));
    ASSERT_EQ(b.messaggi.visti.size(), 1u);
    EXPECT_EQ(b.messaggi.visti[0].text, "Il valore deve essere compreso tra 0 e 25");
    EXPECT_EQ(b.t("txtFascia"), "A");
    EXPECT_TRUE(b.digita(b.c("txtIncremPercFasciaA"), "10"));
    EXPECT_EQ(b.t("txtFascia"), "B");  // limit 12024.298

    b.c("chkIncremContrib").setValue(1);
    EXPECT_EQ(b.v("chkIncremLimiteFascia"), 0);
    EXPECT_EQ(b.t("txtIncremPercFasciaA"), "0");
    EXPECT_FALSE(b.c("txtIncremPercFasciaA").enabled());
    EXPECT_TRUE(b.c("chkIncremLimiteRed").enabled());
    EXPECT_TRUE(b.c("txtIncremPercContrib").enabled());

    // Without any condition every option goes; the one that was on recalculates.
    EXPECT_TRUE(b.digita(b.c("txtIncremPercContrib"), "25"));
    EXPECT_EQ(b.t("txtIncremImpoContrib"), "220,00");
    b.c("chkDebolSfratto").setValue(0);
    rules::VerificaDebolSoc(b.s->x);
    EXPECT_EQ(b.v("chkDebolezzaSoc"), 0);
    EXPECT_EQ(b.valori({"chkIncremLimiteFascia", "chkIncremLimiteRed", "chkIncremContrib"}), "000");
    for (const char* n :
         {"chkIncremLimiteFascia", "chkIncremLimiteRed", "chkIncremContrib", "txtIncremPercFasciaA",
          "txtIncremPercLimiteRed", "txtIncremPercContrib"}) {
        EXPECT_FALSE(b.c(n).enabled()) << n;
        EXPECT_TRUE(n[0] == 'c' || b.t(n) == "0") << n;
    }
    EXPECT_EQ(b.t("txtIncremImpoContrib") + " " + b.t("txtTotContrib"), "0.00 880,00");
}

TEST(Regole, FieldChecksOnLeaving) {
    using ui::Answer;
    const std::string data = "Data non valida ! \r\nImpostarla nuovamente nel formato gg/mm/aaaa.";
    struct Case {
        const char *campo, *testo;
        Answer risposta;
        std::string messaggio;  // empty: none
        bool resta;             // the focus goes back into the field
        const char* dopo;       // the text after leaving
    };
    const Case cases[] = {
        {"txtDatPresentDom", "30/09/2006", Answer::OK,  // after today as well
         "La data di presentazione non può essere superiore alla data corrente ! ", true, ""},
        {"txtDatPresentDom", "01/10/2006", Answer::OK,
         "La data di presentazione é superiore alla data di chiusura del bando ! ", false, ""},
        {"txtDatPresentDom", "13/07/2006", Answer::OK,
         "La data di presentazione non può essere inferiore alla data di emissione del bando ! ",
         true, ""},
        {"txtDatPresentDom", "31/02/2006", Answer::OK, data, true, "31/02/2006"},
        {"txtContrattoDataIni(0)", "15/09/2006", Answer::OK, "", false, ""},
        {"txtContrattoDataIni(0)", "16/09/2006", Answer::OK,
         "La data di inizio validità non può essere superiore alla data corrente ! ", true, ""},
        {"txtContrattoDataReg(0)", "16/09/2006", Answer::OK,
         "La data di registrazione non può essere superiore alla data corrente ! ", true, ""},
        {"txtSuperfAlloggio", "1000", Answer::OK, "Il valore deve essere inferiore a 1000", true,
         "1000,00"},
        // A paste is read as the field writes numbers; anything else stays, refused.
        {"txtSuperfAlloggio", "12a,5", Answer::OK, "Valore non valido", true, "12a,5"},
        {"txtSuperfAlloggio", "-5", Answer::OK, "Valore non valido", true, "-5"},
        {"txtCanoneTotaleEur", "12.345,67", Answer::OK, "", false, "12.345,67"},
        {"txtCanoneTotaleEur", "1e308", Answer::OK, "Valore non valido", true, "1e308"},
        {"txtCanoneTotaleEur", "99999999999999999", Answer::OK, "Valore non valido", true,
         "99999999999999999"},
    };
    for (const auto& k : cases) {
        Banco b;
        b.Compila();
        ui::Control& campo = *b.s->findById(k.campo);
        b.messaggi.risposte = {k.risposta};
        SCOPED_TRACE(std::string(k.campo) + " " + k.testo);
        EXPECT_EQ(b.digita(campo, k.testo), !k.resta);
        EXPECT_EQ(b.messaggi.visti.empty() ? "" : b.messaggi.visti[0].text, k.messaggio);
        if (*k.dopo != '\0') {
            EXPECT_EQ(campo.text(), k.dopo);
        }
    }
}

TEST(Regole, RegistrationRefusesNumbersNoEntryWouldTake) {
    struct Case {
        const char* campi;
        const char* fuoco;  // nullptr: nothing refused
    };
    const Case cases[] = {
        {"txtIncremPercContrib=30", nullptr},  // out of range warns, never blocks
        {"txtNumAltreStanze=-3", "txtNumAltreStanze"},
        {"txtSuperfAlloggio=inf", "txtSuperfAlloggio"},
        {"txtRedditoAccessoEur=-5,00", "txtSommaRedditiNucleoEur"},
    };
    for (const auto& k : cases) {
        Banco b;
        b.Compila();
        b.imposta(k.campi);
        SCOPED_TRACE(k.campi);
        EXPECT_EQ(rules::NumeriRegistrabili(b.s->x), k.fuoco == nullptr);
        if (k.fuoco == nullptr) continue;
        ASSERT_EQ(b.messaggi.visti.size(), 1u);
        EXPECT_EQ(b.messaggi.visti[0].text, "Valore non valido");
        EXPECT_EQ(b.s->focused(), b.s->findById(k.fuoco));
        // Incomes from a stored row are worked out again from the members.
        EXPECT_EQ(b.t("txtRedditoAccessoEur"), "13.000,00");
    }
}

TEST(Regole, PresentationDateDrivesLatenessAndMissingData) {
    Banco b;
    b.s->x.DataChiusBando = {2006, 9, 15};
    b.Compila();
    EXPECT_EQ(b.v("chkEsclusaTermine"), 0);  // on the closing day
    b.digita(b.c("txtDatPresentDom"), "16/09/2006");
    EXPECT_EQ(b.valori({"chkEsclusaTermine", "chkEsclusaObbl"}), "10");
    b.digita(b.c("txtDatPresentDom"), "");
    EXPECT_EQ(b.valori({"chkEsclusaTermine", "chkEsclusaObbl"}), "11");  // lateness kept
}

TEST(Regole, CompletenessGrades) {
    const std::pair<const char*, int> cases[] = {
        {"", 3},
        {"txtCognomeRich=", 0},
        {"txtDatPresentDom=31/02/2006", 0},
        {"txtNucleoRedditoEur(1)=0", 3},  // an income of "0" alone is no data
        {"txtNucleoRedditoEur(0)=", 2},
        {"txtCodFiscRich=", 1},
        {"cmbComuneRich=", 1},
        {"txtContrattoNum(0)=", 1},
        {"chkFlagNonRegistr=1|txtContrattoNum(0)=|txtContrattoDataReg(0)=", 3},
    };
    for (auto [campi, grado] : cases) {
        Banco b;
        b.Compila();
        if (*campi != '\0') b.imposta(campi);
        EXPECT_EQ(rules::ValidaCampi(b.s->x), grado) << campi;
    }

    Banco b;
    b.Compila();
    b.imposta("txtNucleoDatNasc(3)=01/01/2000");
    ASSERT_EQ(rules::ValidaCampi(b.s->x), 2);
    ASSERT_EQ(b.messaggi.visti.size(), 1u);
    EXPECT_EQ(b.messaggi.visti[0].text,
              "I dati del componente num.  4 del nucleo familiare sono incompleti.\r\n"
              "Valorizzarli tutti o pulire tutta la riga ! ");
    EXPECT_EQ(b.messaggi.visti[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(b.s->focused(), &b.c("txtNucleoNome", 3));
}

}  // namespace
