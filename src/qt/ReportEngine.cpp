#include "qt/ReportEngine.h"

#include <xlsxwriter.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QPieSeries>
#include <QPieSlice>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextObjectInterface>
#include <QTextTable>
#include <algorithm>
#include <charconv>
#include <map>
#include <numeric>
#include <stdexcept>

#include "qt/AnteprimaStampa.h"
#include "qt/RigheTabella.h"
#include "reports/ControlloHtml.h"
#include "reports/Limiti.h"
#include "rules/Numeri.h"

namespace gui {

namespace {

constexpr double kUnitaPerMm = 96.0 / 25.4;
constexpr double kMargineMinimo = 15;  // millimetres on every side of every page
// Millimetres the text keeps from the margins: a glyph may reach a little past the width its
// line was given, a descender below its line.
constexpr double kRespiro = 1;
constexpr double kPiede = 26;        // room for the footer at the bottom of the body
constexpr double kStacco = 6;        // between heading and body
constexpr double kCorpoMinimo = 30;  // millimetres of body the heading must leave
const QChar kSegno(0x2063);          // the text of the blocks that mark where a unit ends

// Layout at 96 dots per inch, whatever the screen.
QPaintDevice& dispositivo96() {
    static QImage immagine = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(3780);
        i.setDotsPerMeterY(3780);
        return i;
    }();
    return immagine;
}

QFont carattere(double pixel) {
    QFont f;
    f.setFamilies({"Nimbus Sans", "Liberation Sans", "Arial", "Helvetica", "DejaVu Sans"});
    f.setPixelSize(static_cast<int>(pixel + 0.5));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont carattereTesto() {
    QFont f = carattere(12);
    f.setPointSizeF(9);
    return f;
}

// The text in lines no wider than largo, broken between words; a word wider than that is broken
// between characters.
QStringList aCapo(const QString& testo, const QFontMetricsF& m, double largo) {
    QStringList righe;
    QString riga;
    for (QString parola : testo.split(' ', Qt::SkipEmptyParts)) {
        if (!riga.isEmpty() && m.horizontalAdvance(riga + ' ' + parola) <= largo) {
            riga += ' ' + parola;
            continue;
        }
        if (!riga.isEmpty()) righe << riga;
        while (parola.size() > 1 && m.horizontalAdvance(parola) > largo) {
            qsizetype n = parola.size() - 1;
            while (n > 1 && m.horizontalAdvance(parola.left(n)) > largo) --n;
            righe << parola.left(n);
            parola = parola.mid(n);
        }
        riga = parola;
    }
    if (!riga.isEmpty()) righe << riga;
    return righe;
}

// Sizes in pixels of the labels of charts: the largest that lets them all be read whole, never
// below the smallest.
constexpr int kEtichettaGrande = 11;
constexpr int kEtichettaPiccola = 8;

}  // namespace

// Draws <img src="grafico:N"> as chart N of the report, other images from the reports folder.
// Those images are loaded here, for every text document of the report: only files the report
// may name (reports::PercorsoImmagine), read once, within limits of bytes and pixels. Anything
// else is not loaded, whatever names it.
class Grafici : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    Grafici(const std::vector<reports::Grafico>& grafici, std::string cartella)
        : grafici_(grafici), cartella_(std::move(cartella)) {}

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
        const QTextImageFormat f = format.toImageFormat();
        QSizeF s(f.width(), f.height());
        if (s.width() <= 0 || s.height() <= 0) {
            const QImage img = immagine(doc, f.name());
            if (s.width() <= 0) s.setWidth(img.isNull() ? 300 : img.width());
            if (s.height() <= 0) s.setHeight(img.isNull() ? 200 : img.height());
        }
        // Never larger than a sheet.
        return s.boundedTo(QSizeF(kLatoMassimo, kLatoMassimo));
    }

    void drawObject(QPainter* p, const QRectF& rect, QTextDocument* doc, int,
                    const QTextFormat& format) override {
        const QString nome = format.toImageFormat().name();
        if (nome.startsWith("grafico:")) {
            bool ok = false;
            const auto n = static_cast<std::size_t>(nome.mid(8).toInt(&ok));
            if (ok && n < grafici_.size()) disegnaGrafico(*p, rect, grafici_[n]);
            return;
        }
        const QImage img = immagine(doc, nome);
        if (!img.isNull()) p->drawImage(rect, img);
    }

    // The image a text document asks for by name; null when it may not or cannot be loaded.
    QImage carica(const QUrl& url) {
        const QString chiave = url.toString();
        if (const auto it = caricate_.find(chiave); it != caricate_.end()) return it->second;
        QImage img = leggi(url);
        pixel_ += static_cast<long long>(img.width()) * img.height();
        caricate_.emplace(chiave, img);
        return img;
    }

