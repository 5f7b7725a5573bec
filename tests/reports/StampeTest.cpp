// The shipped report definitions rendered to PDF, read back with pdftotext: every page carries
// its heading, "Pagina X di Y" and the print date, long lists lose and repeat no row, and
// nothing is drawn in the margins, whether the pages are saved, printed or previewed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "qt/ReportEngine.h"
#include "reports/Definizione.h"
#include "script/Runner.h"

namespace gui {
namespace {

const std::vector<std::string> kColonne = [] {
    std::istringstream in(
        "NumRepertorio DataDomanda CognomeRich NomeRich CodFiscRich ComuneRich IndiRich CapRich "
        "NumComponNucleo NumFigliCarico RedditoComplessivoEur RedditoAccessoEur IncidenzaCanRed "
        "Fascia CanoneTotaleEur FlagTipoAlloggio Contratto1Num Contratto1DataReg "
        "Contratto1DataIni FlagConserFab FlagTipoContratto FlagDebolUltra65 ContribBase "
        "TotContrib ContribRichiesto ContribConcesso CoFinanzComune FlagDomandaOK "
        "FlagEsclusaReddi DescrComuneRich");
    return std::vector<std::string>(std::istream_iterator<std::string>(in), {});
}();

void ensureApplication() {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

std::vector<std::string> domanda(int n, const std::string& cognome, const std::string& fascia) {
    const std::map<std::string, std::string> v = {
        {"NumRepertorio", "A001012005AB" + std::to_string(n)},
        {"DataDomanda", "2006-09-15"},
        {"CognomeRich", cognome},
        {"NomeRich", "MARIO"},
        {"CodFiscRich", "RSSMRA80A01H501U"},
        {"IndiRich", n == 1 ? "" : "VIA ROMA 1"},
        {"CapRich", "40100"},
        {"NumComponNucleo", "3"},
        {"RedditoAccessoEur", "12000.0"},
        {"IncidenzaCanRed", "24.0"},
        {"Fascia", fascia},
        {"CanoneTotaleEur", "2880.0"},
        {"FlagTipoContratto", "C"},
        {"ContribRichiesto", "1234.5"},
        {"FlagDomandaOK", "1"},
        {"DescrComuneRich", "ALFA"}};
    std::vector<std::string> riga;
    for (const std::string& c : kColonne) {
        const auto it = v.find(c);
        riga.push_back(it == v.end() ? "" : it->second);
    }
    return riga;
}

ui::ReportRequest richiesta(const std::string& file, int righe) {
    ui::ReportRequest r;
    r.file = std::string(VENDRAL_REPORTS_DIR) + "/" + file;
    r.formulas = {"PuntoRaccolta=\"ALFA - AB\""};
    r.columns = kColonne;
    for (int i = 1; i <= righe; ++i)
        r.rows.push_back(domanda(i, "COGNOME" + std::to_string(i), i % 3 == 0 ? "B" : "A"));
    std::stable_sort(r.rows.begin(), r.rows.end(),
                     [](const auto& a, const auto& b) { return a[13] < b[13]; });
    return r;
}

// The output of a command.
std::string esegui(const std::string& comando) {
    FILE* f = popen(comando.c_str(), "r");
    if (f == nullptr) return "";
    std::string s;
    char buf[4096];
    while (const std::size_t n = fread(buf, 1, sizeof buf, f)) s.append(buf, n);
    pclose(f);
    return s;
}

// The text of a PDF, ligatures spelled out.
std::string testoPdf(const QString& pdf) {
    std::string s = esegui("pdftotext -layout '" + pdf.toStdString() + "' -");
    for (const auto& [lega, lettere] : std::map<std::string, std::string>{
             {"ﬃ", "ffi"}, {"ﬁ", "fi"}, {"ﬂ", "fl"}, {"ﬀ", "ff"}, {"ﬄ", "ffl"}})
        for (std::size_t p; (p = s.find(lega)) != std::string::npos;)
            s.replace(p, lega.size(), lettere);
    return s;
}

std::vector<std::string> pagine(const std::string& testo) {
    std::vector<std::string> p;
    std::size_t da = 0;
    for (std::size_t ff; (ff = testo.find('\f', da)) != std::string::npos; da = ff + 1)
        p.push_back(testo.substr(da, ff - da));
    return p;
}

std::size_t conta(const std::string& s, const std::regex& r) {
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(s.begin(), s.end(), r), std::sregex_iterator()));
}

class Stampe : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        ASSERT_TRUE(dir_.isValid());
    }
    std::string stampa(ui::ReportRequest r) {
        const QString pdf = dir_.filePath(QString::fromStdString(r.file).section('/', -1) + ".pdf");
        if (r.printDate.empty()) r.printDate = "15/09/2006";
        StampaPdf(r, pdf);
        return testoPdf(pdf);
    }
    // A definition written into the test's folder as VD_Prova.rpt; its path.
    std::string prova(const std::string& testo) {
        const std::string file = dir_.filePath("VD_Prova.rpt").toStdString();
        std::ofstream(file) << testo;
        return file;
    }
    QTemporaryDir dir_;
};

