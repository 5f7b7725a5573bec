// The complete list of 10,000 applications to PDF: rows read from qryStampaDomande, the
// definition filled, the pages laid out and written. Beside it, for scale, LibreOffice
// converting an HTML table of the same rows to PDF (when soffice is installed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

#include "GeneraArchivio.h"
#include "qt/ReportEngine.h"
#include "store/Database.h"
#include "store/RowSource.h"

namespace {

ui::ReportRequest elencoCompleto(int n) {
    static QTemporaryDir dir;
    const std::string archivio = dir.filePath(QString("a%1.db").arg(n)).toStdString();
    if (!std::filesystem::exists(archivio)) bench::GeneraArchivio(archivio, n);
    store::Database db = store::Database::open(archivio);
    store::RowSource rs(db, "Select * from qryStampaDomande  order by val(mid(NumRepertorio,13)) ");
    rs.requery();
    ui::ReportRequest r;
    r.file = std::string(VENDRAL_REPORTS_DIR) + "/VD_EleDom.rpt";
    r.title = "Elenco Completo Domande";
    r.formulas = {"PuntoRaccolta=\"ALFA - AB\""};
    r.columns = rs.columns();
    for (int i = 0; i < rs.recordCount(); ++i) {
        auto& riga = r.rows.emplace_back();
        for (std::size_t k = 0; k < r.columns.size(); ++k)
            riga.push_back(rs.valueAt(i, static_cast<int>(k)).toText());
    }
    return r;
}

void ensureApplication() {
    static int argc = 1;
    static char name[] = "vendral_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

void ElencoCompletoPdf(benchmark::State& state) {
    ensureApplication();
    const ui::ReportRequest r = elencoCompleto(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    int pagine = 0;
    QElapsedTimer t;
    double modello = 0, impaginazione = 0, scrittura = 0;  // milliseconds per phase
    for (auto _ : state) {
        t.start();
        reports::Documento doc =
            reports::Componi(reports::CaricaDefinizione(r.file), r, "15/09/2006");
        modello += static_cast<double>(t.restart());
        gui::Impaginazione imp(std::move(doc), "15/09/2006");
        gui::Completa(imp, nullptr);
        impaginazione += static_cast<double>(t.restart());
        gui::SalvaPdf(imp, dir.filePath("elenco.pdf"));
        scrittura += static_cast<double>(t.elapsed());
        pagine = imp.pagine();
    }
    const auto volte = static_cast<double>(state.iterations());
    state.counters["ms_modello"] = modello / volte;
    state.counters["ms_impaginazione"] = impaginazione / volte;
    state.counters["ms_scrittura"] = scrittura / volte;
    state.counters["pagine"] = pagine;
    state.counters["ms_per_pagina"] = benchmark::Counter(
        static_cast<double>(pagine) * static_cast<double>(state.iterations()) / 1000.0,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ElencoCompletoPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same rows as one HTML table, converted by LibreOffice Writer, for scale.
void LibreOfficeHtmlPdf(benchmark::State& state) {
    if (QProcess::execute("soffice", {"--version"}) != 0) {
        state.SkipWithError("soffice non installato");
        return;
    }
    const ui::ReportRequest r = elencoCompleto(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    QFile html(dir.filePath("elenco.html"));
    html.open(QIODevice::WriteOnly);
    html.write("<html><body><h1>Elenco Completo Domande</h1><table border=\"1\">\n");
    const char* const colonne[] = {"NumRepertorio",   "CognomeRich",      "NomeRich",
                                   "CodFiscRich",     "DataDomanda",      "Fascia",
                                   "FlagDomandaOK",   "CanoneTotaleEur",  "RedditoAccessoEur",
                                   "IncidenzaCanRed", "ContribRichiesto", "ContribConcesso"};
    std::vector<std::size_t> indici;
    for (const char* c : colonne)
        indici.push_back(static_cast<std::size_t>(std::find(r.columns.begin(), r.columns.end(), c) -
                                                  r.columns.begin()));
    for (const auto& riga : r.rows) {
        std::string tr = "<tr>";
        for (std::size_t k = 0; k < indici.size(); ++k)
            tr += "<td>" + reports::FormaVisibile(colonne[k], riga[indici[k]]) + "</td>";
        html.write((tr + "</tr>\n").c_str());
    }
    html.write("</table></body></html>\n");
    html.close();
    for (auto _ : state) {
        QProcess::execute("soffice",
                          {"--headless", "-env:UserInstallation=file://" + dir.path() + "/profilo",
                           "--convert-to", "pdf", "--outdir", dir.path(), html.fileName()});
    }
    QProcess info;
    info.start("pdfinfo", {dir.filePath("elenco.pdf")});
    info.waitForFinished();
    const QString testo = QString::fromUtf8(info.readAllStandardOutput());
    const int p = testo.indexOf("Pages:");
    const int pagine = p < 0 ? 0 : testo.mid(p + 6).section('\n', 0, 0).trimmed().toInt();
    state.counters["pagine"] = pagine;
    state.counters["ms_per_pagina"] = benchmark::Counter(
        static_cast<double>(pagine) * static_cast<double>(state.iterations()) / 1000.0,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(LibreOfficeHtmlPdf)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();  // the work is done by another process

}  // namespace