private:
    static constexpr double kLatoMassimo = 1200;  // units: more than the long side of A4

    static QImage immagine(QTextDocument* doc, const QString& nome) {
        return doc->resource(QTextDocument::ImageResource, QUrl(nome)).value<QImage>();
    }

    QImage leggi(const QUrl& url) const {
        namespace lim = reports::limiti;
        // Only a relative name: no scheme (file:, http:, qrc:, the charts' grafico:), no host.
        if (!url.isRelative() || !url.host().isEmpty() || url.hasQuery() || url.hasFragment())
            return {};
        std::string percorso;
        try {
            percorso =
                reports::PercorsoImmagine(cartella_, url.path(QUrl::FullyDecoded).toStdString());
        } catch (const reports::DefinizioneErrata&) {
            return {};
        }
        QFile file(QString::fromStdString(percorso));
        if (!file.open(QIODevice::ReadOnly)) return {};
        QByteArray dati = file.read(static_cast<qint64>(lim::kByteImmagine) + 1);
        if (dati.size() > static_cast<qsizetype>(lim::kByteImmagine)) return {};
        QBuffer buffer(&dati);
        QImageReader lettore(&buffer);
        static const QByteArray formati[] = {"png", "jpeg", "jpg", "gif", "bmp"};
        if (std::find(std::begin(formati), std::end(formati), lettore.format()) ==
            std::end(formati))
            return {};
        const QSize s = lettore.size();
        if (!s.isValid() || s.width() > lim::kLatoImmagine || s.height() > lim::kLatoImmagine ||
            pixel_ + static_cast<long long>(s.width()) * s.height() > lim::kPixelImmagini)
            return {};
        return lettore.read();
    }

    // Bars across, one per row, each label on its left, broken over the lines the row has room
    // for, and the count at the bar's end.
    static void disegnaBarre(QPainter& p, const QRectF& rect, const reports::Grafico& g) {
        if (g.voci.empty()) return;
        const double passo = rect.height() / static_cast<double>(g.voci.size());
        const double etichette = rect.width() * 0.55;
        // The largest size at which every label fits its row.
        QFont f;
        std::vector<QStringList> righe;
        for (int pixel = kEtichettaGrande; pixel >= kEtichettaPiccola; --pixel) {
            f = carattere(pixel);
            const QFontMetricsF m(f, &dispositivo96());
            righe.clear();
            bool entrano = true;
            for (const auto& voce : g.voci) {
                righe.push_back(aCapo(QString::fromStdString(voce.first), m, etichette));
                entrano = entrano && righe.back().size() * m.height() <= passo;
            }
            if (entrano) break;
        }
        const QFontMetricsF m(f, &dispositivo96());
        double massimo = 1;
        for (const auto& voce : g.voci) massimo = std::max(massimo, voce.second);
        const double sinistra = rect.left() + etichette + 6;
        const double lungo = rect.right() - sinistra - m.horizontalAdvance("00000") - 4;
        const double spesso = std::min(passo * 0.7, 18.0);
        const auto massimoRighe = static_cast<qsizetype>(std::max(1.0, passo / m.height()));
        p.save();
        p.setFont(f);  // sized in pixels: the same on every device
        p.setPen(QPen(Qt::gray, 0.7));
        p.drawLine(QPointF(sinistra, rect.top()), QPointF(sinistra, rect.bottom()));
        for (std::size_t i = 0; i < g.voci.size(); ++i) {
            const double centro = rect.top() + passo * (static_cast<double>(i) + 0.5);
            QStringList testo = righe[i];
            // Only when even the smallest size leaves no room: the last line that fits is cut.
            if (testo.size() > massimoRighe) {
                const QString resto = testo.mid(massimoRighe - 1).join(' ');
                testo = testo.first(massimoRighe - 1);
                testo << m.elidedText(resto, Qt::ElideRight, etichette);
            }
            p.setPen(Qt::black);
            double base = centro - m.height() * static_cast<double>(testo.size()) / 2 + m.ascent();
            for (const QString& riga : testo) {
                p.drawText(QPointF(rect.left() + etichette - m.horizontalAdvance(riga), base),
                           riga);
                base += m.height();
            }
            const double valore = g.voci[i].second;
            const double fine = lungo * valore / massimo;
            p.fillRect(QRectF(sinistra, centro - spesso / 2, fine, spesso),
                       QColor(0x20, 0x9f, 0xdf));
            p.drawText(QPointF(sinistra + fine + 4, centro + (m.ascent() - m.descent()) / 2),
                       QLocale(QLocale::Italian).toString(valore, 'f', 0));
        }
        p.restore();
    }

    // The entries a chart draws: the largest, in their order, the rest as one.
    static reports::Grafico disegnato(const reports::Grafico& g) {
        const std::size_t massimo = reports::limiti::kVociGrafico;
        if (g.voci.size() <= massimo) return g;
        std::vector<std::size_t> ordine(g.voci.size());
        std::iota(ordine.begin(), ordine.end(), std::size_t{0});
        std::stable_sort(ordine.begin(), ordine.end(), [&](std::size_t a, std::size_t b) {
            return g.voci[a].second > g.voci[b].second;
        });
        std::vector<bool> tenuta(g.voci.size(), false);
        for (std::size_t i = 0; i + 1 < massimo; ++i) tenuta[ordine[i]] = true;
        reports::Grafico d{g.titolo, g.torta, {}};
        double altre = 0;
        for (std::size_t i = 0; i < g.voci.size(); ++i) {
            if (tenuta[i]) {
                d.voci.push_back(g.voci[i]);
            } else {
                altre += g.voci[i].second;
            }
        }
        d.voci.emplace_back("Altre voci", altre);
        return d;
    }

    // The pie on the left, its legend beside it: each slice's colour and its label with the
    // share, whole, broken over lines at the largest size that lets every label fit.
    static void disegnaTorta(QPainter& p, const QRectF& rect, const reports::Grafico& g) {
        QGraphicsScene scena;
        auto* chart = new QChart;
        scena.addItem(chart);
        chart->setAnimationOptions(QChart::NoAnimation);
        chart->setBackgroundVisible(false);
        chart->setMargins(QMargins(0, 0, 0, 0));
        chart->legend()->hide();
        auto* serie = new QPieSeries;
        serie->setPieSize(0.95);
        double totale = 0;
        for (const auto& v : g.voci) totale += v.second;
        QStringList voci;
        for (const auto& [etichetta, valore] : g.voci) {
            if (valore <= 0) continue;
            const QString percento =
                QLocale(QLocale::Italian).toString(totale > 0 ? 100 * valore / totale : 0, 'f', 1);
            voci << QString::fromStdString(etichetta) + " (" + percento + "%)";
            serie->append(voci.back(), valore);
        }
        chart->addSeries(serie);  // the slices take their colours here
        const double lato = std::min(rect.height(), rect.width() * 0.45);
        chart->setGeometry(QRectF(0, 0, lato, lato));
        scena.setSceneRect(QRectF(0, 0, lato, lato));
        scena.render(&p, QRectF(rect.left(), rect.top() + (rect.height() - lato) / 2, lato, lato),
                     QRectF(0, 0, lato, lato));

        const double quadretto = 9;
        const double sinistra = rect.left() + lato + 8;
        const double largo = rect.right() - sinistra - quadretto - 4;
        if (voci.isEmpty() || largo <= 0) return;
        QFont f;
        std::vector<QStringList> righe;
        double alto = 0;
        for (int pixel = kEtichettaGrande; pixel >= kEtichettaPiccola; --pixel) {
            f = carattere(pixel);
            const QFontMetricsF m(f, &dispositivo96());
            righe.clear();
            alto = 0;
            for (const QString& voce : voci) {
                righe.push_back(aCapo(voce, m, largo));
                alto += static_cast<double>(righe.back().size()) * m.height() + 3;
            }
            if (alto <= rect.height()) break;
        }
        const QFontMetricsF m(f, &dispositivo96());
        p.save();
        p.setClipRect(rect, Qt::IntersectClip);
        p.setFont(f);
        double y = rect.top() + std::max(0.0, (rect.height() - alto) / 2);
        const QList<QPieSlice*> fette = serie->slices();
        for (qsizetype i = 0; i < fette.size() && i < static_cast<qsizetype>(righe.size()); ++i) {
            p.fillRect(QRectF(sinistra, y + (m.height() - quadretto) / 2, quadretto, quadretto),
                       fette[i]->brush());
            p.setPen(Qt::black);
            for (const QString& riga : righe[static_cast<std::size_t>(i)]) {
                p.drawText(QPointF(sinistra + quadretto + 4, y + m.ascent()), riga);
                y += m.height();
            }
            y += 3;
        }
        p.restore();
    }

    static void disegnaGrafico(QPainter& p, const QRectF& rect, const reports::Grafico& tutte) {
        const reports::Grafico g = disegnato(tutte);
        if (g.torta) {
            disegnaTorta(p, rect, g);
        } else {
            disegnaBarre(p, rect, g);
        }
    }

    const std::vector<reports::Grafico>& grafici_;
    const std::string cartella_;
    std::map<QString, QImage> caricate_;
    long long pixel_ = 0;  // of the images loaded
};

