#include "qt/RigheTabella.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <map>

namespace gui {

namespace {

// A table shows at most this many shapes of row; more go through the text document.
constexpr std::size_t kForme = 8;

QTextTable* primaTabella(QTextDocument& d) {
    for (QTextFrame* f : d.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f)) return t;
    return nullptr;
}

// A font that draws at the size it has on a 96 dpi device on a painter scaled to 1/96 inch.
QFont perDispositivo(const QFont& f, const QPaintDevice* d) {
    QFont r(f);
    const int dpi = d != nullptr ? d->logicalDpiY() : 96;
    if (f.pointSizeF() > 0 && dpi > 0) r.setPointSizeF(f.pointSizeF() * 96.0 / dpi);
    return r;
}

}  // namespace

std::vector<RigheTabella::Linea> RigheTabella::lineeCella(const QString& testo,
                                                          const QFontMetricsF& m,
                                                          double larghezza) {
    const double tutta = m.horizontalAdvance(testo);
    if (tutta <= larghezza) return {{testo, tutta}};
    qsizetype entra = 1;  // the longest start that fits, at least one character
    for (qsizetype basso = 1, alto = testo.size() - 1; basso <= alto;) {
        const qsizetype mezzo = (basso + alto) / 2;
        if (m.horizontalAdvance(testo.left(mezzo)) <= larghezza) {
            entra = mezzo;
            basso = mezzo + 1;
        } else {
            alto = mezzo - 1;
        }
    }
    const qsizetype spazio =
        entra < testo.size() && testo.at(entra) == ' ' ? entra : testo.lastIndexOf(' ', entra - 1);
    const qsizetype taglio = spazio > 0 ? spazio : entra;
    const QString prima = testo.left(taglio).trimmed();
    const QString seconda = m.elidedText(testo.mid(taglio).trimmed(), Qt::ElideRight, larghezza);
    return {{prima, m.horizontalAdvance(prima)}, {seconda, m.horizontalAdvance(seconda)}};
}

// The layout of the last row of the first table of d, whose header is testa high.
std::optional<RigheTabella::Forma> RigheTabella::leggiForma(QTextDocument& d, double testa,
                                                            QPaintDevice& misura) {
    QTextTable* tabella = primaTabella(d);
    if (tabella == nullptr) return std::nullopt;
    QAbstractTextDocumentLayout* lay = d.documentLayout();
    const QTextTableFormat ft = tabella->format();
    const int r = tabella->rows() - 1;
    Forma f;
    int righeCampione = 1;
    f.alto = f.bordo = 1e9;
    for (int c = 0; c < tabella->columns(); ++c) {
        const QTextTableCell cella = tabella->cellAt(r, c);
        if (cella.column() != c) continue;  // covered by a cell spanning columns
        const QTextTableCellFormat fc = cella.format().toTableCellFormat();
        const QTextBlock b = cella.firstCursorPosition().block();
        const QRectF rb = lay->blockBoundingRect(b);
        const QTextCharFormat fcar =
            b.begin().atEnd() ? b.charFormat() : b.begin().fragment().charFormat();
        Colonna col;
        const double bordo =
            fc.hasProperty(QTextFormat::TableCellLeftBorder) ? fc.leftBorder() : ft.border();
        const double sx =
            fc.hasProperty(QTextFormat::TableCellLeftPadding) ? fc.leftPadding() : ft.cellPadding();
        const double dx = fc.hasProperty(QTextFormat::TableCellRightPadding) ? fc.rightPadding()
                                                                             : ft.cellPadding();
        col.testo = rb.left();
        col.larghezza = rb.width();
        col.sinistra = rb.left() - sx - bordo / 2;
        col.destra = rb.right() + dx + bordo / 2;
        col.allinea = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        col.carattere = fcar.font().resolve(d.defaultFont());
        if (!fcar.hasProperty(QTextFormat::FontFamilies))
            col.carattere.setFamilies(d.defaultFont().families());
        col.metrica = QFontMetricsF(col.carattere, &misura);
        col.colore = fcar.foreground().style() == Qt::NoBrush ? QColor(Qt::black)
                                                              : fcar.foreground().color();
        col.sfondo = fc.background();
        col.bordo = bordo;
        const QBrush pennello = fc.hasProperty(QTextFormat::TableCellLeftBorderBrush)
                                    ? fc.leftBorderBrush()
                                    : ft.borderBrush();
        col.coloreBordo = pennello.style() == Qt::NoBrush ? QColor(Qt::darkGray) : pennello.color();
        if (b.layout() != nullptr && b.layout()->lineCount() > 0) {
            f.interlinea = std::max(f.interlinea, b.layout()->lineAt(0).height());
            righeCampione = std::max(righeCampione, b.layout()->lineCount());
        }
        f.alto = std::min(f.alto, rb.top() - testa);
        const double sopra =
            fc.hasProperty(QTextFormat::TableCellTopPadding) ? fc.topPadding() : ft.cellPadding();
        const double bordoSopra =
            fc.hasProperty(QTextFormat::TableCellTopBorder) ? fc.topBorder() : ft.border();
        f.bordo = std::min(f.bordo, rb.top() - sopra - bordoSopra / 2 - testa);
        f.colonne.push_back(std::move(col));
    }
    f.altezza = d.size().height() - testa - (righeCampione - 1) * f.interlinea;
    return f;
}

