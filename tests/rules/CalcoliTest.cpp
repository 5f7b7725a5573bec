#include <gtest/gtest.h>

#include "rules/Calcoli.h"

namespace {

TEST(Calcoli, ContributionWorkedExamples) {
    struct Case {
        bool fasciaA;
        double canone, accesso, p, altri;
        double base, incremento;
        bool ridotto;
        double richiesto;  // negative: shown as "0.00"
    };
    const Case cases[] = {
        {true, 4000, 8000, 25, 100, 2880, 720, false, 3500},
        {true, 5000, 10000, 0, 0, 3098.74, 0, false, 3098.74},   // band-A cap
        {false, 6000, 12000, 0, 0, 2324.06, 0, false, 2324.06},  // band-B cap
        {true, 3098.75, 0, 0, 0, 3098.74, 0, false, 3098.74},
        {true, 100, 0.25, 0, 0, 99.96, 0, false, 99.96},  // 99.965: a half cent to even
        {true, 100, 0.75, 0, 0, 99.90, 0, false, 99.90},  // 99.895
        {false, 1000, 10000, 0, 0, -1400, 0, false, -1},  // not floored
        {true, 100, 0, 0, 100.01, 100, 0, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.canone << " " << c.accesso << " " << c.altri);
        const double base = rules::ContributoBase(c.fasciaA, c.canone, c.accesso);
        EXPECT_DOUBLE_EQ(base, c.base);
        const auto inc = rules::IncrementoContributo(base, c.p, c.canone);
        EXPECT_NEAR(inc.importo, c.incremento, 1e-9);
        EXPECT_EQ(inc.ridotto, c.ridotto);
        const auto richiesto = rules::ContributoRichiesto(base + inc.importo, c.altri);
        EXPECT_EQ(richiesto.has_value(), c.richiesto >= 0);
        if (richiesto && c.richiesto >= 0) {
            EXPECT_NEAR(*richiesto, c.richiesto, 1e-9);
        }
    }
}

TEST(Calcoli, AccessIncomeBandIncidenceAndLimits) {
    EXPECT_EQ(rules::RedditoAccesso(1000, 3), 0);

    struct Band {
        double accesso;
        bool opzione;
        double p;
        const char* fascia;
    };
    const Band bands[] = {
        {13663.97, true, 25, "A"},
        {13663.98, true, 25, "B"},
        {12024.29, true, 10, "A"},
        {12024.30, true, 10, "B"},
    };
    for (const auto& b : bands) {
        EXPECT_EQ(rules::Fascia(b.accesso, b.opzione, b.p), b.fascia) << b.accesso << " " << b.p;
    }

    EXPECT_EQ(rules::Incidenza(0, 0), 0);
    EXPECT_EQ(rules::Incidenza(3000, 0), 999);
    EXPECT_DOUBLE_EQ(rules::Incidenza(1200, 10000), 12);

    const double limits[][3] = {
        {0, 0, 18515.32}, {2, 0, 18515.32}, {3, 0, 22588.69},
        {4, 0, 26291.75}, {9, 0, 29624.51}, {3, 10, 24847.559},
    };
    for (const auto& l : limits) {
        EXPECT_NEAR(rules::LimiteReddito(static_cast<int>(l[0]), l[1]), l[2], 1e-6) << l[0];
    }
    EXPECT_GT(24847.56, rules::LimiteReddito(3, 10));  // 24847.56 is excluded
}

TEST(Calcoli, CategoryContractAndFiscalCode) {
    for (const char* ok : {"A2", "A6", "", " A4 "}) EXPECT_TRUE(rules::CategoriaAmmessa(ok)) << ok;
    for (const char* no : {"A1", "A7", "B4", "A10", "a3"}) {
        EXPECT_FALSE(rules::CategoriaAmmessa(no)) << no;
    }

    using D = store::Date;
    const std::optional<D> d2004 = D{2004, 6, 1}, d2005 = D{2005, 3, 1}, none;
    EXPECT_FALSE(rules::ContrattoPosteriore(d2005, d2004));
    EXPECT_TRUE(rules::ContrattoPosteriore(d2005, d2005));
    EXPECT_TRUE(rules::ContrattoPosteriore(d2005, none));
    EXPECT_FALSE(rules::ContrattoPosteriore(none, d2005));

    EXPECT_TRUE(rules::CodiceFiscaleConforme("RSSMRA70A01H501U"));
    for (const char* no : {"1SSMRA70A01H501U", "RSSMRA7AA01H501U", "RSSMRA70A01H5010",
                           "rssmra70a01h501u", "RSSMRA70A01H501", "RSSMRA70A01H501\xC3\x88"}) {
        EXPECT_FALSE(rules::CodiceFiscaleConforme(no)) << no;
    }
}

}  // namespace
