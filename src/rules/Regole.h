#pragma once
// The rules of the call, run on the application screen. Each procedure reads the texts of the
// screen's fields and writes its results back into fields; the screen calls them from the
// handlers named beside each one.
#include "rules/Contesto.h"

namespace rules {

// --- Numeric entry ---------------------------------------------------------------------
// Focus in of an amount field (rent, member incomes, other contributions, granted
// contribution, co-financing): the text is shown with "#.00" for editing.
void EntrataImporto(Contesto& x, ui::Control& campo);
// Focus out of txtCanoneTotaleEur: plausibility question above 18000, "#,##0.00", copy into
// txtCanoneTabComuneEur, SommaReddito.
void UscitaCanone(Contesto& x);
// Focus out of txtNucleoRedditoEur(i): "#,##0.00", cleared when 0 on a nameless row,
// SommaReddito.
void UscitaRedditoComponente(Contesto& x, int riga);
// Focus out of txtAltriContrib, txtContribConcesso, txtCoFinanzComune: "#,##0.00", then
// CalcolaContributo.
void UscitaImportoComune(Contesto& x, ui::Control& campo);
// Focus out of txtIncremPercContrib, txtIncremPercLimiteRed, txtIncremPercFasciaA: "#0.00",
// range 0..25, then VerificaDomandaAmmessa (the first two) or CalcolaIncidenza (band A).
void UscitaPercentuale(Contesto& x, ui::Control& campo);
// Focus out of txtSuperfAlloggio and txtNumAltreStanze.
void UscitaSuperficie(Contesto& x);
void UscitaAltreStanze(Contesto& x);
// Every exit above first reads the field as LeggiNumeroInserito (whole numbers: digits only;
// amounts: LeggiImporto for the field's maximum length). A text that does not read is refused
// with "Valore non valido": it stays as it is, the focus stays in the field and nothing is
// recalculated.
//
// Before registering: every numeric field the operator fills holds a text its exit accepts,
// and the household income and the income for access are not negative (a stored row can hold
// anything). False after "Valore non valido" with the focus on the field, unless its exit has
// just said so; a negative income is worked out again from the members first.
bool NumeriRegistrabili(Contesto& x);

// --- Income, band, incidence -----------------------------------------------------------
void SommaReddito(Contesto& x);
void CalcolaIncidenza(Contesto& x);

// --- Social weakness and increment options ---------------------------------------------
// Focus out of the four weakness boxes, end of CalcolaIncidenza and of loading a stored
// application.
void VerificaDebolSoc(Contesto& x);
// Change handlers of the three option boxes (operator's or program's changes alike).
void chkIncremContrib_Click(Contesto& x);
void chkIncremLimiteRed_Click(Contesto& x);
void chkIncremLimiteFascia_Click(Contesto& x);

// --- Contribution and admissibility ----------------------------------------------------
void CalcolaContributo(Contesto& x);
void VerificaDomandaAmmessa(Contesto& x);

// --- Field checks on leaving -----------------------------------------------------------
// txtCognomeRich, txtNomeRich, txtIndiRich: upper case; the first two rewrite household
// row 0's name; then VerificaDomandaAmmessa.
void UscitaAnagrafica(Contesto& x, ui::Control& campo);
void UscitaCodiceFiscale(Contesto& x);
// txtCategCatasto, txtContrattoNum(i): upper case, VerificaDomandaAmmessa.
void UscitaMaiuscolo(Contesto& x, ui::Control& campo);
void UscitaDataPresentazione(Contesto& x);
// txtContrattoDataIni(i), txtContrattoDataReg(i).
void UscitaDataContratto(Contesto& x, ui::Control& campo);
// Completeness grade at registration: 0 minimum data missing, 1 fundamental data missing,
// 2 incomplete household row (already reported, focus on its name), 3 complete.
int ValidaCampi(Contesto& x);

}  // namespace rules