TEST_F(Stampe, LongListHasEveryRowOnceAndNumberedPages) {
    ui::ReportRequest r = richiesta("VD_EleDom.rpt", 300);
    r.title = "Elenco Completo Domande";
    r.rows[7][2] = "NOME MOLTO LUNGO CHE VA A CAPO NELLA SUA CELLA DELLA TABELLA ELENCO";
    const std::vector<std::string> p = pagine(stampa(r));
    ASSERT_GE(p.size(), 5u);
    std::size_t righe = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const std::string n = std::to_string(i + 1) + " di " + std::to_string(p.size());
        EXPECT_NE(p[i].find("Pagina " + n), std::string::npos) << "pagina " << i + 1;
        EXPECT_NE(p[i].find("Stampato il 15/09/2006"), std::string::npos);
        EXPECT_NE(p[i].find("Comune di ALFA - AB"), std::string::npos);
        EXPECT_NE(p[i].find("Numero repertorio"), std::string::npos) << "testata ripetuta";
        righe += conta(p[i], std::regex("A001012005AB[0-9]+"));
    }
    EXPECT_EQ(righe, 300u);
    EXPECT_NE(p.back().find("Totale: 300 domande"), std::string::npos);
}

TEST_F(Stampe, ListRowsKeepTheirTextAndHeadingsTheirRows) {
    // A text too long for its cell: two lines, the second cut short, still text in the PDF.
    ui::ReportRequest r = richiesta("VD_EleDom.rpt", 3);
    r.rows[1][2] = "NOMELUNGO " + std::string(40, 'X') + " " + std::string(60, 'Y') + " CODA";
    const std::string testo = stampa(r);
    EXPECT_NE(testo.find("NOMELUNGO"), std::string::npos) << testo;
    EXPECT_NE(testo.find("XXXXXXXXXX"), std::string::npos) << testo;
    EXPECT_EQ(testo.find("CODA"), std::string::npos) << testo;
    EXPECT_NE(testo.find("…"), std::string::npos) << testo;
    EXPECT_NE(testo.find("A001012005AB3"), std::string::npos) << testo;

    // Whatever the length of band A, the heading of band B never ends a page.
    for (int righe = 30; righe <= 60; righe += 2) {
        const std::vector<std::string> p = pagine(stampa(richiesta("VD_EleDomDir.rpt", righe)));
        for (std::size_t i = 0; i < p.size(); ++i) {
            const std::string corpo = p[i].substr(0, p[i].find("Stampato il"));
            const std::size_t ultima = corpo.find_last_not_of(" \n");
            const std::size_t inizio = corpo.find_last_of('\n', ultima);
            const std::string riga = corpo.substr(inizio + 1, ultima - inizio);
            EXPECT_EQ(riga.find("Fascia B"), std::string::npos)
                << righe << " righe, pagina " << i + 1 << ": " << riga;
        }
    }
}

