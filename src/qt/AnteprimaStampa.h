#pragma once
// The print preview: shows the first page as soon as it is laid out and lays out the rest
// while the operator looks; pages through, zooms, prints, saves as PDF and exports the rows
// to a spreadsheet.
#include <QDialog>
#include <memory>

#include "qt/ReportEngine.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;

namespace gui {

class AnteprimaStampa : public QDialog {
    Q_OBJECT

public:
    AnteprimaStampa(std::unique_ptr<Impaginazione> impaginazione, ui::ReportRequest richiesta,
                    QWidget* parent);
    ~AnteprimaStampa() override;

protected:
    // The fitting scales follow the size of the visible area.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void impagina();
    void mostra();
    double zoom() const;
    void cambiaZoom(int passo);
    // Lays out what is left with a cancellable progress box; false when cancelled.
    bool completa();
    void stampa();
    void salvaPdf();
    void esportaXlsx();
    void errore(const QString& motivo);

    std::unique_ptr<Impaginazione> imp_;
    ui::ReportRequest richiesta_;
    int pagina_ = 0;
    QTimer* timer_;
    QScrollArea* area_;
    QLabel* foglio_;
    QSpinBox* numero_;
    QLabel* totale_;
    QComboBox* scala_;
    QProgressBar* avanzamento_;
    QPushButton* annulla_;
};

}  // namespace gui
