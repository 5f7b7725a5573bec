// Report definitions: any text, printed with a few rows, is either filled, laid out and written
// as PDF, or refused with DefinizioneErrata; never a crash, a hang or unbounded memory. The
// input is the definition, optionally followed by a line "%%righe" and the values of the rows,
// one per line, cell after cell. The reports folder holds one image, stemma.png.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

#include "qt/ReportEngine.h"
#include "reports/Definizione.h"

namespace {

// Pages laid out at most: the PDF is written when the report has no more.
constexpr int kPagine = 8;

const std::vector<std::string> kColonne = {
    "NumRepertorio",    "DataDomanda",      "CognomeRich",   "NomeRich",
    "Fascia",           "CanoneTotaleEur",  "ContribRichiesto", "IncidenzaCanRed",
    "FlagDomandaOK",    "FlagEsclusaReddi", "FlagTipoContratto", "DescrNucleo"};

const std::vector<std::vector<std::string>> kRighe = {
    {"A001012005AB1", "2006-09-15", "ROSSI", "MARIO", "A", "2880.0", "1234.5", "24.0", "1", "0",
     "C", "3 componenti"},
    {"A001012005AB2", "2006-09-16", "D'ANGELO", "ADA", "A", "4800.5", "0", "31.5", "0", "1", "L",
     "1 componente"},
    {"A001012005AB3", "", "VERDI", "<b>PIO</b> & C.", "B", "", "", "", "1", "0", "", ""}};

const QTemporaryDir& cartella() {
    static QTemporaryDir dir;
    static const bool pronta = [] {
        QImage stemma(16, 16, QImage::Format_RGB32);
        stemma.fill(Qt::blue);
        return stemma.save(dir.filePath("stemma.png"));
    }();
    (void)pronta;
    return dir;
}

void applicazione() {
    static int argc = 1;
    static char nome[] = "fuzz_report";
    static char* argv[] = {nome, nullptr};
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    applicazione();
    std::string testo(reinterpret_cast<const char*>(data), size);
    ui::ReportRequest r;
    r.file = cartella().filePath("VD_Fuzz.rpt").toStdString();
    r.title = "Elenco <Completo> & \"Altro\"";
    r.formulas = {"PuntoRaccolta=\"ALFA - AB\"", "Comune=\"ALFA\"", "PuntoLavoro=\"AB\""};
    r.columns = kColonne;
    r.rows = kRighe;
    const std::size_t righe = testo.find("\n%%righe\n");
    if (righe != std::string::npos) {
        std::size_t cella = 0, da = righe + 9;
        while (da <= testo.size() && cella < kRighe.size() * kColonne.size()) {
            const std::size_t fine = std::min(testo.find('\n', da), testo.size());
            r.rows[cella / kColonne.size()][cella % kColonne.size()] = testo.substr(da, fine - da);
            ++cella;
            da = fine + 1;
        }
        testo.resize(righe);
    }
    try {
        gui::Impaginazione imp(
            reports::Componi(reports::LeggiDefinizione(testo), r, "15/09/2006"), "15/09/2006");
        for (int n = 0; n < kPagine && !imp.completa(); ++n) imp.avanza();
        if (imp.completa()) {
            gui::SalvaPdf(imp, cartella().filePath("VD_Fuzz.pdf"));
        } else {
            QImage foglio(200, 283, QImage::Format_RGB32);
            QPainter p(&foglio);
            p.scale(0.25, 0.25);
            imp.disegna(p, 0);
        }
    } catch (const reports::DefinizioneErrata&) {
        // Refused with its reason: the expected outcome for a definition beyond the limits.
    }
    return 0;
}