TEST_F(Stampe, ShippedDefinitionsPrintTheirContent) {
    const struct {
        const char* file;
        int righe;
        std::vector<std::string> testi;
        std::size_t pagine;  // 0: any
        std::vector<std::string> assenti = {};
    } casi[] = {
        // Without an address, no dash before the municipality.
        {"VD_Ricev.rpt",
         1,
         {"Ricevuta di Presentazione", "A001012005AB1", "15/09/2006", "COGNOME1 MARIO", "2.880,00",
          "1.234,50", "Punto di raccolta: ALFA - AB", "Residente in 40100 ALFA"},
         1},
        {"VD_Ricev.rpt", 2, {"Residente in VIA ROMA 1 - 40100 ALFA"}, 0},
        {"VD_Ricev.rpt", 0, {"Nessuna domanda registrata con questo numero."}, 0},
        {"VD_StaDom.rpt",
         3,
         {"Domanda n. A001012005AB3", "Concordato", "2.880,00", "RSSMRA80A01H501U"},
         3},
        {"VD_EleDom.rpt", 4, {"Titolo Elenco", "COGNOME2 MARIO", "Totale: 4 domande"}, 1},
        {"VD_EleDomDir.rpt",
         4,
         {"Elenco Domande Aventi Diritto", "Fascia A", "Fascia B", "Totale fascia A: 3 domande",
          "Totale fascia B: 1 domanda", "Totale generale: 4 domande", "4.938,00"},
         1},
        {"VD_FabReg.rpt",
         4,
         {"Fabbisogno", "Fascia A", "Totale", "8.640,00", "4.938,00",
          "dalle 4 domande ammissibili"},
         1},
        {"VD_FabReg.rpt", 1, {"da 1 domanda ammissibile,"}, 1, {"domande ammissibili,"}},
    };
    // Words as pdftotext lays them out, whatever the blanks or line breaks between them.
    const auto cerca = [](const std::string& testo, const std::string& t) {
        return std::regex_search(testo, std::regex(std::regex_replace(t, std::regex(" "), "\\s+")));
    };
    for (const auto& c : casi) {
        ui::ReportRequest r = richiesta(c.file, c.righe);
        r.title = "Titolo Elenco";
        const std::string testo = stampa(r);
        for (const std::string& t : c.testi)
            EXPECT_TRUE(cerca(testo, t)) << c.file << ": " << t << "\n" << testo;
        for (const std::string& t : c.assenti)
            EXPECT_FALSE(cerca(testo, t)) << c.file << ": " << t << "\n" << testo;
        const std::size_t n = pagine(testo).size();
        EXPECT_GE(n, 1u) << c.file;
        if (c.pagine > 0) {
            EXPECT_EQ(n, c.pagine) << c.file;
        }
        // Their own heading: a title left on the report object never shows.
        if (std::string(c.file) != "VD_EleDom.rpt") {
            EXPECT_EQ(testo.find("Titolo Elenco"), std::string::npos) << c.file;
        }
    }
}

// The spreadsheet export writes a real workbook (a zip package) holding the rows.
TEST_F(Stampe, RowsExportToAWorkbook) {
    const QString file = dir_.filePath("elenco.xlsx");
    EsportaXlsx(richiesta("VD_EleDom.rpt", 40), file);
    QFile xlsx(file);
    ASSERT_TRUE(xlsx.open(QIODevice::ReadOnly));
    const QByteArray contenuto = xlsx.readAll();
    EXPECT_TRUE(contenuto.startsWith("PK"));
    EXPECT_TRUE(contenuto.contains("xl/worksheets/sheet1.xml"));
}

