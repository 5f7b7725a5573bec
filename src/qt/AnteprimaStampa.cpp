#include "qt/AnteprimaStampa.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "qt/Layouts.h"

namespace gui {

namespace {

const int kScale[] = {50, 75, 100, 125, 150, 200};
// The entries of the zoom list: the two fits, then the scales of kScale.
enum VoceScala : int { kAdattaLarghezza, kPaginaIntera, kPrimaScala };

QPushButton* bottone(const QString& testo, QWidget* parent, const QString& suggerimento = {}) {
    auto* b = new QPushButton(testo, parent);
    b->setAutoDefault(false);
    if (!suggerimento.isEmpty()) b->setToolTip(suggerimento);
    return b;
}

}  // namespace

AnteprimaStampa::AnteprimaStampa(std::unique_ptr<Impaginazione> impaginazione,
                                 ui::ReportRequest richiesta, QWidget* parent)
    : QDialog(parent), imp_(std::move(impaginazione)), richiesta_(std::move(richiesta)) {
    const QString nome = QFileInfo(QString::fromStdString(richiesta_.file)).fileName();
    const QString titolo = QString::fromStdString(imp_->documento().titolo);
    setWindowTitle("Anteprima di stampa - " + (titolo.isEmpty() ? nome : titolo));
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto* barra = new QHBoxLayout;
    auto* indietro = bottone("◀", this, "Pagina precedente");
    numero_ = new QSpinBox(this);
    numero_->setRange(1, 1);
    numero_->setPrefix("Pagina ");
    totale_ = new QLabel(this);
    auto* avanti = bottone("▶", this, "Pagina successiva");
    auto* meno = bottone("−", this, "Riduci");
    scala_ = new QComboBox(this);
    scala_->addItems({"Adatta alla larghezza", "Pagina intera"});
    for (int s : kScale) scala_->addItem(QString::number(s) + "%");
    auto* piu = bottone("+", this, "Ingrandisci");
    auto* stampa = bottone("&Stampa...", this);
    auto* pdf = bottone("Salva &PDF...", this);
    auto* xlsx = bottone("&Esporta Excel...", this);
    auto* chiudi = bottone("&Chiudi", this);
    // The buttons with a sign are narrow, so that the bar fits a screen 1024 wide.
    for (QPushButton* b : {indietro, avanti, meno, piu}) {
        b->setMaximumWidth(b->sizeHint().height() * 2);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{indietro, numero_, totale_, avanti, meno, scala_, piu})
        barra->addWidget(w);
    barra->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{stampa, pdf, xlsx, chiudi})
        barra->addWidget(w);

    area_ = new QScrollArea(this);
    area_->setAlignment(Qt::AlignHCenter);
    area_->setBackgroundRole(QPalette::Dark);
    foglio_ = new QLabel;
    area_->setWidget(foglio_);

    auto* stato = new QHBoxLayout;
    avanzamento_ = new QProgressBar(this);
    avanzamento_->setFormat("Impaginazione %p%");
    annulla_ = bottone("&Annulla", this, "Interrompe l'impaginazione e chiude l'anteprima");
    stato->addWidget(avanzamento_);
    stato->addWidget(annulla_);

    auto* colonna = new QVBoxLayout(this);
    colonna->addLayout(barra);
    colonna->addWidget(area_, 1);
    colonna->addLayout(stato);

    connect(indietro, &QPushButton::clicked, this, [this] { numero_->setValue(pagina_); });
    connect(avanti, &QPushButton::clicked, this, [this] { numero_->setValue(pagina_ + 2); });
    connect(numero_, &QSpinBox::valueChanged, this, [this](int v) {
        pagina_ = v - 1;
        mostra();
    });
    connect(meno, &QPushButton::clicked, this, [this] { cambiaZoom(-1); });
    connect(piu, &QPushButton::clicked, this, [this] { cambiaZoom(+1); });
    connect(scala_, &QComboBox::currentIndexChanged, this, [this] { mostra(); });
    connect(stampa, &QPushButton::clicked, this, [this] { this->stampa(); });
    connect(pdf, &QPushButton::clicked, this, [this] { salvaPdf(); });
    connect(xlsx, &QPushButton::clicked, this, [this] { esportaXlsx(); });
    connect(chiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(annulla_, &QPushButton::clicked, this, &QDialog::reject);

    area_->viewport()->installEventFilter(this);
    timer_ = new QTimer(this);
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, [this] { impagina(); });
    timer_->start();
    impagina();
    // As large as a page reads well, no larger than the screen.
    placeWindow(*this, QSize(1000, 760), parent);
}

AnteprimaStampa::~AnteprimaStampa() = default;

// Lays out pages for a short while, then lets the operator act.
void AnteprimaStampa::impagina() {
    QElapsedTimer t;
    t.start();
    while (!imp_->completa() && t.elapsed() < 40) imp_->avanza();
    const int pagine = imp_->pagine();
    numero_->setMaximum(std::max(1, pagine));
    const auto totali = std::max<std::size_t>(1, imp_->unitaTotali());
    avanzamento_->setValue(static_cast<int>(100 * imp_->unitaPosate() / totali));
    if (imp_->completa()) {
        timer_->stop();
        avanzamento_->hide();
        annulla_->hide();
        totale_->setText(QString("di %1").arg(pagine));
        mostra();  // the footer now knows the number of pages
    } else {
        totale_->setText(QString("di %1...").arg(pagine));
        if (foglio_->pixmap().isNull()) mostra();
    }
}

