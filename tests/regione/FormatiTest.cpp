// Amounts, CSV fields, value conversion and the PostgreSQL texts.
#include <gtest/gtest.h>

#include <limits>

#include "../store/PrintValue.h"
#include "regione/Importazione.h"
#include "regione/MotorePostgres.h"
#include "regione/Riepilogo.h"

namespace {

using regione::Tipo;
using store::Value;

TEST(Formati, Centesimi) {
    const struct {
        std::int64_t cent;
        const char* semplice;
        const char* migliaia;
    } casi[] = {
        {0, "0,00", "0,00"},
        {5, "0,05", "0,05"},
        {-5, "-0,05", "-0,05"},
        {309874, "3098,74", "3.098,74"},
        {100000, "1000,00", "1.000,00"},
        {99999, "999,99", "999,99"},
        {-123456789, "-1234567,89", "-1.234.567,89"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(regione::Centesimi(c.cent), c.semplice);
        EXPECT_EQ(regione::Centesimi(c.cent, true), c.migliaia);
    }
}

TEST(Formati, CampiCsv) {
    const std::pair<const char*, const char*> casi[] = {
        {"ROSSI", "ROSSI"},
        {"D'ANGELO", "D'ANGELO"},
        {"", ""},
        {"A;B", "\"A;B\""},
        {"DETTO \"IL ROSSO\"", "\"DETTO \"\"IL ROSSO\"\"\""},
        {"RIGA\nDUE", "\"RIGA\nDUE\""},
    };
    for (const auto& [testo, atteso] : casi) EXPECT_EQ(regione::CampoCsv(testo), atteso);
}

TEST(Formati, ValoriDellArchivioNelTipoDellaRegione) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        Value v;
        Tipo tipo;
        std::optional<Value> atteso;
    } casi[] = {
        {Value(), Tipo::Decimale, Value()},
        {Value(12), Tipo::Decimale, Value(12.0)},
        {Value(1200.29), Tipo::Decimale, Value(1200.29)},
        {Value("1200.29"), Tipo::Decimale, Value(1200.29)},
        {Value(""), Tipo::Decimale, Value()},
        {Value("mille"), Tipo::Decimale, std::nullopt},
        {Value("12abc"), Tipo::Decimale, std::nullopt},
        {Value(inf), Tipo::Decimale, std::nullopt},
        {Value(3), Tipo::Intero, Value(3)},
        {Value(3.0), Tipo::Intero, Value(3)},
        {Value(3.5), Tipo::Intero, std::nullopt},
        {Value("42"), Tipo::Intero, Value(42)},
        {Value("4 2"), Tipo::Intero, std::nullopt},
        {Value(20100), Tipo::Testo, Value("20100")},
        {Value("Città"), Tipo::Testo, Value("Città")},
        {Value(std::string("A\0B", 3)), Tipo::Testo, std::nullopt},
        {Value("\xC3"), Tipo::Testo, std::nullopt},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.v.toText());
        EXPECT_EQ(regione::Converti(c.v, c.tipo), c.atteso);
    }
}

// The decoding itself is the store's; the Region refuses NUL characters as well.
TEST(Formati, Utf8) {
    EXPECT_TRUE(regione::Utf8Valido("perché €"));
    EXPECT_FALSE(regione::Utf8Valido("\xC0\xAF"));
    EXPECT_FALSE(regione::Utf8Valido(std::string("a\0", 2)));
}

TEST(Formati, TestiPerPostgres) {
    EXPECT_EQ(regione::SegnapostoPostgres("SELECT ? , '?' , \"a?\" FROM t WHERE a = ? AND b = ?"),
              "SELECT $1 , '?' , \"a?\" FROM t WHERE a = $2 AND b = $3");
    EXPECT_EQ(regione::SegnapostoPostgres("x = 'it''s?' AND y = ?"), "x = 'it''s?' AND y = $1");

    std::string riga;
    for (const Value& v : {Value(), Value("a\tb\nc\\d\re"), Value(0.1), Value(1200.29),
                           Value(std::int64_t{-7}), Value("\\N")}) {
        regione::AggiungiCampoCopia(riga, v);
        riga += '|';
    }
    EXPECT_EQ(riga, "\\N|a\\tb\\nc\\\\d\\re|0.1|1200.29|-7|\\\\N|");
}

}  // namespace