namespace {

// A text document of the report: its resources come from the report's images alone.
class DocumentoReport : public QTextDocument {
public:
    explicit DocumentoReport(Grafici& grafici) : grafici_(grafici) {}

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type != QTextDocument::ImageResource) return {};
        const QImage img = grafici_.carica(name);
        return img.isNull() ? QVariant() : QVariant(img);
    }

private:
    Grafici& grafici_;
};

// The top margin of what starts a text document.
double margineSopra(QTextDocument& d) {
    const QTextFrame::iterator it = d.rootFrame()->begin();
    if (it.atEnd()) return 0;
    if (const QTextFrame* f = it.currentFrame()) return f->frameFormat().topMargin();
    return it.currentBlock().blockFormat().topMargin();
}

}  // namespace

// A part of a page's body: units laid out in a text document, or rows of a table drawn
// directly under the table's header.
struct Impaginazione::Pezzo {
    double y = 0;
    std::unique_ptr<QTextDocument> corpo;
    int tabella = -1;
    std::size_t da = 0, a = 0;
};

struct Impaginazione::Pagina {
    std::size_t da = 0, a = 0;
    std::vector<Pezzo> pezzi;
};

Impaginazione::Impaginazione(reports::Documento documento, QString dataStampa)
    : documento_(std::move(documento)), dataStampa_(std::move(dataStampa)) {
    auto& m = documento_.margini;
    for (double* lato : {&m.alto, &m.destro, &m.basso, &m.sinistro})
        *lato = std::max(*lato, kMargineMinimo);
    layout_ = QPageLayout(
        QPageSize(QPageSize::A4),
        documento_.orientamento == reports::Orientamento::Orizzontale ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait,
        QMarginsF(m.sinistro, m.alto, m.destro, m.basso), QPageLayout::Millimeter);
    grafici_ = std::make_shared<Grafici>(documento_.grafici, documento_.cartella);
    const QRectF contenuto = this->contenuto();
    larghezza_ = contenuto.width();
    intestazione_ = nuovoDocumento(QString::fromStdString(documento_.intestazione));
    const double testa =
        documento_.intestazione.empty() ? 0 : intestazione_->size().height() + kStacco;
    altezza_ = contenuto.height() - testa - kPiede;
    if (altezza_ < kCorpoMinimo * kUnitaPerMm)
        throw reports::DefinizioneErrata("l'intestazione lascia meno di " +
                                         std::to_string(static_cast<int>(kCorpoMinimo / 10)) +
                                         " cm al corpo della pagina");
    righe_ = std::make_unique<RigheTabella>(
        documento_, [this](const QString& html) { return nuovoDocumento(html); }, dispositivo96());
}

