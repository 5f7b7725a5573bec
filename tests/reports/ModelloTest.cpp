// Report definitions and their rendering: header keys, Mustache filling with formulas, rows in
// display form, groups with counts and totals, escaping, and the cutting into page units.
#include <gtest/gtest.h>

#include "reports/Definizione.h"
#include "reports/Modello.h"

namespace reports {
namespace {

std::string corpoUnito(const Documento& d) {
    std::string s;
    for (const Unita& u : d.unita) s += u.html;
    return s;
}

TEST(Definizione, RefusesBrokenFilesWithTheReason) {
    const struct {
        const char* testo;
        const char* motivo;
    } casi[] = {
        {"titolo: x\n", "manca la sezione"},
        {"colore: rosso\n== corpo\nx\n", "riga 1: chiave sconosciuta"},
        {"\norientamento: obliquo\n== corpo\nx\n", "riga 2: orientamento"},
        {"margini: 1 2 3\n== corpo\nx\n", "margini sono quattro"},
        {"== piede\nx\n", "sezione sconosciuta"},
        {"distribuzione: Esito\n== corpo\nx\n", "distribuzione:"},
        {"== corpo\n{{#righe}}<p></p>\n", "riga 2: la sezione {{#righe}} non è chiusa"},
    };
    for (const auto& c : casi) {
        try {
            LeggiDefinizione(c.testo);
            ADD_FAILURE() << "accettato: " << c.testo;
        } catch (const DefinizioneErrata& e) {
            EXPECT_NE(std::string(e.what()).find(c.motivo), std::string::npos)
                << c.testo << " -> " << e.what();
        }
    }
    EXPECT_THROW(CaricaDefinizione("/non/esiste/VD_Ricev.rpt"), DefinizioneErrata);
}

TEST(Modello, ShowsValuesInTheirDisplayForm) {
    const struct {
        const char* colonna;
        const char* valore;
        const char* atteso;
    } casi[] = {
        {"CanoneTotaleEur", "1234.5", "1.234,50"},
        {"ContribConcesso", "", ""},
        {"IncidenzaCanRed", "28.574", "28,57"},
        {"DataDomanda", "2006-09-15", "15/09/2006"},
        {"DataRegistrazione", "2006-09-15 10:00:00", "15/09/2006"},
        {"FlagDomandaOK", "1", "Sì"},
        {"FlagTipoContratto", "C", "Concordato"},
        {"FlagTipoContratto", "", "Non specificato"},
        {"FlagTipoAlloggio", "E", "Edilizia Residenziale Pubblica"},
        {"FlagTipoAlloggio", "P", "Proprietà privata"},
        {"FlagTipoAlloggio", "1", "Sì"},  // not a dwelling type: read as a flag
        {"FlagConserFab", "M", "Mediocre"},
        {"FlagConserAll", "Q", ""},
        {"FabbisognoEur", "2500", "2.500,00"},
        {"ContribComplessivo", "0.5", "0,50"},
        {"CodFiscRich", "RSSMRA80A01H501U", "RSSMRA80A01H501U"},
    };
    for (const auto& c : casi)
        EXPECT_EQ(FormaVisibile(c.colonna, c.valore), c.atteso) << c.colonna << " " << c.valore;
}

TEST(Modello, FillsFormulasTitleRowsAndEscapes) {
    const Definizione d = LeggiDefinizione(
        "== intestazione\n<p>{{PuntoRaccolta}} / {{title}} / {{dataStampa}}</p>\n"
        "== corpo\n<h1>{{title}}</h1>\n"
        "<table><thead><tr><th>N</th></tr></thead>\n"
        "{{#righe}}<tr><td>{{numero}} {{CognomeRich}} {{CanoneTotaleEur}} {{PuntoRaccolta}}"
        "</td></tr>{{/righe}}\n</table>\n{{^righe}}<p>vuoto</p>{{/righe}}\n");
    ui::ReportRequest r;
    r.title = "Elenco <Completo>";
    r.formulas = {"PuntoRaccolta=\"Comune A & B - AB\""};
    r.columns = {"CognomeRich", "CanoneTotaleEur"};
    r.rows = {{"D'ANGELO <X>", "2880.0"}, {"ROSSI", "12.5"}};
    const Documento doc = Componi(d, r, "15/09/2006");
    EXPECT_EQ(doc.titolo, "Elenco <Completo>");
    EXPECT_EQ(doc.intestazione,
              "<p>Comune A &amp; B - AB / Elenco &lt;Completo&gt; / 15/09/2006</p>\n");
    ASSERT_EQ(doc.unita.size(), 3u);
    EXPECT_EQ(doc.unita[0].html, "<h1>Elenco &lt;Completo&gt;</h1>");
    EXPECT_EQ(doc.unita[1].tabella, 0);
    EXPECT_NE(doc.unita[1].html.find("1 D&apos;ANGELO &lt;X&gt; 2.880,00 Comune A &amp; B"),
              std::string::npos)
        << doc.unita[1].html;
    EXPECT_NE(doc.unita[2].html.find("2 ROSSI 12,50"), std::string::npos);
    ASSERT_EQ(doc.tabelle.size(), 1u);
    EXPECT_EQ(doc.tabelle[0].apertura, "<table>");
    EXPECT_EQ(doc.tabelle[0].testa, "<thead><tr><th>N</th></tr></thead>");

    r.rows.clear();
    EXPECT_NE(corpoUnito(Componi(d, r, "")).find("<p>vuoto</p>"), std::string::npos);
}

TEST(Modello, GroupsConsecutiveRowsWithCountsAndTotals) {
    const Definizione d = LeggiDefinizione(
        "raggruppa: Fascia\ntotali: ContribRichiesto Domande\n"
        "== "
        "corpo\n{{#gruppi}}<p>{{valore}}:{{conteggio}}{{#uno}}!{{/"
        "uno}}:{{totali.ContribRichiesto}}:"
        "{{totali.Domande}}</p>{{/gruppi}}"
        "<p>tot {{conteggio}} {{totali.ContribRichiesto}}</p>\n");
    ui::ReportRequest r;
    r.columns = {"Fascia", "ContribRichiesto", "Domande"};
    r.rows = {{"A", "1000.5", "2"}, {"A", "2000", "3"}, {"B", "0.25", "1"}, {"A", "1", "4"}};
    EXPECT_EQ(corpoUnito(Componi(d, r, "")),
              "<p>A:2:3.000,50:5</p><p>B:1!:0,25:1</p><p>A:1!:1,00:4</p><p>tot 4 3.001,75</p>");

    const Definizione senzaColonna = LeggiDefinizione("raggruppa: Manca\n== corpo\nx\n");
    EXPECT_THROW(Componi(senzaColonna, r, ""), DefinizioneErrata);
}

TEST(Modello, CutsTheFlowIntoUnits) {
    std::vector<Tabella> tabelle;
    Riferimenti immagini;
    const std::vector<Unita> u = Dividi(
        "testo libero <!-- nota <b> --><h1 class=\"x\">T</h1>\n<br/>\n"
        "<div style=\"page-break-before: always\"><table><tr><td>dentro</td></tr></table></div>"
        "<table width=\"100%\"><colgroup><col width=\"10%\"></colgroup>"
        "<thead><tr><th>H</th></tr></thead><tbody><tr><td>1</td></tr>"
        "<tr><td><table><tr><td>2</td></tr></table></td></tr></tbody>"
        "<tfoot><tr><td>F</td></tr></tfoot></table>",
        tabelle, immagini);
    ASSERT_EQ(u.size(), 7u);
    EXPECT_EQ(u[0].html, "<p>testo libero </p>");
    EXPECT_EQ(u[1].html, "<h1 class=\"x\">T</h1>");
    EXPECT_EQ(u[2].html, "<br/>");
    EXPECT_TRUE(u[3].nuovaPagina);
    EXPECT_FALSE(u[1].nuovaPagina);
    EXPECT_EQ(u[3].tabella, -1);
    EXPECT_EQ(u[4].html, "<tr><td>1</td></tr>");
    EXPECT_EQ(u[5].html, "<tr><td><table><tr><td>2</td></tr></table></td></tr>");
    EXPECT_EQ(u[6].html, "<tr><td>F</td></tr>");
    EXPECT_EQ(u[6].tabella, 0);
    ASSERT_EQ(tabelle.size(), 1u);
    EXPECT_EQ(tabelle[0].testa,
              "<colgroup><col width=\"10%\"></colgroup><thead><tr><th>H</th></tr></thead>");

    for (const char* rotto : {"<div><p>x</div>", "<p>x", "</p>", "<p x", "<!-- x"}) {
        std::vector<Tabella> t;
        EXPECT_THROW(Dividi(rotto, t, immagini), DefinizioneErrata) << rotto;
    }
}

}  // namespace
}  // namespace reports