bool AnteprimaStampa::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::Resize &&
        scala_->currentIndex() < kPrimaScala && !foglio_->pixmap().isNull()) {
        mostra();
    }
    return QDialog::eventFilter(watched, event);
}

double AnteprimaStampa::zoom() const {
    const QSizeF carta = imp_->formato();
    const double largo = area_->viewport()->width() - 24;
    const double alto = area_->viewport()->height() - 24;
    switch (scala_->currentIndex()) {
        case kAdattaLarghezza:
            return largo / carta.width();
        case kPaginaIntera:
            return std::min(largo / carta.width(), alto / carta.height());
        default:
            return kScale[scala_->currentIndex() - kPrimaScala] / 100.0;
    }
}

void AnteprimaStampa::cambiaZoom(int passo) {
    const double attuale = zoom() * 100;
    int scelta = -1;
    if (passo > 0) {
        for (int i = 0; i < static_cast<int>(std::size(kScale)) && scelta < 0; ++i)
            if (kScale[i] > attuale + 1) scelta = i;
    } else {
        for (int i = static_cast<int>(std::size(kScale)) - 1; i >= 0 && scelta < 0; --i)
            if (kScale[i] < attuale - 1) scelta = i;
    }
    if (scelta >= 0) scala_->setCurrentIndex(scelta + kPrimaScala);
}

void AnteprimaStampa::mostra() {
    if (pagina_ >= imp_->pagine()) return;
    const double z = zoom();
    const double dpr = devicePixelRatioF();
    const QSizeF carta = imp_->formato() * z;
    QImage img((carta * dpr).toSize(), QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(z, z);
    imp_->disegna(p, pagina_);
    p.end();
    foglio_->setPixmap(QPixmap::fromImage(img));
    foglio_->resize(carta.toSize());
}

bool AnteprimaStampa::completa() {
    if (imp_->completa()) return true;
    QProgressDialog attesa("Impaginazione in corso...", "Annulla", 0, 100, this);
    attesa.setWindowTitle("Attenzione");
    attesa.setWindowModality(Qt::WindowModal);
    attesa.setMinimumDuration(300);
    const bool fatto = Completa(*imp_, [&](std::size_t fatte, std::size_t tutte) {
        attesa.setValue(static_cast<int>(100 * fatte / std::max<std::size_t>(1, tutte)));
        QApplication::processEvents();
        return !attesa.wasCanceled();
    });
    impagina();
    return fatto;
}

void AnteprimaStampa::errore(const QString& motivo) {
    const QString nome = QFileInfo(QString::fromStdString(richiesta_.file)).fileName();
    // Plain text: a reason may quote a file name, which a rich text would read as HTML.
    QMessageBox box(QMessageBox::Warning, "Attenzione",
                    "Impossibile stampare il report " + nome + ":\n" + motivo, QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void AnteprimaStampa::stampa() {
    // The painter starts at the margins' corner, as on the PDF writer.
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setPageLayout(imp_->layoutPagina());
    stampante.setDocName(windowTitle());
    QPrintDialog scelta(&stampante, this);
    scelta.setMinMax(1, std::max(1, imp_->pagine()));
    if (scelta.exec() != QDialog::Accepted || !completa()) return;
    int da = 1, a = imp_->pagine();
    if (stampante.printRange() == QPrinter::PageRange) {
        da = std::max(1, stampante.fromPage());
        a = std::min(a, stampante.toPage());
    } else if (stampante.printRange() == QPrinter::CurrentPage) {
        da = a = pagina_ + 1;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool riuscita = DisegnaPagine(*imp_, stampante, da, a);
    QApplication::restoreOverrideCursor();
    if (!riuscita || stampante.printerState() == QPrinter::Error)
        errore("la stampante " + stampante.printerName() + " non ha accettato la stampa.");
}

void AnteprimaStampa::salvaPdf() {
    QString nome = QString::fromStdString(imp_->documento().titolo);
    if (nome.isEmpty()) nome = QFileInfo(QString::fromStdString(richiesta_.file)).baseName();
    const QString file = QFileDialog::getSaveFileName(this, "Salva come PDF", nome + ".pdf",
                                                      "Documenti PDF (*.pdf)");
    if (file.isEmpty() || !completa()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        SalvaPdf(*imp_, file);
        QApplication::restoreOverrideCursor();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        errore(QString::fromStdString(e.what()));
    }
}

void AnteprimaStampa::esportaXlsx() {
    QString nome = QString::fromStdString(imp_->documento().titolo);
    if (nome.isEmpty()) nome = QFileInfo(QString::fromStdString(richiesta_.file)).baseName();
    const QString file = QFileDialog::getSaveFileName(this, "Esporta in un foglio di calcolo",
                                                      nome + ".xlsx", "Cartelle di Excel (*.xlsx)");
    if (file.isEmpty()) return;
    try {
        EsportaXlsx(richiesta_, file);
    } catch (const std::exception& e) {
        errore(QString::fromStdString(e.what()));
    }
}

}  // namespace gui