Impaginazione::~Impaginazione() = default;

int Impaginazione::pagine() const {
    return static_cast<int>(pagine_.size());
}

QSizeF Impaginazione::formato() const {
    const QSizeF mm = layout_.fullRect(QPageLayout::Millimeter).size();
    return mm * kUnitaPerMm;
}

QRectF Impaginazione::areaStampa() const {
    const QRectF mm = layout_.paintRect(QPageLayout::Millimeter);
    return {mm.topLeft() * kUnitaPerMm, mm.size() * kUnitaPerMm};
}

QRectF Impaginazione::contenuto() const {
    const double r = kRespiro * kUnitaPerMm;
    return areaStampa().adjusted(r, r, -r, -r);
}

std::unique_ptr<QTextDocument> Impaginazione::nuovoDocumento(const QString& html) const {
    auto d = std::make_unique<DocumentoReport>(*grafici_);
    d->documentLayout()->setPaintDevice(&dispositivo96());
    d->documentLayout()->registerHandler(QTextFormat::ImageObject, grafici_.get());
    d->setDefaultFont(carattereTesto());
    d->setDocumentMargin(0);
    d->setDefaultStyleSheet(QString::fromStdString(documento_.stile));
    d->setTextWidth(larghezza_);
    d->setHtml(html);
    return d;
}

