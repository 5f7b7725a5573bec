#include "reports/Report.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iterator>
#include <stdexcept>

#include "store/RowSource.h"
#include "ui/Screen.h"

namespace reports {

namespace {

// The application forms and the list with right print their own heading. A title left on the
// report object by an earlier list of the same screen stays set, but it must never head one of
// these: an official list under the wrong title is wrong, so their requests carry none.
const char* const kIntestazionePropria[] = {"VD_StaDom.rpt", "VD_EleDomDir.rpt"};

std::string nomeFile(const std::string& percorso) {
    return std::filesystem::path(percorso).filename().string();
}

}  // namespace

void Report::setFormula(int n, const std::string& text) {
    const auto numero = static_cast<std::size_t>(n);
    if (Formulas.size() <= numero) Formulas.resize(numero + 1);
    Formulas[numero] = text;
}

bool Report::Avvia(store::RowSource& rows, const std::string& sql) {
    return invia([&rows, &sql](ui::ReportRequest& r) {
        r.sql = sql;
        r.columns = rows.columns();
        const int colonne = static_cast<int>(r.columns.size());
        r.rows.reserve(static_cast<std::size_t>(rows.recordCount()));
        for (int i = 0; i < rows.recordCount(); ++i) {
            std::vector<std::string>& riga = r.rows.emplace_back();
            riga.reserve(r.columns.size());
            for (int k = 0; k < colonne; ++k) riga.push_back(rows.valueAt(i, k).toText());
        }
    });
}

bool Report::Avvia(std::vector<std::string> colonne, std::vector<std::vector<std::string>> righe) {
    return invia([&colonne, &righe](ui::ReportRequest& r) {
        r.columns = std::move(colonne);
        r.rows = std::move(righe);
    });
}

bool Report::invia(const std::function<void(ui::ReportRequest&)>& righe) {
    const std::string nome = nomeFile(ReportFileName);
    try {
        ui::ReportRequest r;
        r.file = ReportFileName;
        const bool intestazionePropria =
            std::find(std::begin(kIntestazionePropria), std::end(kIntestazionePropria), nome) !=
            std::end(kIntestazionePropria);
        if (!intestazionePropria) r.title = WindowTitle;
        r.formulas = Formulas;
        righe(r);
        ui::ReportPort* motore = screen_.ports().reports;
        if (motore == nullptr) throw std::runtime_error("nessun motore di stampa disponibile");
        motore->start(r);
        return true;
    } catch (const std::exception& e) {
        screen_.message("Impossibile stampare il report " + nome + ":\r\n" + e.what(),
                        ui::Buttons::OK, ui::Icon::Exclamation);
        return false;
    }
}

}  // namespace reports