RigheTabella::RigheTabella(const reports::Documento& documento, const Fabbrica& nuovo,
                           QPaintDevice& misura)
    : documento_(documento),
      nuovo_(nuovo),
      misura_(misura),
      tabelle_(documento.tabelle.size()),
      stato_(documento.tabelle.size(), Stato::DaPreparare),
      esempi_(documento.tabelle.size()),
      righe_(documento.unita.size()) {
    // Rows by table; a table with a row of other elements is left to the text document.
    std::vector<std::map<std::string, int>> forme(documento.tabelle.size());
    for (std::size_t k = 0; k < documento.unita.size(); ++k) {
        const int t = documento.unita[k].tabella;
        if (t < 0 || stato_[static_cast<std::size_t>(t)] == Stato::NonDiretta) continue;
        const auto tt = static_cast<std::size_t>(t);
        std::optional<reports::RigaSemplice> r =
            reports::LeggiRigaSemplice(documento.unita[k].html);
        if (!r || documento.tabelle[tt].testa.empty()) {
            stato_[tt] = Stato::NonDiretta;
            continue;
        }
        const auto [it, nuova] =
            forme[tt].try_emplace(r->forma, static_cast<int>(esempi_[tt].size()));
        if (nuova) esempi_[tt].push_back(k);
        if (esempi_[tt].size() > kForme) stato_[tt] = Stato::NonDiretta;
        righe_[k].forma = it->second;
        righe_[k].testi = std::move(r->celle);
    }
}

// A table's header and shapes of row are laid out when its first row is placed, so that a
// report of many tables costs its time page by page.
void RigheTabella::prepara(std::size_t t) const {
    if (stato_[t] != Stato::DaPreparare) return;
    const reports::Tabella& tab = documento_.tabelle[t];
    Tabella& tt = tabelle_[t];
    tt.testa = nuovo_(QString::fromStdString(tab.apertura + tab.testa + "</table>"));
    tt.altezzaTesta = tt.testa->size().height();
    if (const QTextTable* tabella = primaTabella(*tt.testa))
        tt.margineSotto = tabella->format().bottomMargin();
    for (const std::size_t k : esempi_[t]) {
        // The header and one row of this shape: the row is what the header leaves.
        const std::unique_ptr<QTextDocument> d = nuovo_(QString::fromStdString(
            tab.apertura + tab.testa + documento_.unita[k].html + "</table>"));
        std::optional<Forma> f = leggiForma(*d, tt.altezzaTesta, misura_);
        if (!f) {
            stato_[t] = Stato::NonDiretta;
            tt = Tabella{};
            return;
        }
        tt.forme.push_back(std::move(*f));
    }
    stato_[t] = Stato::Diretta;
}

RigheTabella::~RigheTabella() = default;

bool RigheTabella::diretta(std::size_t unita) const {
    if (unita >= righe_.size() || righe_[unita].forma < 0) return false;
    const auto t = static_cast<std::size_t>(documento_.unita[unita].tabella);
    prepara(t);
    return stato_[t] == Stato::Diretta;
}

QTextDocument& RigheTabella::testa(int tabella) const {
    return *tabelle_[static_cast<std::size_t>(tabella)].testa;
}

double RigheTabella::altezzaTesta(int tabella) const {
    return tabelle_[static_cast<std::size_t>(tabella)].altezzaTesta;
}