// Statistics over ten applications, one of them in public housing.
ui::ReportRequest statistiche() {
    ui::ReportRequest r;
    r.file = std::string(VENDRAL_REPORTS_DIR) + "/VD_stat.rpt";
    r.formulas = {"Comune=\"ALFA\"", "PuntoLavoro=\"AB\""};
    r.columns = {"DescrEsito",         "DescrFascia",           "DescrNucleo",
                 "DescrTipoAlloggio",  "DescrTipoContratto",    "DescrConserFab",
                 "DescrConserAll",     "FlagEsclusaReddi",      "FlagEsclusaCateg",
                 "FlagEsclusaIncid",   "FlagEsclusaContr",      "FlagEsclusaObbl",
                 "FlagEsclusaTermine", "FlagEsclusaIstruttoria"};
    for (int i = 0; i < 10; ++i) {
        std::vector<std::string> riga(r.columns.size(), "0");
        riga[0] = i < 7 ? "Ammissibili" : "Non ammissibili";
        riga[1] = i < 7 ? "Fascia A" : "Fascia B";
        riga[2] = std::to_string(1 + i % 4) + " componenti";
        riga[3] = i == 0 ? "Edilizia residenziale pubblica" : "Proprietà privata";
        riga[4] = "Concordato";
        riga[5] = riga[6] = "Buono";
        riga[7] = i < 2 ? "1" : "0";
        riga[10] = i == 3 ? "1" : "0";
        r.rows.push_back(riga);
    }
    return r;
}

TEST_F(Stampe, StatisticsPrintsSectionsWithCharts) {
    const ui::ReportRequest r = statistiche();
    const std::string testo = stampa(r);
    for (const char* t :
         {"Comune di ALFA - Punto di lavoro AB", "Domande registrate: 10", "Fascia di reddito",
          "Fascia A 7 70,0", "Reddito superiore ai limiti 2 20,0",
          "Stato di conservazione dell'alloggio", "Pagina 1 di"})
        EXPECT_TRUE(std::regex_search(
            testo, std::regex(std::regex_replace(std::string(t), std::regex(" "), "\\s+"))))
            << t << "\n"
            << testo;
    // The legends and the labels of the bars are whole: in the table and beside the chart.
    EXPECT_EQ(conta(testo, std::regex("Edilizia\\s+residenziale\\s+pubblica")), 2u) << testo;
    EXPECT_EQ(conta(testo, std::regex("Contratto\\s+posteriore\\s+al\\s+2004")), 2u) << testo;
    EXPECT_EQ(testo.find("…"), std::string::npos) << testo;
}

// Page 1 of a laid-out report as the preview draws it, 1/96 inch per pixel.
QImage primaPagina(Impaginazione& imp) {
    Completa(imp, nullptr);
    QImage foglio(imp.formato().toSize(), QImage::Format_RGB32);
    foglio.fill(Qt::white);
    QPainter p(&foglio);
    imp.disegna(p, 0);
    p.end();
    return foglio;
}

// A folder of definitions holding a red square image. The definitions ask for margins of 10 mm,
// raised to 15: the body starts 16 mm (60.5 units) from the corner, 1 mm inside the margins.
class Immagini : public Stampe {
protected:
    void SetUp() override {
        Stampe::SetUp();
        QImage rosso(30, 30, QImage::Format_RGB32);
        rosso.fill(Qt::red);
        ASSERT_TRUE(rosso.save(dir_.filePath("stemma.png")));
        QImage lunga(5000, 2, QImage::Format_RGB32);
        lunga.fill(Qt::red);
        ASSERT_TRUE(lunga.save(dir_.filePath("lunga.png")));
    }
    // Whether the body's first 40 x 40 units show red.
    static bool rosso(const QImage& foglio) { return foglio.pixelColor(80, 80) == QColor(Qt::red); }
};

TEST_F(Immagini, ImagesOfTheReportsFolderAreDrawn) {
    const std::string file = prova(
        "margini: 10 10 10 10\n== corpo\n"
        "<p><img src=\"stemma.png\" width=\"40\" height=\"40\"/></p>\n");
    ui::ReportRequest r;
    r.file = file;
    Impaginazione imp(reports::Componi(reports::CaricaDefinizione(r.file), r, "15/09/2006"), "");
    EXPECT_TRUE(rosso(primaPagina(imp)));
}

