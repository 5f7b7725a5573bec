#pragma once
// The report engine of the desktop program: a composed report laid out page by page (each
// page its own small text documents, the rows of list tables drawn directly, so that long lists
// stay fast), drawn on any paint device,
// saved as PDF or its rows exported as a spreadsheet; and the report port that shows a started
// report in the print preview.
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/Modello.h"
#include "ui/Ports.h"

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace gui {

class Grafici;
class RigheTabella;

// Pages are measured in units of 1/96 inch; a painter for another device is scaled first. Every
// page keeps its margins of at least 15 mm (a definition asking for less gets 15 mm): the
// heading, body and footer are laid out inside them and nothing is drawn outside.
class Impaginazione {
public:
    Impaginazione(reports::Documento documento, QString dataStampa);
    ~Impaginazione();
    Impaginazione(const Impaginazione&) = delete;
    Impaginazione& operator=(const Impaginazione&) = delete;

    // Lays out one more page; false once every unit has its page.
    bool avanza();
    bool completa() const { return completa_; }
    // Units placed so far and in all, for progress.
    std::size_t unitaPosate() const { return prossima_; }
    std::size_t unitaTotali() const { return documento_.unita.size(); }

    int pagine() const;
    const QPageLayout& layoutPagina() const { return layout_; }
    QSizeF formato() const;     // paper size in units
    QRectF areaStampa() const;  // inside the margins, in units from the paper's corner
    const reports::Documento& documento() const { return documento_; }

    // Draws page n (0-based) with its heading, body and footer ("Pagina X di Y" once the
    // layout is complete) on a painter whose units are 1/96 inch at the paper's corner, clipped
    // to the margins.
    void disegna(QPainter& p, int n) const;

private:
    struct Pezzo;
    struct Pagina;
    QRectF contenuto() const;  // where the heading, body and footer go, inside areaStampa()
    std::unique_ptr<QTextDocument> nuovoDocumento(const QString& html) const;
    QString htmlPagina(std::size_t da, std::size_t a) const;
    std::vector<double> fini(QTextDocument& d, std::size_t da, std::size_t a) const;
    // Places units from da on one page, before limite; returns where the page ends.
    std::size_t posa(std::size_t da, std::size_t limite, std::vector<Pezzo>& pezzi);

    reports::Documento documento_;
    QString dataStampa_;
    QPageLayout layout_;
    std::unique_ptr<QTextDocument> intestazione_;
    double larghezza_ = 0;  // body width
    double altezza_ = 0;    // body height
    std::vector<Pagina> pagine_;
    std::size_t prossima_ = 0;
    std::size_t ultimaCapienza_ = 40;
    bool completa_ = false;
    std::shared_ptr<Grafici> grafici_;
    std::unique_ptr<RigheTabella> righe_;
};

// Lays out every page; progress(done, total) returning false stops it. False when stopped.
bool Completa(Impaginazione& imp, const std::function<bool(std::size_t, std::size_t)>& progresso);

// Draws pages da to a (1-based) on a PDF writer or a printer, whose painter starts at the corner
// of the paint rect of its page layout: the report's own area inside the margins is mapped onto
// that rect, scaled down only when the device's is smaller (other paper, wider margins of the
// printer). False when the device refuses to draw or to add a page.
bool DisegnaPagine(const Impaginazione& imp, QPagedPaintDevice& dispositivo, int da, int a);

// Writes every page to a PDF file; throws std::runtime_error on a write failure.
void SalvaPdf(Impaginazione& imp, const QString& file);

// Writes the rows of a report to an .xlsx sheet: the columns as headings, amounts and
// counts as numbers, dates and flags in their display form. Throws std::runtime_error.
void EsportaXlsx(const ui::ReportRequest& r, const QString& file);

// Renders a started report straight to a PDF file, as "Salva PDF..." of the preview does;
// throws std::runtime_error.
void StampaPdf(const ui::ReportRequest& r, const QString& file);

// Lays out a started report, dated as the request says.
std::unique_ptr<Impaginazione> Impagina(const ui::ReportRequest& r);

// Shows each started report in the print preview, one after another.
class QtReports : public ui::ReportPort {
public:
    void start(const ui::ReportRequest& r) override;
};

}  // namespace gui
