// Admissibility verdict with its exclusion reasons, and the contribution it grants.
#include "rules/Calcoli.h"
#include "rules/Campi.h"
#include "rules/Date.h"
#include "rules/Numeri.h"
#include "rules/Regole.h"

namespace rules {

namespace {

void Imposta(const Contesto& x, const char* box, bool on) {
    x.c(box).setValue(on ? 1 : 0);
}

bool FasciaA(const Contesto& x) {
    return x.c("txtFascia").text() == "A";
}

bool DataValida(const ui::Control& campo) {
    return LeggiData(campo.text()).has_value();
}

constexpr const char* Esclusioni[] = {
    "chkEsclusaCateg", "chkEsclusaReddi",   "chkEsclusaIncid",       "chkEsclusaContr",
    "chkEsclusaObbl",  "chkEsclusaTermine", "chkEsclusaIstruttoria",
};

// An excluded application gets nothing: the operator's amounts are cleared as well.
constexpr const char* ImportiAzzerati[] = {
    "txtContribBase",    "txtIncremImpoContrib", "txtTotContrib",   "txtContribConcesso",
    "txtCoFinanzComune", "txtContribDaErogare",  "txtAltriContrib", "txtContribRichiesto",
};

}  // namespace

StatoRiga EsaminaRiga(const Contesto& x, int riga) {
    const bool nome = !SenzaSpazi(x.c("txtNucleoNome", riga).text()).empty();
    const bool parentela = !x.c("cmbNucleoParent", riga).boundValue().empty();
    const bool nascita = DataValida(x.c("txtNucleoDatNasc", riga));
    const bool professione = !x.c("cmbNucleoProfes", riga).boundValue().empty();
    const std::string& reddito = x.c("txtNucleoRedditoEur", riga).text();
    StatoRiga stato;
    stato.manca = !nome || !parentela || !nascita || !professione || reddito.empty();
    stato.presente =
        nome || parentela || nascita || professione || (!reddito.empty() && reddito != "0");
    return stato;
}

bool MancanoDatiContratto(const Contesto& x) {
    const bool inizio = DataValida(x.c("txtContrattoDataIni", 0));
    if (Spuntato(x.c("chkFlagNonRegistr"))) return !inizio;
    return x.c("txtContrattoNum", 0).text().empty() || !DataValida(x.c("txtContrattoDataReg", 0)) ||
           !inizio;
}

void CalcolaContributo(Contesto& x) {
    ui::Control& ridotto = x.c("lblIncremRidotto");
    if (!Spuntato(x.c("chkDomandaOK"))) {
        for (const char* nome : ImportiAzzerati) x.c(nome).setText("0.00");
        ridotto.setVisible(false);
        return;
    }
    const double canone = ImportoCampo(x.c("txtCanoneTotaleEur"));
    const double accesso = ImportoCampo(x.c("txtRedditoAccessoEur"));
    const double base = ContributoBase(FasciaA(x), canone, accesso);
    x.c("txtContribBase").setText(Formato(base, "#,##0.00"));

    const double p = PercentualeCampo(x.c("txtIncremPercContrib"));
    const Incremento incremento = IncrementoContributo(base, p, canone);
    ridotto.setVisible(incremento.ridotto);
    x.c("txtIncremImpoContrib").setText(p > 0 ? Formato(incremento.importo, "#,##0.00") : "0.00");
    x.c("txtTotContrib").setText(Formato(base + incremento.importo, "#,##0.00"));

    // The later amounts are worked out from the texts shown, to the cent.
    const auto richiesto = ContributoRichiesto(ImportoCampo(x.c("txtTotContrib")),
                                               ImportoCampo(x.c("txtAltriContrib")));
    x.c("txtContribRichiesto").setText(richiesto ? Formato(*richiesto, "#,##0.00") : "0.00");
    const double erogare =
        ImportoCampo(x.c("txtCoFinanzComune")) + ImportoCampo(x.c("txtContribConcesso"));
    x.c("txtContribDaErogare").setText(Formato(erogare, "#,##0.00"));
}

void VerificaDomandaAmmessa(Contesto& x) {
    Imposta(x, "chkEsclusaCateg", !CategoriaAmmessa(x.c("txtCategCatasto").text()));

    if (FasciaA(x)) {
        Imposta(x, "chkEsclusaReddi", false);
    } else {
        const auto componenti = static_cast<int>(ValoreCampo(x.c("txtNumComponNucleo")));
        const double limite =
            LimiteReddito(componenti, PercentualeCampo(x.c("txtIncremPercLimiteRed")));
        Imposta(x, "chkEsclusaReddi", ImportoCampo(x.c("txtRedditoAccessoEur")) > limite);
    }

    const ui::Control& incidenza = x.c("txtIncidenzaCanRed");
    Imposta(x, "chkEsclusaIncid",
            !incidenza.text().empty() &&
                IncidenzaInsufficiente(FasciaA(x), static_cast<float>(ValoreCampo(incidenza))));

    Imposta(x, "chkEsclusaContr",
            ContrattoPosteriore(LeggiData(x.c("txtContrattoDataIni", 0).text()),
                                LeggiData(x.c("txtContrattoDataIni", 1).text())));

    bool mancanti = false;
    for (const char* nome : {"txtCognomeRich", "txtNomeRich", "txtCodFiscRich", "txtIndiRich"}) {
        mancanti = mancanti || x.c(nome).text().empty();
    }
    mancanti = mancanti || x.c("cmbComuneRich").boundValue().empty();
    mancanti = mancanti || EsaminaRiga(x, 0).manca;
    mancanti = mancanti || x.c("txtCategCatasto").text().empty() ||
               x.c("txtCanoneTotaleEur").text().empty();
    x.MancaContratto = MancanoDatiContratto(x);
    mancanti = mancanti || x.MancaContratto;
    // A date that cannot be read counts as missing and leaves the lateness as it was.
    const auto presentazione = LeggiData(x.c("txtDatPresentDom").text());
    mancanti = mancanti || !presentazione;
    Imposta(x, "chkEsclusaObbl", mancanti);
    if (presentazione) Imposta(x, "chkEsclusaTermine", *presentazione > x.DataChiusBando);

    bool esclusa = false;
    for (const char* nome : Esclusioni) esclusa = esclusa || Spuntato(x.c(nome));
    if (esclusa) {
        Imposta(x, "chkDomandaNo", true);
        Imposta(x, "chkDomandaOK", false);
        // No increment for an excluded application.
        x.BloccaEventi = true;
        x.c("chkIncremContrib").setValue(0);
        x.c("txtIncremPercContrib").setText("0");
        x.BloccaEventi = false;
    } else {
        Imposta(x, "chkDomandaOK", true);
        Imposta(x, "chkDomandaNo", false);
    }
    CalcolaContributo(x);
}

}  // namespace rules