// Whatever reaches a text document, only images of the reports folder are loaded: a body that
// did not pass the checks of a definition draws nothing else.
TEST_F(Immagini, NothingElseIsLoaded) {
    const std::string assoluto =
        QUrl::fromLocalFile(dir_.filePath("stemma.png")).toString().toStdString();
    for (const std::string& html : {
             std::string("<p><img src=\"/dev/zero\" width=\"40\" height=\"40\"/></p>"),
             "<p><img src=\"" + assoluto + "\" width=\"40\" height=\"40\"/></p>",
             "<p><img src=\"../" + dir_.path().section('/', -1).toStdString() +
                 "/stemma.png\" width=\"40\" height=\"40\"/></p>",
             std::string("<p><img src=\"lunga.png\" width=\"40\" height=\"40\"/></p>"),
             std::string("<table width=\"40\" height=\"40\" background=\"/dev/zero\"><tr>"
                         "<td style=\"background-image: url(/dev/zero)\">x</td></tr></table>"),
             std::string("<link rel=\"stylesheet\" href=\"/dev/zero\"/><p>x</p>"),
         }) {
        reports::Documento doc;
        doc.margini = {10, 10, 10, 10};
        doc.cartella = dir_.path().toStdString();
        doc.stile = "@import url(/dev/zero);";
        doc.unita.push_back({html, -1, false});
        Impaginazione imp(std::move(doc), "");
        EXPECT_FALSE(rosso(primaPagina(imp))) << html;
    }
}

TEST_F(Stampe, HeadingThatLeavesNoRoomIsRefused) {
    const std::string file = prova(
        "== intestazione\n<table height=\"1000\"><tr><td>Comune</td></tr></table>\n== "
        "corpo\n<p>x</p>\n");
    ui::ReportRequest r;
    r.file = file;
    try {
        StampaPdf(r, dir_.filePath("x.pdf"));
        ADD_FAILURE() << "accettata";
    } catch (const reports::DefinizioneErrata& e) {
        EXPECT_STREQ(e.what(), "l'intestazione lascia meno di 3 cm al corpo della pagina");
    }
}

// The legend of a pie reads its labels as HTML: a label is shown as written, never loaded.
TEST_F(Stampe, PieLabelsAreText) {
    const std::string file = prova(
        "distribuzione: Esito | FlagA=<b>Grassetto</b> <img src=\"/dev/zero\"/>, FlagB=Altro\n"
        "torte: Esito\n== corpo\n{{#distribuzioni}}<p><img src=\"{{grafico}}\" width=\"330\" "
        "height=\"170\"/></p>{{/distribuzioni}}\n");
    ui::ReportRequest r;
    r.file = file;
    r.columns = {"FlagA", "FlagB"};
    r.rows = {{"1", "0"}, {"1", "1"}};
    const std::string testo = stampa(r);
    EXPECT_NE(testo.find("<b>Grassetto</b>"), std::string::npos) << testo;
}

// A chart of many entries draws the largest ones and the rest as one; its table lists them all.
TEST_F(Stampe, ChartsDrawTheirLargestEntries) {
    const std::string file = prova(
        "distribuzione: Torta | Nome\ndistribuzione: Barre | Nome\ntorte: Torta\n== corpo\n"
        "{{#distribuzioni}}<p>{{#voci}}{{voce}} {{/voci}}</p><p><img src=\"{{grafico}}\" "
        "width=\"330\" height=\"170\"/></p>{{/distribuzioni}}\n");
    ui::ReportRequest r;
    r.file = file;
    r.columns = {"Nome"};
    for (int i = 0; i < 400; ++i) r.rows.push_back({"N" + std::to_string(i % 200)});
    const std::string testo = stampa(r);
    EXPECT_NE(testo.find("Altre voci"), std::string::npos) << testo;
    EXPECT_EQ(conta(testo, std::regex("N199 ")), 2u) << testo;  // in both tables
}