QString Impaginazione::htmlPagina(std::size_t da, std::size_t a) const {
    std::string h;
    const std::string segno = "<p style=\"margin:0px; font-size:1px\">&#x2063;</p>";
    int tabella = -1;
    for (std::size_t k = da; k < a; ++k) {
        const reports::Unita& u = documento_.unita[k];
        if (u.tabella != tabella) {
            if (tabella >= 0) h += "</table>" + segno;
            if (u.tabella >= 0) {
                const reports::Tabella& t = documento_.tabelle[static_cast<std::size_t>(u.tabella)];
                h += t.apertura + t.testa;
            }
            tabella = u.tabella;
        }
        h += u.html;
        if (tabella < 0) h += segno;
    }
    if (tabella >= 0) h += "</table>" + segno;
    return QString::fromStdString(h);
}

// Where each unit of the page ends, in the order of the units.
std::vector<double> Impaginazione::fini(QTextDocument& d, std::size_t da, std::size_t a) const {
    std::vector<double> fini;
    QAbstractTextDocumentLayout* lay = d.documentLayout();
    QTextFrame::iterator it = d.rootFrame()->begin();
    auto prossimoSegno = [&]() {
        while (!it.atEnd()) {
            const QTextBlock b = it.currentBlock();
            ++it;
            if (b.isValid() && b.text() == kSegno) return lay->blockBoundingRect(b).top();
        }
        return 1e12;
    };
    for (std::size_t k = da; k < a;) {
        const int tabella = documento_.unita[k].tabella;
        if (tabella < 0) {
            fini.push_back(prossimoSegno());
            ++k;
            continue;
        }
        std::size_t righe = 0;
        while (k + righe < a && documento_.unita[k + righe].tabella == tabella) ++righe;
        QTextTable* t = nullptr;
        while (!it.atEnd() && t == nullptr) {
            t = qobject_cast<QTextTable*>(it.currentFrame());
            ++it;
        }
        if (t == nullptr) break;
        const int testa = t->rows() - static_cast<int>(righe);
        const double fondo = lay->frameBoundingRect(t).bottom();
        for (std::size_t j = 0; j < righe; ++j) {
            const int riga = testa + static_cast<int>(j) + 1;
            fini.push_back(
                riga < t->rows()
                    ? lay->blockBoundingRect(t->cellAt(riga, 0).firstCursorPosition().block()).top()
                    : fondo);
        }
        // The mark that follows the table ends no unit: the next unit ends at the mark after it.
        prossimoSegno();
        k += righe;
    }
    return fini;
}

std::size_t Impaginazione::posa(std::size_t da, std::size_t limite, std::vector<Pezzo>& pezzi) {
    const auto& unita = documento_.unita;
    double y = 0;
    std::size_t k = da;
    while (k < limite) {
        const int tabella = unita[k].tabella;
        if (righe_->diretta(k)) {
            // The header, then rows while they fit; a row taller than a page is cut.
            double h = righe_->altezzaTesta(tabella);
            std::size_t j = k;
            while (j < limite && unita[j].tabella == tabella &&
                   (y + h + righe_->altezza(j) <= altezza_ || (k == da && j == k))) {
                h += righe_->altezza(j);
                ++j;
            }
            if (j == k) break;
            pezzi.push_back({y, nullptr, tabella, k, j});
            y += h;
            k = j;
            if (k < limite && unita[k].tabella == tabella) break;
            continue;
        }
        // Units up to the next row drawn directly go through a text document.
        std::size_t fine = k + 1;
        while (fine < limite && !righe_->diretta(fine)) ++fine;
        std::size_t prova = std::min(fine, k + std::max<std::size_t>(8, ultimaCapienza_ + 4));
        std::unique_ptr<QTextDocument> d;
        std::vector<double> f;
        std::size_t entrano = 0;
        double stacco = -1;  // from the rows drawn directly above
        while (true) {
            d = nuovoDocumento(htmlPagina(k, prova));
            // A text document drops the top margin of what starts it; after a table it counts.
            if (stacco < 0)
                stacco = !pezzi.empty() && !pezzi.back().corpo
                             ? righe_->margineSotto(pezzi.back().tabella) + margineSopra(*d)
                             : 0;
            f = fini(*d, k, prova);
            entrano = 0;
            while (entrano < f.size() && y + stacco + f[entrano] <= altezza_) ++entrano;
            if (entrano < prova - k || prova == fine) break;
            prova = std::min(fine, k + (prova - k) * 2);
        }
        if (entrano == 0 && k == da) entrano = 1;  // taller than a page: cut at the bottom
        if (entrano == 0) break;
        if (entrano < prova - k) d = nuovoDocumento(htmlPagina(k, k + entrano));
        const double altezza = entrano <= f.size() ? f[entrano - 1] : d->size().height();
        y += stacco;
        pezzi.push_back({y, std::move(d), -1, k, k + entrano});
        y += altezza;
        k += entrano;
        if (k < fine) break;
    }
    return k;
}

