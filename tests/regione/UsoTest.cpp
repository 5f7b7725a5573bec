// The command line: usage errors exit with 2 and show the usage text.
#include <gtest/gtest.h>

#include <sstream>

#include "regione/Comandi.h"

namespace {

struct Esito {
    int stato;
    std::string out, err;
};

Esito Esegui(const std::vector<std::string>& argomenti) {
    std::ostringstream out, err;
    const regione::Ambiente a{out, err, false, "", [] { return std::string(); }};
    const int stato = regione::Esegui(argomenti, a);
    return {stato, out.str(), err.str()};
}

TEST(Uso, ErroriDUso) {
    const std::pair<std::vector<std::string>, const char*> casi[] = {
        {{}, "manca il comando"},
        {{"esporta"}, "comando sconosciuto: esporta"},
        {{"verifica", "a.mdb"}, "argomento inatteso: a.mdb"},
        {{"verifica", "--pdf", "x.pdf"}, "opzione sconosciuta per verifica: --pdf"},
        {{"importa"}, "indicare i file da importare"},
        {{"importa", "--db"}, "manca il valore di --db"},
        {{"importa", "--db=", "a.mdb"}, "manca il valore di --db"},
        {{"importa", "--csv", "x.csv", "a.mdb"}, "opzione sconosciuta per importa: --csv"},
        {{"riepilogo", "extra"}, "argomento inatteso: extra"},
        {{"riepilogo", "--csv", "a", "--csv", "b"}, "opzione ripetuta: --csv"},
        {{"riepilogo", "--db", "a", "--db=b"}, "opzione ripetuta: --db"},
        {{"duplicati", "--pdf", "x.pdf"}, "opzione sconosciuta per duplicati: --pdf"},
    };
    for (const auto& [argomenti, messaggio] : casi) {
        const Esito e = Esegui(argomenti);
        EXPECT_EQ(e.stato, 2) << messaggio;
        EXPECT_EQ(e.err, std::string("vendral-regione: ") + messaggio + "\n\n" + regione::kUso);
        EXPECT_EQ(e.out, "");
    }
}

TEST(Uso, Aiuto) {
    for (const std::vector<std::string>& argomenti :
         {std::vector<std::string>{"--help"}, {"-h"}, {"riepilogo", "--help"}}) {
        const Esito e = Esegui(argomenti);
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.out, regione::kUso);
    }
}

}  // namespace