const RigheTabella::Riga& RigheTabella::misurata(std::size_t unita) const {
    const Riga& r = righe_[unita];
    if (r.linee) return r;
    const Forma& f = tabelle_[static_cast<std::size_t>(documento_.unita[unita].tabella)]
                         .forme[static_cast<std::size_t>(r.forma)];
    std::vector<std::vector<Linea>> linee;
    std::size_t quante = 1;
    for (std::size_t c = 0; c < f.colonne.size() && c < r.testi.size(); ++c) {
        const Colonna& col = f.colonne[c];
        linee.push_back(lineeCella(QString::fromStdString(r.testi[c]), col.metrica, col.larghezza));
        quante = std::max(quante, linee.back().size());
    }
    r.linee = std::move(linee);
    r.altezza = f.altezza + static_cast<double>(quante - 1) * f.interlinea;
    return r;
}

double RigheTabella::margineSotto(int tabella) const {
    return tabelle_[static_cast<std::size_t>(tabella)].margineSotto;
}

double RigheTabella::altezza(std::size_t unita) const {
    return misurata(unita).altezza;
}

void RigheTabella::disegna(QPainter& p, std::size_t da, std::size_t a, double y) const {
    if (da >= a) return;
    const Tabella& t = tabelle_[static_cast<std::size_t>(documento_.unita[da].tabella)];
    // Fonts for the painter's device, once per shape and column.
    std::vector<std::vector<QFont>> caratteri;
    for (const Forma& f : t.forme) {
        auto& c = caratteri.emplace_back();
        for (const Colonna& col : f.colonne) c.push_back(perDispositivo(col.carattere, p.device()));
    }
    p.save();
    // Backgrounds, then borders, then texts: few changes of pen and font.
    double riga = y;
    for (std::size_t k = da; k < a; ++k) {
        const Riga& r = misurata(k);
        const Forma& f = t.forme[static_cast<std::size_t>(r.forma)];
        for (const Colonna& col : f.colonne)
            if (col.sfondo.style() != Qt::NoBrush)
                p.fillRect(
                    QRectF(col.sinistra, riga + f.bordo, col.destra - col.sinistra, r.altezza),
                    col.sfondo);
        riga += r.altezza;
    }
    std::vector<QRectF> celle;
    QPen penna(Qt::NoPen);
    const auto traccia = [&] {
        if (celle.empty()) return;
        p.setPen(penna);
        p.drawRects(celle.data(), static_cast<int>(celle.size()));
        celle.clear();
    };
    p.setBrush(Qt::NoBrush);
    riga = y;
    for (std::size_t k = da; k < a; ++k) {
        const Riga& r = misurata(k);
        const Forma& f = t.forme[static_cast<std::size_t>(r.forma)];
        for (const Colonna& col : f.colonne) {
            if (col.bordo <= 0) continue;
            if (penna.color() != col.coloreBordo || penna.widthF() != col.bordo) {
                traccia();
                penna = QPen(col.coloreBordo, col.bordo);
            }
            celle.emplace_back(col.sinistra, riga + f.bordo, col.destra - col.sinistra, r.altezza);
        }
        riga += r.altezza;
    }
    traccia();
    QFont carattere;
    QColor colore;
    riga = y;
    for (std::size_t k = da; k < a; ++k) {
        const Riga& r = misurata(k);
        const auto nf = static_cast<std::size_t>(r.forma);
        const Forma& f = t.forme[nf];
        for (std::size_t c = 0; c < r.linee->size(); ++c) {
            const Colonna& col = f.colonne[c];
            if (carattere != caratteri[nf][c]) {
                carattere = caratteri[nf][c];
                p.setFont(carattere);
            }
            if (colore != col.colore) {
                colore = col.colore;
                p.setPen(colore);
            }
            double base = riga + f.alto + col.metrica.ascent();
            for (const Linea& linea : (*r.linee)[c]) {
                double x = col.testo;
                if (col.allinea & Qt::AlignRight) x += col.larghezza - linea.larghezza;
                if (col.allinea & Qt::AlignHCenter) x += (col.larghezza - linea.larghezza) / 2;
                p.drawText(QPointF(x, base), linea.testo);
                base += f.interlinea;
            }
        }
        riga += r.altezza;
    }
    p.restore();
}

}  // namespace gui
