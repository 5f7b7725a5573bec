// Checks of the applicant, dwelling and contract fields on leaving them, and the completeness
// grade asked for at registration.
#include "rules/Calcoli.h"
#include "rules/Campi.h"
#include "rules/Date.h"
#include "rules/Regole.h"
#include "store/Text.h"

namespace rules {

namespace {

constexpr const char* DataNonValida =
    "Data non valida ! \r\nImpostarla nuovamente nel formato gg/mm/aaaa.";

void Maiuscolo(ui::Control& campo) {
    campo.setText(store::utf8Upper(campo.text()));
}

}  // namespace

void UscitaAnagrafica(Contesto& x, ui::Control& campo) {
    Maiuscolo(campo);
    if (campo.name() == "txtCognomeRich" || campo.name() == "txtNomeRich") {
        x.c("txtNucleoNome", 0)
            .setText(x.c("txtCognomeRich").text() + " " + x.c("txtNomeRich").text());
    }
    VerificaDomandaAmmessa(x);
}

void UscitaCodiceFiscale(Contesto& x) {
    ui::Control& campo = x.c("txtCodFiscRich");
    Maiuscolo(campo);
    const std::string codice = SenzaSpazi(campo.text());
    const std::size_t lunghezza = store::utf8Length(codice);
    if (lunghezza > 0 && lunghezza < 16) {
        x.f.message("Il codice fiscale deve essere di 16 caratteri");
        x.f.setFocus(campo);
        return;
    }
    // Only the letter/digit pattern is checked; the operator may force a code that breaks it.
    if (lunghezza == 16 && !CodiceFiscaleConforme(codice) &&
        x.f.message("Il codice fiscale deve essere composto da 16 caratteri alfabetici e "
                    "numerici \r\nsecondo lo schema : AAAAAA99A99A999A - Forzare comunque il "
                    "codice ?",
                    ui::Buttons::YesNo, ui::Icon::None, "Attenzione - Codice Fiscale non valido",
                    ui::Answer::No) != ui::Answer::Yes) {
        x.f.setFocus(campo);
        return;
    }
    VerificaDomandaAmmessa(x);
}

void UscitaMaiuscolo(Contesto& x, ui::Control& campo) {
    Maiuscolo(campo);
    VerificaDomandaAmmessa(x);
}

void UscitaDataPresentazione(Contesto& x) {
    ui::Control& campo = x.c("txtDatPresentDom");
    if (campo.text().empty()) {
        VerificaDomandaAmmessa(x);
        return;
    }
    const auto data = LeggiData(campo.text());
    const char* avviso = nullptr;
    // A late application is still registered, as excluded: the operator may move on.
    bool indietro = true;
    if (!data) {
        avviso = DataNonValida;
    } else if (*data < x.DataEmisBando) {
        avviso =
            "La data di presentazione non può essere inferiore alla data di emissione del "
            "bando ! ";
    } else if (*data > x.DataChiusBando) {
        avviso = "La data di presentazione é superiore alla data di chiusura del bando ! ";
        indietro = false;
    } else if (*data > x.oggi()) {
        avviso = "La data di presentazione non può essere superiore alla data corrente ! ";
    }
    if (avviso != nullptr) x.f.message(avviso);
    VerificaDomandaAmmessa(x);
    if (avviso != nullptr && indietro) x.f.setFocus(campo);
}

void UscitaDataContratto(Contesto& x, ui::Control& campo) {
    if (!campo.text().empty()) {
        const auto data = LeggiData(campo.text());
        const char* avviso = nullptr;
        if (!data) {
            avviso = DataNonValida;
        } else if (*data > x.oggi()) {
            avviso = campo.name() == "txtContrattoDataIni"
                         ? "La data di inizio validità non può essere superiore alla data "
                           "corrente ! "
                         : "La data di registrazione non può essere superiore alla data "
                           "corrente ! ";
        }
        if (avviso != nullptr) {
            x.f.message(avviso);
            x.f.setFocus(campo);
        }
    }
    VerificaDomandaAmmessa(x);
}

int ValidaCampi(Contesto& x) {
    if (x.c("txtCognomeRich").text().empty() || x.c("txtNomeRich").text().empty() ||
        !LeggiData(x.c("txtDatPresentDom").text())) {
        return 0;
    }
    for (int i = 0; i < RigheNucleo; ++i) {
        const StatoRiga stato = EsaminaRiga(x, i);
        if (stato.manca && stato.presente) {
            x.f.message("I dati del componente num.  " + std::to_string(i + 1) +
                            " del nucleo familiare sono incompleti.\r\nValorizzarli tutti o "
                            "pulire tutta la riga ! ",
                        ui::Buttons::OK, ui::Icon::Exclamation);
            x.f.setFocus(x.c("txtNucleoNome", i));
            return 2;
        }
    }
    const bool mancanti = x.c("txtCodFiscRich").text().empty() ||
                          x.c("cmbComuneRich").boundValue().empty() ||
                          x.c("txtIndiRich").text().empty() || EsaminaRiga(x, 0).manca ||
                          x.c("txtCategCatasto").text().empty() ||
                          x.c("txtCanoneTotaleEur").text().empty() || MancanoDatiContratto(x);
    return mancanti ? 1 : 3;
}

}  // namespace rules