// The boxes of the words of a PDF, in points, page by page, with each page's size.
struct Parola {
    std::string testo;
    double x0, y0, x1, y1;
};
struct PaginaPdf {
    double larghezza = 0, altezza = 0;
    std::vector<Parola> parole;
};

std::vector<PaginaPdf> paginePdf(const QString& pdf) {
    const std::string xml = esegui("pdftotext -bbox '" + pdf.toStdString() + "' -");
    static const std::regex voce(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" )re"
        R"re(xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PaginaPdf> pagine;
    for (std::sregex_iterator it(xml.begin(), xml.end(), voce), fine; it != fine; ++it) {
        const std::smatch& m = *it;
        if (m[1].matched) {
            pagine.push_back({std::stod(m[1]), std::stod(m[2]), {}});
        } else if (!pagine.empty()) {
            pagine.back().parole.push_back(
                {m[7], std::stod(m[3]), std::stod(m[4]), std::stod(m[5]), std::stod(m[6])});
        }
    }
    return pagine;
}

// The words of a PDF outside margins of 15 mm, as "page: word".
std::vector<std::string> fuoriMargine(const std::vector<PaginaPdf>& pagine) {
    const double m = 15 * 72 / 25.4;
    std::vector<std::string> fuori;
    for (std::size_t i = 0; i < pagine.size(); ++i)
        for (const Parola& w : pagine[i].parole)
            if (w.x0 < m || w.y0 < m || w.x1 > pagine[i].larghezza - m ||
                w.y1 > pagine[i].altezza - m)
                fuori.push_back(std::to_string(i + 1) + ": " + w.testo);
    return fuori;
}

// Whether a page drawn at 96 dots per inch shows anything but white within 15 mm of its edges.
bool margineSporco(const QImage& pagina) {
    const int banda = static_cast<int>(15 * 96 / 25.4) - 1;
    const QImage g = pagina.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            if ((y < banda || y >= g.height() - banda || x < banda || x >= g.width() - banda) &&
                g.constScanLine(y)[x] < 250)
                return true;
    return false;
}

// Every report, portrait and landscape, keeps margins of 15 mm on every page: no word within
// them saved as PDF (as "Salva PDF" and the scenario runner do) or printed (on A4 and on other
// paper, scaled), and no line, border or chart either as the pages are drawn.
TEST_F(Stampe, EveryPageKeepsItsMargins) {
    std::vector<ui::ReportRequest> casi;
    for (const auto& [file, righe] :
         std::vector<std::pair<std::string, int>>{{"VD_Ricev.rpt", 1},
                                                  {"VD_StaDom.rpt", 2},
                                                  {"VD_EleDom.rpt", 70},
                                                  {"VD_EleDomDir.rpt", 70},
                                                  {"VD_FabReg.rpt", 6}}) {
        // Long names, wide amounts, an empty address.
        ui::ReportRequest& r = casi.emplace_back(richiesta(file, righe));
        for (std::size_t i = 0; i < r.rows.size(); i += 3) {
            r.rows[i][2] = "DELL'ANNUNZIATA SANTACROCE DI VALDORIA";
            r.rows[i][3] = "MARIA GIOVANNA ADDOLORATA";
            r.rows[i][14] = "1234567.89";
            r.rows[i][24] = "99999.99";
        }
    }
    casi.push_back(statistiche());
    // The explanation of a verdict: long trail lines and a few pages of them.
    ui::ReportRequest& perche = casi.emplace_back();
    perche.file = std::string(VENDRAL_REPORTS_DIR) + "/VD_Perche.rpt";
    perche.formulas = {"NumRepertorio=\"A001012005AB1\"", "Richiedente=\"VERDI ANNA\"",
                       "DataDomanda=\"01/10/2006\""};
    perche.columns = {"Riga"};
    for (int i = 1; i <= 150; ++i)
        perche.rows.push_back({" " + std::to_string(i) +
                               ". Incidenza del canone sul reddito per l'accesso: il canone "
                               "diviso per il reddito per l'accesso, per cento, senza spazi: " +
                               std::string(60, 'X')});
    // The Region's statement, landscape, one row per municipality.
    ui::ReportRequest& regione = casi.emplace_back();
    regione.file = std::string(VENDRAL_REPORTS_DIR) + "/VD_Regione.rpt";
    regione.columns = {
        "CodComune",      "Comune",  "PuntiRaccolta", "Domande",       "Ammissibili",
        "NonAmmissibili", "FasciaA", "FasciaB",       "FabbisognoEur", "CoFinanziamentoEur"};
    for (int i = 1; i <= 80; ++i)
        regione.rows.push_back({"A" + std::to_string(100000 + i),
                                "SANT'ANGELO DEI LOMBARDI E VALDORIA", "12", "123456", "100000",
                                "23456", "60000", "40000", "123456789.12", "98765432.10"});
    const QString pdf = dir_.filePath("pagine.pdf");
    for (ui::ReportRequest& r : casi) {
        r.printDate = "15/09/2006";
        const std::unique_ptr<Impaginazione> imp = Impagina(r);
        Completa(*imp, nullptr);
        const QSizeF carta = imp->layoutPagina().fullRect(QPageLayout::Point).size();
        StampaPdf(r, pdf);
        const std::vector<PaginaPdf> salvate = paginePdf(pdf);
        ASSERT_EQ(salvate.size(), static_cast<std::size_t>(imp->pagine())) << r.file;
        EXPECT_NEAR(salvate[0].larghezza, carta.width(), 1) << r.file;
        EXPECT_NEAR(salvate[0].altezza, carta.height(), 1) << r.file;
        EXPECT_EQ(fuoriMargine(salvate), std::vector<std::string>{}) << r.file;

        for (const QPageSize::PageSizeId foglio : {QPageSize::A4, QPageSize::Letter}) {
            QPrinter stampante(QPrinter::HighResolution);
            stampante.setOutputFormat(QPrinter::PdfFormat);
            stampante.setOutputFileName(pdf);
            stampante.setPageLayout(imp->layoutPagina());
            stampante.setPageSize(QPageSize(foglio));
            ASSERT_TRUE(DisegnaPagine(*imp, stampante, 1, imp->pagine())) << r.file;
            const std::vector<PaginaPdf> stampate = paginePdf(pdf);
            EXPECT_EQ(stampate.size(), salvate.size()) << r.file;
            EXPECT_EQ(fuoriMargine(stampate), std::vector<std::string>{}) << r.file << foglio;
        }

        for (int n = 0; n < imp->pagine(); ++n) {
            QImage foglio(imp->formato().toSize(), QImage::Format_RGB32);
            foglio.fill(Qt::white);
            QPainter p(&foglio);
            imp->disegna(p, n);
            p.end();
            EXPECT_FALSE(margineSporco(foglio)) << r.file << " pagina " << n + 1;
        }
    }
}

// A heading after a table laid out as a text document keeps its own room above the rows drawn
// directly that follow it.
TEST_F(Stampe, HeadingBetweenTablesKeepsItsRoom) {
    const std::string file = prova(
        "== corpo\n<table border=\"1\"><tr><td>Prima</td></tr><tr><td>Sotto</td></tr></table>\n"
        "<h2>Titolo</h2>\n<table border=\"1\" width=\"100%\"><thead><tr><th>Testata</th></tr>"
        "</thead><tr><td>Riga</td></tr></table>\n");
    ui::ReportRequest r;
    r.file = file;
    StampaPdf(r, dir_.filePath("titolo.pdf"));
    const std::vector<PaginaPdf> p = paginePdf(dir_.filePath("titolo.pdf"));
    ASSERT_EQ(p.size(), 1u);
    std::map<std::string, Parola> parole;
    for (const Parola& w : p[0].parole) parole.emplace(w.testo, w);
    ASSERT_EQ(parole.count("Titolo"), 1u);
    EXPECT_GT(parole.at("Titolo").y0, parole.at("Sotto").y1);
    EXPECT_LT(parole.at("Titolo").y1, parole.at("Testata").y0);
    EXPECT_LT(parole.at("Testata").y1, parole.at("Riga").y0);
}

// The application form prints each application's household as the screen shows it, whole, then
// its totals, and the lines for the place, the date and the signatures.
TEST_F(Stampe, FormListsTheHouseholdAndTheSignatureLines) {
    ui::ReportRequest r = richiesta("VD_StaDom.rpt", 2);
    r.memberColumns = {"NumRepertorio", "ProgrNucleo", "CognomeNome",  "CodParent", "DescriParent",
                       "DataNascita",   "CodProfes",   "DescriProfes", "RedditoEur"};
    const std::string lungo =
        "DELL'ANNUNZIATA SANTACROCE DI VALDORIA BASSA MARIA GIOVANNA ADDOLORATA ASSUNTA";
    r.members = {{"A001012005AB1", "1", lungo, "0", "Richiedente", "1965-03-01", "02",
                  "Lavoratore autonomo", "45000"}};
    for (int i = 2; i <= 11; ++i)
        r.members.push_back({"A001012005AB1", std::to_string(i),
                             "FIGLIO NUMERO " + std::to_string(i), "3", "Figlio a carico",
                             "2001-02-03", "06", "Studente", "9800.5"});
    r.members.push_back({"A001012005AB2", "1", "SOLA ANNA", "0", "Richiedente", "1970-01-01", "03",
                         "Pensionato", "6000"});
    r.rows[0][8] = "11";
    r.rows[0][10] = "143005";
    const std::string testo = stampa(r);
    const std::string secondo = "Domanda n. A001012005AB2";
    const std::size_t fine = testo.find(secondo);
    ASSERT_NE(fine, std::string::npos) << testo;
    const std::string primo = testo.substr(0, fine);
    for (const char* t : {"Richiedente", "01/03/1965", "Lavoratore autonomo", "45.000,00",
                          "Componenti del nucleo: 11", "143.005,00", "Luogo e data",
                          "Firma del richiedente", "Firma dell'operatore"})
        EXPECT_NE(primo.find(t), std::string::npos) << t << "\n" << primo;
    EXPECT_EQ(conta(primo, std::regex("Figlio a carico\\s+03/02/2001\\s+Studente\\s+9.800,50")),
              10u)
        << primo;
    // The long name whole, on as many lines as it takes.
    EXPECT_TRUE(std::regex_search(
        primo, std::regex(std::regex_replace(lungo, std::regex(" "), "\\s+(\\S.*\\s+)?"))))
        << primo;
    EXPECT_EQ(primo.find("…"), std::string::npos) << primo;
    const std::string dopo = testo.substr(fine);
    EXPECT_NE(dopo.find("SOLA ANNA"), std::string::npos);
    EXPECT_EQ(dopo.find("FIGLIO"), std::string::npos);
    EXPECT_NE(dopo.find("Firma dell'operatore"), std::string::npos);
}

// Under the scenario runner the kept PDF carries the scenario's date, the program's own.
TEST_F(Stampe, KeptPdfCarriesTheScenarioDate) {
    const QString scenario = dir_.filePath("data.scn");
    std::ofstream(scenario.toStdString())
        << "configure A00104 XY 14/07/2006 30/09/2006 operatore1 segreta01\n"
           "today 01/10/2006\nstart\nlogin operatore1 segreta01\nclick cmdStatistiche\n";
    std::ostringstream uscita;
    const QString keep = dir_.filePath("keep");
    ASSERT_EQ(script::runScenarios({scenario.toStdString()}, keep.toStdString(), uscita,
                                   [](const ui::ReportRequest& r, const std::string& pdf) {
                                       StampaPdf(r, QString::fromStdString(pdf));
                                   }),
              0)
        << uscita.str();
    const std::string testo = testoPdf(keep + "/data/stampe/01-VD_stat.pdf");
    EXPECT_NE(testo.find("Stampato il 01/10/2006"), std::string::npos) << testo;
}

}  // namespace
}  // namespace gui
