// The checks made when a field is left: verdicts only (the screen's messages are guarded by
// the scenario files).
#include <gtest/gtest.h>

#include "rules/Controlli.h"

namespace {

TEST(Controlli, FiscalCodeLengthAndPattern) {
    using E = rules::EsitoCodiceFiscale;
    const std::pair<const char*, E> casi[] = {
        {"", E::Accettato},
        {"   ", E::Accettato},
        {"ABC", E::Corto},
        {"RSSMRA70A01H501", E::Corto},
        {"RSSMRA70A01H501U", E::Accettato},
        {" RSSMRA70A01H501U ", E::Accettato},
        {"1SSMRA70A01H501U", E::NonConforme},
        {"RSSMRA7AA01H501U", E::NonConforme},
        {"RSSMRA70A01H5010", E::NonConforme},
        {"rssmra70a01h501u", E::NonConforme},
        {"RSSMRA70A01H501\xC3\x88", E::NonConforme},  // 16 characters, one of them È
    };
    for (const auto& [codice, esito] : casi) {
        EXPECT_EQ(rules::VerificaCodiceFiscale(codice), esito) << codice;
    }
}

TEST(Controlli, DatesOfPresentationContractAndBirth) {
    const rules::Bando bando{{2006, 7, 14}, {2006, 9, 30}, {2006, 9, 15}};
    using P = rules::EsitoPresentazione;
    const std::pair<const char*, P> presentazione[] = {
        {"", P::Vuota},
        {"31/02/2006", P::NonValida},
        {"13/07/2006", P::PrimaEmissione},
        {"14/07/2006", P::Valida},
        {"15/09/2006", P::Valida},
        {"16/09/2006", P::DopoOggi},
        {"30/09/2006", P::DopoOggi},  // on the closing day, but after today
        {"01/10/2006", P::DopoChiusura},
    };
    for (const auto& [testo, esito] : presentazione) {
        EXPECT_EQ(rules::VerificaPresentazione(testo, bando), esito) << testo;
    }

    using D = rules::EsitoData;
    const std::pair<const char*, D> contratto[] = {{"", D::Accettata},
                                                   {"15/09/2006", D::Accettata},
                                                   {"16/09/2006", D::Futura},
                                                   {"x", D::NonValida}};
    for (const auto& [testo, esito] : contratto) {
        EXPECT_EQ(rules::VerificaDataContratto(testo, bando.oggi), esito) << testo;
    }
    const std::pair<const char*, D> nascita[] = {{"", D::Accettata},
                                                 {"13/07/2006", D::Accettata},
                                                 {"14/07/2006", D::DopoPubblicazione},
                                                 {"29/02/2005", D::NonValida}};
    for (const auto& [testo, esito] : nascita) {
        EXPECT_EQ(rules::VerificaNascita(testo), esito) << testo;
    }
}

TEST(Controlli, PlausibleRentPercentageAndSurface) {
    EXPECT_FALSE(rules::CanoneDaConfermare(18000));
    EXPECT_TRUE(rules::CanoneDaConfermare(18000.01));
    for (double p : {0.0, 25.0, 12.5}) EXPECT_TRUE(rules::PercentualeAmmessa(p)) << p;
    // The screen passes the single-precision value.
    for (double p : {-0.01, static_cast<double>(25.01f), 1e30}) {
        EXPECT_FALSE(rules::PercentualeAmmessa(p)) << p;
    }
    using S = rules::EsitoSuperficie;
    const std::pair<double, S> superfici[] = {{1000, S::Eccessiva},
                                              {999.99, S::DaConfermare},
                                              {200.01, S::DaConfermare},
                                              {200, S::Accettata},
                                              {0, S::Accettata}};
    for (const auto& [mq, esito] : superfici) EXPECT_EQ(rules::VerificaSuperficie(mq), esito) << mq;
}

}  // namespace
