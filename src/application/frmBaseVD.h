#pragma once
// The application screen: one application shown, typed and registered. It holds one pending
// Domanda row (being inserted for a new application, being edited otherwise) and moves values
// between that row and its controls; the rules of the call run from its handlers.
#include <memory>
#include <optional>
#include <string>

#include "reports/Report.h"
#include "rules/Controlli.h"
#include "rules/Motore.h"
#include "rules/Testi.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Rifiuto.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}
namespace store {
class DbError;
}

namespace application {

class frmBaseVD : public ui::Screen {
public:
    // A new application when numero is empty, else the stored application of that number.
    frmBaseVD(ui::Program& program, startup::ModuloVD2005& modulo,
              std::optional<std::string> numero);

    void onActivate() override;
    void onUnload() override;
    // Closing through the title bar discards the pending row, as cmdUscita does.
    void onCloseRequest() override;

private:
    void creaIntestazione();
    void creaPaginaNucleo();
    void creaPaginaAlloggio();
    void creaPaginaStatistica();
    void creaPaginaComune();
    void creaPulsanti();
    // Check box whose change makes its partner the opposite, unless BloccaEventi is set.
    void accoppia(ui::Control& a, ui::Control& b);
    void aggiungiRigheNucleo();

    void apriDati();
    // Opens a new application or the one chosen on the search screen; closes the screen when
    // no register number is left, the chosen application is missing or the engine fails.
    void Attiva();
    // Why a row is shown: opened (its household rows are read too), or just registered (the
    // household rows on screen are the ones stored).
    enum class Modo { Apertura, DopoRegistrazione };
    void ValorizzaControlli(Modo modo);
    void PulisciControlli();
    void ValorizzaRs();
    // The pending row a save writes: the new row being inserted, or the stored row of this
    // number found again and edited.
    void apriRigaPendente(const std::string& numero);
    // Tied controls from the pending or current row, and back.
    void mostraCampiLegati();
    void scriviCampi(const store::DateTime& adesso);
    void annullaRigaPendente();
    // The receipt of the application as stored, whatever the screen shows.
    void cmdStampa_Click();
    void chiudi();
    // An engine failure outside the save.
    void segnala(const store::DbError& e);
    // "Perché?": the reasoning behind what the screen shows, on a screen of its own.
    void cmdPerche_Click();

    // --- The rules of the call, run from the fields (Regole.cpp) ---------------------------
    rules::Bando bando() const;
    // The fields the rules read, as the screen holds them.
    rules::TestiDomanda testiDomanda() const;
    // Runs the rules from the given link and shows what they wrote.
    void Regole(rules::Avvio avvio);
    void mostraEsito(const rules::Esito& e);
    void SommaReddito() { Regole(rules::Avvio::Tutto); }
    void CalcolaIncidenza() { Regole(rules::Avvio::CalcolaIncidenza); }
    void VerificaDebolSoc() { Regole(rules::Avvio::VerificaDebolSoc); }
    void VerificaDomandaAmmessa() { Regole(rules::Avvio::VerificaDomandaAmmessa); }
    void CalcolaContributo() { Regole(rules::Avvio::CalcolaContributo); }

    // Numeric entry. Every exit first reads the field as typed or pasted (whole numbers:
    // digits only; amounts: within the field's length); a text that does not read is refused
    // with "Valore non valido": it stays, the focus stays in the field, nothing is recalculated.
    enum class Genere { Importo, Decimale, Intero };
    std::optional<double> leggi(const ui::Control& campo, Genere genere) const;
    std::optional<double> accetta(ui::Control& campo, Genere genere);
    void rifiuta(ui::Control& campo, bool registrando);
    void mostraCampo(ui::Control& campo);
    bool formattaImporto(ui::Control& campo);
    std::optional<double> formattaPercentuale(ui::Control& campo);
    bool conferma(const std::string& testo);
    // Focus in of an amount field: "#.00" for editing.
    void EntrataImporto(ui::Control& campo);
    void UscitaCanone();
    void UscitaRedditoComponente(int riga);
    // Other contributions, granted contribution, co-financing.
    void UscitaImportoComune(ui::Control& campo);
    void UscitaPercentuale(ui::Control& campo);
    void UscitaSuperficie();
    void UscitaAltreStanze();
    // Before registering: every numeric field the operator fills holds a text its exit
    // accepts, and the household income and the income for access are not negative (a stored
    // row can hold anything). False after "Valore non valido" with the focus on the field,
    // unless its exit has just said so; a negative income is worked out again first.
    bool NumeriRegistrabili();

    // Field checks on leaving.
    void UscitaAnagrafica(ui::Control& campo);
    void UscitaCodiceFiscale();
    // Category and contract numbers: upper case, then the admissibility.
    void UscitaMaiuscolo(ui::Control& campo);
    void UscitaDataPresentazione();
    void UscitaDataContratto(ui::Control& campo);
    void UscitaDataNascita(ui::Control& campo);
    // The completeness grade; an incomplete household row is reported here, with the focus on
    // its name.
    rules::Completezza ValidaCampi();

    startup::ModuloVD2005& modulo_;
    // A new application is shown (until it is registered), or the stored one of numero_.
    bool nuova_;
    std::string numero_;
    // True only while the program changes check boxes whose reactions must not run: the
    // clearing of the paired boxes, and the results of the rules shown.
    bool BloccaEventi = false;
    // The contract data required for the dwelling are missing (stored with the flags).
    bool MancaContratto = false;
    store::Date DataEmisBando;
    store::Date DataChiusBando;
    // The numeric field whose text was refused last: the registration that follows at once
    // stops without saying it again.
    ui::UltimoRifiuto rifiuto_;
    // A screen opened over this one ("Perché?"): when it closes, what is shown stays.
    bool sopra_ = false;
    store::Database db_;
    std::unique_ptr<store::RowSource> datDomanda_;
    std::unique_ptr<store::RowSource> datNucleo_;
    std::unique_ptr<store::RowSource> datConfig_;
    std::unique_ptr<store::RowSource> datMax_;
    std::unique_ptr<store::RowSource> datStampa_;
    reports::Report crpStampe_{*this};
};

}  // namespace application
