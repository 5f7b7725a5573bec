#pragma once
// The rows of list tables, drawn straight with a painter instead of through a text document,
// which costs far more per row. A top-level table qualifies when it has a header and every row
// holds plain text only. Each shape of row is laid out once by a text document with the
// report's style; its column edges, alignments, fonts, colours, paddings, backgrounds and
// borders are read from there, so the rows look as the text document would draw them. Texts
// too wide for their cell wrap to a second line, elided at its end.
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "reports/Modello.h"

class QPainter;
class QPaintDevice;
class QTextDocument;

namespace gui {

class RigheTabella {
public:
    // Lays out HTML as the pages do, in units of 1/96 inch.
    using Fabbrica = std::function<std::unique_ptr<QTextDocument>(const QString&)>;

    RigheTabella(const reports::Documento& documento, const Fabbrica& nuovo, QPaintDevice& misura);
    ~RigheTabella();
    RigheTabella(const RigheTabella&) = delete;
    RigheTabella& operator=(const RigheTabella&) = delete;

    // The unit is a table row drawn here.
    bool diretta(std::size_t unita) const;
    // The table's header, drawn above its rows on every page where they go.
    QTextDocument& testa(int tabella) const;
    double altezzaTesta(int tabella) const;
    double margineSotto(int tabella) const;  // below the table, from its style
    double altezza(std::size_t unita) const;
    // Draws rows [da, a), the first with its top at y.
    void disegna(QPainter& p, std::size_t da, std::size_t a, double y) const;

private:
    struct Colonna {
        double sinistra = 0, destra = 0;  // cell edges
        double testo = 0, larghezza = 0;  // where the text goes
        Qt::Alignment allinea = Qt::AlignLeft;
        QFont carattere;
        QFontMetricsF metrica{QFont()};
        QColor colore;
        QBrush sfondo;
        double bordo = 0;
        QColor coloreBordo;
    };
    struct Forma {
        std::vector<Colonna> colonne;
        double altezza = 0;     // a row of one line
        double alto = 0;        // from the row's top to its first line
        double bordo = 0;       // from the row's top to the middle of its top border
        double interlinea = 0;  // from one line to the next
    };
    struct Tabella {
        std::unique_ptr<QTextDocument> testa;
        double altezzaTesta = 0;
        double margineSotto = 0;
        std::vector<Forma> forme;
    };
    struct Linea {
        QString testo;
        double larghezza = 0;
    };
    struct Riga {
        int forma = -1;  // -1: not drawn here
        std::vector<std::string> testi;
        // Each cell's lines, once measured.
        mutable std::optional<std::vector<std::vector<Linea>>> linee;
        mutable double altezza = 0;
    };

    // The lines of a cell's text with their widths: one when it fits, otherwise two, broken
    // after a word when one fits, the second elided.
    static std::vector<Linea> lineeCella(const QString& testo, const QFontMetricsF& m,
                                         double larghezza);
    static std::optional<Forma> leggiForma(QTextDocument& d, double testa, QPaintDevice& misura);
    void prepara(std::size_t tabella) const;
    const Riga& misurata(std::size_t unita) const;

    enum class Stato { DaPreparare, Diretta, NonDiretta };

    const reports::Documento& documento_;
    const Fabbrica nuovo_;
    QPaintDevice& misura_;
    mutable std::vector<Tabella> tabelle_;
    mutable std::vector<Stato> stato_;
    std::vector<std::vector<std::size_t>> esempi_;  // by table: a row of each shape
    std::vector<Riga> righe_;
};

}  // namespace gui
