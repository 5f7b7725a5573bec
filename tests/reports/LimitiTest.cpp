// Hostile report definitions, as a municipality might write them by mistake or otherwise: each
// is refused quickly with an Italian reason, before the template engine or a text document
// could recurse, load a device or run out of memory.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "reports/Definizione.h"
#include "reports/Modello.h"
#include "support/Cartella.h"

namespace reports {
namespace {

namespace fs = std::filesystem;

std::string ripeti(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// The reason a definition is refused with; empty when it is accepted.
template <typename F>
std::string motivo(F&& leggi) {
    try {
        leggi();
    } catch (const DefinizioneErrata& errata) {
        return errata.what();
    }
    return "";
}

TEST(Limiti, DefinitionTextsBeyondTheLimitsAreRefused) {
    const std::string corpo = "== corpo\n<p>x</p>\n";
    const struct {
        std::string testo;
        const char* motivo;
    } casi[] = {
        {"== corpo\n" + ripeti("{{#a}}", 20000) + ripeti("{{/a}}", 20000),
         "riga 2: sezioni annidate oltre 16 livelli"},
        {"== corpo\n" + std::string(300 * 1024, 'x'), "il file supera 256 KB"},
        {std::string("titolo: a") + '\0' + "b\n" + corpo, "caratteri nulli"},
        {"titolo: x\n\ntitolo: Propriet\xE0 privata\n" + corpo, "riga 3: il testo non è in UTF-8"},
        {"titolo: \xC0\xAF\n" + corpo, "riga 1: il testo non è in UTF-8"},  // overlong "/"
        {"titolo: \xED\xA0\x80\n" + corpo, "non è in UTF-8"},               // a surrogate
        {corpo + "\xE2\x82", "riga 3: il testo non è in UTF-8"},            // cut short
        {"margini: nan nan nan nan\n" + corpo, "riga 1: margine non valido: nan"},
        {"margini: 10 inf 10 10\n" + corpo, "margine non valido: inf"},
        {"margini: 10 10 -1 10\n" + corpo, "margine non valido: -1"},
        {"margini: 1e9 10 10 10\n" + corpo, "margine non valido: 1e9"},
        {"margini: 10 80 10 80\n" + corpo, "riga 1: i margini lasciano meno di 60 mm"},
        {"orientamento: orizzontale\nmargini: 80 10 80 10\n" + corpo, "i margini lasciano"},
        {"margini: 10 10 10 10\nmargini: 12 12 12 12\n" + corpo, "riga 2: chiave ripetuta"},
        {"== corpo\n{{=<% %>=}}<%#righe%>", "il cambio dei delimitatori"},
        {"== corpo\n{{{=<% %>=}}}", "il cambio dei delimitatori"},
        {"== corpo\n{{> PuntoRaccolta}}", "i modelli parziali"},
        {"== intestazione\nx\n\n{{#righe}}{{/gruppi}}\n" + corpo,
         "riga 4: {{/gruppi}} chiude la sezione {{#righe}}"},
        {"== corpo\n{{/righe}}", "{{/righe}} senza la sezione aperta"},
        {"== corpo\n<p>{{titolo</p>", "tag {{ senza }}"},
        {ripeti("distribuzione: D | Fascia\n", 31) + corpo, "riga 31: al massimo 30 distribuzioni"},
        {"totali:" + ripeti(" Canone", 51) + "\n" + corpo, "al massimo 50 colonne"},
        {"== stile\n" + std::string(17 * 1024, ' ') + "\n" + corpo,
         "riga 1: la sezione \"stile\" supera 16 KB"},
        {"chiave" + std::string(5000, 'X') + ": 1\n" + corpo, "chiave sconosciuta"},
    };
    for (const auto& c : casi) {
        const std::string e = motivo([&] { LeggiDefinizione(c.testo); });
        EXPECT_NE(e.find(c.motivo), std::string::npos) << c.motivo << " -> " << e;
        EXPECT_LT(e.size(), 300u) << "a reason quotes the definition briefly";
    }
    // Saved by an editor that marks UTF-8 files.
    EXPECT_EQ(LeggiDefinizione("\xEF\xBB\xBFtitolo: Proprietà\n" + corpo).titolo, "Proprietà");
}

// A reports folder with one definition file, filled and checked as a print would.
class Cartella : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(dir_ / "stemma.png") << "immagine";
        std::ofstream(dir_ / "enorme.png") << std::string(5 * 1024 * 1024, 'x');
        fs::create_directory(dir_ / "loghi");
        std::ofstream(dir_ / "loghi" / "a.png") << "immagine";
        fs::create_symlink("/dev/zero", dir_ / "zero.png");
        fs::create_symlink(dir_ / "stemma.png", dir_ / "altro.png");
    }

