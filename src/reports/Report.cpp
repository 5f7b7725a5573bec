#include "reports/Report.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iterator>
#include <set>
#include <stdexcept>

#include "reports/Definizione.h"
#include "reports/Riempimento.h"
#include "rules/Date.h"
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

// Every household member with the descriptions of its relationship (the applicant's list for the
// first position, the members' list for the others) and of its profession; a code that no list
// describes stands for itself.
const char* const kNucleo =
    "select n.NumRepertorio, n.ProgrNucleo, n.CognomeNome, n.CodParent, "
    "coalesce(case when n.ProgrNucleo = 1 then r.DescriParent else a.DescriParent end, "
    "n.CodParent) as DescriParent, n.DataNascita, n.CodProfes, "
    "coalesce(p.DescriProfes, n.CodProfes) as DescriProfes, n.RedditoEur "
    "from NucleoFam as n "
    "left join qryParentRichied as r on r.CodParent = n.CodParent "
    "left join qryParentNoRichied as a on a.CodParent = n.CodParent "
    "left join Tab_Professione as p on p.CodProfes = n.CodProfes "
    "order by n.NumRepertorio, n.ProgrNucleo";

// The household members of the applications among the rows of the request.
void leggiNucleo(store::Database& db, ui::ReportRequest& r) {
    const auto colonna = std::find(r.columns.begin(), r.columns.end(), "NumRepertorio");
    if (colonna == r.columns.end()) return;
    const auto c = static_cast<std::size_t>(colonna - r.columns.begin());
    std::set<std::string> numeri;
    for (const auto& riga : r.rows) numeri.insert(riga[c]);
    store::Statement s = db.prepare(kNucleo);
    for (int k = 0; k < s.columnCount(); ++k) r.memberColumns.push_back(s.columnName(k));
    while (s.step()) {
        if (!numeri.contains(s.value(0).toText())) continue;
        std::vector<std::string>& membro = r.members.emplace_back();
        for (int k = 0; k < s.columnCount(); ++k) membro.push_back(s.value(k).toText());
    }
}

}  // namespace

void Report::setFormula(int n, const std::string& text) {
    const auto numero = static_cast<std::size_t>(n);
    if (Formulas.size() <= numero) Formulas.resize(numero + 1);
    Formulas[numero] = text;
}

bool Report::Avvia(store::RowSource& rows, const std::string& sql) {
    return invia(
        [&rows, &sql](ui::ReportRequest& r) {
            r.sql = sql;
            r.columns = rows.columns();
            const int colonne = static_cast<int>(r.columns.size());
            r.rows.reserve(static_cast<std::size_t>(rows.recordCount()));
            for (int i = 0; i < rows.recordCount(); ++i) {
                std::vector<std::string>& riga = r.rows.emplace_back();
                riga.reserve(r.columns.size());
                for (int k = 0; k < colonne; ++k) riga.push_back(rows.valueAt(i, k).toText());
            }
        },
        &rows.database());
}

bool Report::Avvia(std::vector<std::string> colonne, std::vector<std::vector<std::string>> righe) {
    return invia(
        [&colonne, &righe](ui::ReportRequest& r) {
            r.columns = std::move(colonne);
            r.rows = std::move(righe);
        },
        nullptr);
}

bool Report::invia(const std::function<void(ui::ReportRequest&)>& righe,
                   store::Database* archivio) {
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
        const ui::Ports& porte = screen_.ports();
        if (porte.reports == nullptr)
            throw std::runtime_error("nessun motore di stampa disponibile");
        if (porte.clock == nullptr) throw std::runtime_error("nessun orologio disponibile");
        r.printDate = rules::FormattaData(porte.clock->now().date);
        if (archivio != nullptr &&
            SezioniModello(CaricaDefinizione(ReportFileName).corpo).contains("nucleo"))
            leggiNucleo(*archivio, r);
        porte.reports->start(r);
        return true;
    } catch (const std::exception& e) {
        screen_.message("Impossibile stampare il report " + nome + ":\r\n" + e.what(),
                        ui::Buttons::OK, ui::Icon::Exclamation);
        return false;
    }
}

}  // namespace reports