bool Impaginazione::avanza() {
    if (completa_) return false;
    const std::size_t n = documento_.unita.size();
    const std::size_t da = prossima_;
    if (da >= n) {
        if (pagine_.empty()) pagine_.push_back({0, 0, {}});
        completa_ = true;
        return false;
    }
    // Units up to the next one that asks for a new page.
    std::size_t limite = da + 1;
    while (limite < n && !documento_.unita[limite].nuovaPagina) ++limite;

    std::vector<Pezzo> pezzi;
    std::size_t fine = posa(da, limite, pezzi);
    // A heading stays with the table rows that follow it.
    std::size_t tenute = fine;
    while (tenute > da + 1 && tenute < limite && documento_.unita[tenute - 1].tabella < 0 &&
           documento_.unita[tenute].tabella >= 0)
        --tenute;
    if (tenute < fine) {
        pezzi.clear();
        fine = posa(da, tenute, pezzi);
    }
    pagine_.push_back({da, fine, std::move(pezzi)});
    prossima_ = fine;
    ultimaCapienza_ = fine - da;
    if (prossima_ >= n) completa_ = true;
    return !completa_;
}

void Impaginazione::disegna(QPainter& p, int n) const {
    if (n < 0 || n >= pagine()) return;
    const QRectF area = contenuto();
    p.save();
    // A table wider than the page, an image or a chart is cut at the margins.
    p.setClipRect(areaStampa(), Qt::IntersectClip);
    p.translate(area.topLeft());
    double y = 0;
    if (!documento_.intestazione.empty()) {
        intestazione_->drawContents(&p);
        y = intestazione_->size().height() + kStacco;
    }
    p.translate(0, y);
    for (const Pezzo& pz : pagine_[static_cast<std::size_t>(n)].pezzi) {
        p.save();
        p.translate(0, pz.y);
        if (pz.corpo) {
            pz.corpo->drawContents(&p, QRectF(0, 0, larghezza_, altezza_ + 1 - pz.y));
        } else {
            righe_->testa(pz.tabella).drawContents(&p);
            righe_->disegna(p, pz.da, pz.a, righe_->altezzaTesta(pz.tabella));
        }
        p.restore();
    }
    p.restore();

    const double basePiede = area.bottom();
    p.save();
    p.setClipRect(areaStampa(), Qt::IntersectClip);
    p.setPen(QPen(Qt::gray, 0.7));
    p.drawLine(QPointF(area.left(), basePiede - 16), QPointF(area.right(), basePiede - 16));
    p.setPen(Qt::black);
    p.setFont(carattere(10));
    const QRectF riga(area.left(), basePiede - 14, larghezza_, 14);
    p.drawText(riga, Qt::AlignLeft | Qt::AlignVCenter, "Stampato il " + dataStampa_);
    const QString totale = completa_ ? QString::number(pagine()) : QStringLiteral("...");
    p.drawText(riga, Qt::AlignRight | Qt::AlignVCenter,
               QString("Pagina %1 di %2").arg(n + 1).arg(totale));
    p.restore();
}