    // The reason the definition is refused with; "" when it prints.
    std::string stampa(const std::string& testo, int righe = 3) {
        const std::string file = (dir_ / "VD_Prova.rpt").string();
        std::ofstream(file, std::ios::binary | std::ios::trunc) << testo;
        ui::ReportRequest r;
        r.file = file;
        r.formulas = {"PuntoRaccolta=\"ALFA\""};
        r.columns = {"CognomeRich", "Fascia"};
        for (int i = 0; i < righe; ++i) r.rows.push_back({"ROSSI", "A"});
        return motivo([&] { Componi(CaricaDefinizione(file), r, "15/09/2006"); });
    }

    supporto::CartellaTemporanea cartella_{"vdlim"};
    const std::filesystem::path& dir_ = cartella_.percorso();
};

TEST_F(Cartella, FilledHtmlBeyondTheLimitsIsRefused) {
    const struct {
        std::string corpo;
        const char* motivo;
    } casi[] = {
        {ripeti("<div>", 20000) + "x" + ripeti("</div>", 20000),
         "corpo: elementi HTML annidati oltre 64 livelli"},
        {ripeti("< div >", 100) + ripeti("</ div>", 100), "annidati oltre 64"},
        {ripeti("<input>", 70) + "<p>x</p>", "annidati oltre 64"},
        {"<div>" + ripeti("<col width=\"1\">", 70) + "</div>", "annidati oltre 64"},
        {ripeti("<table><tr><td>", 7) + "x" + ripeti("</td></tr></table>", 7),
         "tabelle annidate oltre 6 livelli"},
        {"<div>" + ripeti("<b>x</b>", 2100) + "</div>", "più di 4000 tag"},
        {"<div>{{#righe}}" + std::string(3000, 'x') + "{{/righe}}</div>",
         "un elemento supera 256 KB"},
        {"{{#righe}}" + std::string(3000, 'x') + "{{/righe}}", "un elemento supera 256 KB"},
        {"<p>" + ripeti("<img src=\"grafico:0\"/>", 101) + "</p>", "più di 100 immagini"},
        {ripeti("<p><img src=\"grafico:0\"/></p>", 51), "più di 50 grafici"},
        {"<div title=\"<b>\">x</div>", "carattere \"<\" dentro il tag <div>"},
        {"<div title=\"x>y</div>", "tag HTML non chiuso"},
        // Sections repeated one inside another: the work, then the size, past the limits.
        {"{{#righe}}{{#righe}}" + ripeti("{{a}}", 40) + "{{/righe}}{{/righe}}", "troppi passi"},
        {"{{#righe}}{{#righe}}<p>" + std::string(500, 'x') + "</p>{{/righe}}{{/righe}}",
         "il report diventerebbe troppo grande: oltre 4 MB"},
    };
    for (const auto& c : casi) {
        const std::string e = stampa("== corpo\n" + c.corpo + "\n", 100);
        EXPECT_NE(e.find(c.motivo), std::string::npos) << c.motivo << " -> " << e;
    }
}

TEST_F(Cartella, ResourcesComeOnlyFromTheReportsFolder) {
    const std::string rifiuto = "riferimento non ammesso";
    const struct {
        std::string html;
        std::string motivo;  // "" when accepted
    } casi[] = {
        {"<img src=\"stemma.png\"/>", ""},
        {"<img src='loghi/a.png' width=\"40\" height=\"40%\"/>", ""},
        {"<img src=\"altro.png\"/>", ""},  // a link to a file of the folder
        {"<img src=\"grafico:0\"/>", ""},
        {"<p style=\"background-image: url('stemma.png')\">x</p>", ""},
        {"<img src=\"/dev/zero\"/>", rifiuto},
        {"<img src=\"../VD_Ricev.rpt\"/>", rifiuto},
        {"<img src=\"loghi/../../x.png\"/>", rifiuto},
        {"<img src=\"file:///dev/zero\"/>", rifiuto},
        {"<img src=\"http://example.org/stemma.png\"/>", rifiuto},
        {"<img src=\"qrc:/qt-project.org/stemma.png\"/>", rifiuto},
        {"<img src=\":/stemma.png\"/>", rifiuto},
        {"<img src=\"C:\\stemma.png\"/>", rifiuto},
        {"<img src=\"%2e%2e/stemma.png\"/>", rifiuto},
        {"<img src=\"&#47;dev&#47;zero\"/>", rifiuto},
        {"<img src=\"loghi//a.png\"/>", rifiuto},
        {"<table background=\"/dev/zero\"><tr><td>x</td></tr></table>", rifiuto},
        {"<p style=\"background-image: url(/dev/zero)\">x</p>", "corpo: " + rifiuto},
        {"<style>p { background: url( \"file:/etc/passwd\" ) }</style>", rifiuto},
        {"<style>@IMPORT \"x.css\";</style>", "@import non è ammesso"},
        {"<link rel=\"stylesheet\" href=\"x.css\">", "i fogli di stile esterni"},
        {"<p style=\"background: u\\72l(/dev/zero)\">x</p>", "sequenze di escape"},
        {"<img src=\"zero.png\"/>", "è fuori della cartella dei report"},
        {"<img src=\"manca.png\"/>", "non è nella cartella dei report"},
        {"<img src=\"loghi\"/>", "non è un file ordinario"},
        {"<img src=\"enorme.png\"/>", "supera 4 MB"},
    };
    for (const auto& c : casi) {
        const std::string e = stampa("== corpo\n" + c.html + "\n");
        if (c.motivo.empty()) {
            EXPECT_EQ(e, "") << c.html;
        } else {
            EXPECT_NE(e.find(c.motivo), std::string::npos) << c.html << " -> " << e;
        }
    }
    EXPECT_NE(stampa("== stile\np { background: url(/dev/zero) }\n== corpo\nx\n")
                  .find("stile: " + rifiuto),
              std::string::npos);
    EXPECT_NE(stampa("== intestazione\n<img src=\"/dev/zero\"/>\n== corpo\nx\n")
                  .find("intestazione: " + rifiuto),
              std::string::npos);
    EXPECT_EQ(stampa("== intestazione\n<p><img src=\"grafico:0\"/></p>\n== corpo\nx\n"),
              "intestazione: i grafici vanno nel corpo");
}

TEST_F(Cartella, NumbersThatWouldOverflowTheLayoutAreRefused) {
    const struct {
        std::string html;
        bool accettato;
    } casi[] = {
        {"<table cellpadding=\"2\" cellspacing=\"0\" border=\"1\" width=\"100%\">", true},
        {"<table style=\"margin: 10px; font-size: 9.5pt; line-height: 1.2\">", true},
        {"<table width=\"auto\" style=\"font-family: 'Nanum 9999'; color: #123456\">", true},
        {"<table style=\"margin-left: 2em; width: 250mm; z-index: 10\">", true},
        {"<table cellpadding=\"1e9\">", false},
        {"<table cellspacing=\"3000000000\">", false},
        {"<table cellpadding=\"nan\">", false},
        {"<table border=\"+inf\">", false},
        {"<table width=\"5000px\">", false},
        {"<table style=\"padding: 1e9px\">", false},
        {"<table style=\"margin-top: infpx\">", false},
        {"<table style=\"font-size: 50em\">", false},
        {"<table style=\"width: 2000%\">", false},
        {"<table style=\"margin: 30cm\">", false},
    };
    for (const auto& c : casi) {
        const std::string e =
            stampa("== corpo\n" + c.html + "<tr><td colspan=\"2\">x</td></tr></table>\n");
        EXPECT_EQ(e.empty(), c.accettato) << c.html << " -> " << e;
        if (!c.accettato) {
            EXPECT_NE(e.find("numero fuori misura"), std::string::npos) << e;
        }
    }
    EXPECT_NE(stampa("== corpo\n<table><tr><td rowspan=\"1000\">x</td></tr></table>\n")
                  .find("nell'attributo rowspan"),
              std::string::npos);
}

TEST_F(Cartella, TheDefinitionFileItselfIsBounded) {
    EXPECT_EQ(stampa("== corpo\n<p>{{PuntoRaccolta}}</p>\n"), "");
    const std::string file = (dir_ / "VD_Grande.rpt").string();
    std::ofstream(file) << "== corpo\n" << std::string(300 * 1024, 'x');
    EXPECT_NE(motivo([&] { CaricaDefinizione(file); }).find("supera 256 KB"), std::string::npos);
    EXPECT_NE(motivo([&] { CaricaDefinizione("/dev/zero"); }).find("non è un file ordinario"),
              std::string::npos);
    EXPECT_NE(motivo([&] {
                  CaricaDefinizione((dir_ / "loghi").string());
              }).find("non è un file ordinario"),
              std::string::npos);
}

}  // namespace
}  // namespace reports