bool Completa(Impaginazione& imp, const std::function<bool(std::size_t, std::size_t)>& progresso) {
    while (!imp.completa()) {
        imp.avanza();
        if (progresso && !progresso(imp.unitaPosate(), imp.unitaTotali())) return false;
    }
    return true;
}

bool DisegnaPagine(const Impaginazione& imp, QPagedPaintDevice& dispositivo, int da, int a) {
    const QRectF area = imp.areaStampa();
    const QSizeF destinazione =
        dispositivo.pageLayout().paintRect(QPageLayout::Millimeter).size() * kUnitaPerMm;
    const double riduzione =
        std::min({1.0, destinazione.width() / area.width(), destinazione.height() / area.height()});
    const double scala = dispositivo.logicalDpiX() / 96.0 * riduzione;
    QPainter p;
    bool riuscita = p.begin(&dispositivo);
    for (int n = da; riuscita && n <= a; ++n) {
        if (n > da) riuscita = dispositivo.newPage();
        p.save();
        p.scale(scala, scala);
        p.translate(-area.topLeft());
        imp.disegna(p, n - 1);
        p.restore();
    }
    if (p.isActive()) riuscita = p.end() && riuscita;
    return riuscita;
}

void SalvaPdf(Impaginazione& imp, const QString& file) {
    Completa(imp, nullptr);
    QPdfWriter pdf(file);
    pdf.setPageLayout(imp.layoutPagina());
    pdf.setResolution(600);
    pdf.setTitle(QString::fromStdString(imp.documento().titolo));
    pdf.setCreator("Vendral 2005");
    if (!DisegnaPagine(imp, pdf, 1, imp.pagine()))
        throw std::runtime_error("impossibile scrivere il file " + file.toStdString());
}

void EsportaXlsx(const ui::ReportRequest& r, const QString& file) {
    const QByteArray nome = file.toUtf8();
    lxw_workbook* libro = workbook_new(nome.constData());
    if (libro == nullptr)
        throw std::runtime_error("impossibile creare il file " + nome.toStdString());
    lxw_worksheet* foglio = workbook_add_worksheet(libro, "Stampa");
    lxw_format* grassetto = workbook_add_format(libro);
    format_set_bold(grassetto);
    lxw_format* importo = workbook_add_format(libro);
    format_set_num_format(importo, rules::kFormatoImporto);
    for (std::size_t c = 0; c < r.columns.size(); ++c)
        worksheet_write_string(foglio, 0, static_cast<lxw_col_t>(c), r.columns[c].c_str(),
                               grassetto);
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        const auto riga = static_cast<lxw_row_t>(i + 1);
        for (std::size_t c = 0; c < r.columns.size() && c < r.rows[i].size(); ++c) {
            const std::string& v = r.rows[i][c];
            const std::string visibile = reports::FormaVisibile(r.columns[c], v);
            const auto col = static_cast<lxw_col_t>(c);
            double x = 0;
            const auto [fine, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
            const bool numerico = !v.empty() && ec == std::errc() && fine == v.data() + v.size();
            // Amounts and counts stay numbers; flags keep "Sì"/"No", codes their leading zeros.
            const bool importoOPercento = visibile.find(',') != std::string::npos;
            if (numerico && (importoOPercento || (visibile == v && (v == "0" || v[0] != '0')))) {
                worksheet_write_number(foglio, riga, col, x, importoOPercento ? importo : nullptr);
            } else if (!visibile.empty()) {
                worksheet_write_string(foglio, riga, col, visibile.c_str(), nullptr);
            }
        }
    }
    worksheet_freeze_panes(foglio, 1, 0);
    if (const lxw_error e = workbook_close(libro); e != LXW_NO_ERROR)
        throw std::runtime_error("impossibile scrivere il file " + nome.toStdString() + " (" +
                                 lxw_strerror(e) + ")");
}

std::unique_ptr<Impaginazione> Impagina(const ui::ReportRequest& r) {
    return std::make_unique<Impaginazione>(
        reports::Componi(reports::CaricaDefinizione(r.file), r, r.printDate),
        QString::fromStdString(r.printDate));
}

void StampaPdf(const ui::ReportRequest& r, const QString& file) {
    SalvaPdf(*Impagina(r), file);
}

void QtReports::start(const ui::ReportRequest& r) {
    AnteprimaStampa anteprima(Impagina(r), r, QApplication::activeWindow());
    anteprima.exec();
}

}  // namespace gui

#include "ReportEngine.moc"
