// Vendral 2005: the desktop program, or the scenario runner with --scenario.
#include <QApplication>
#include <QDate>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTranslator>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/Activities.h"
#include "application/Spiega.h"
#include "qt/Binder.h"
#include "qt/QtPorts.h"
#include "qt/ReportEngine.h"
#include "script/Runner.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace {

const char* const kUso =
    "Uso:\n"
    "  vendral [--data-dir CARTELLA]\n"
    "      avvia il programma; l'archivio sta in CARTELLA (altrimenti nella cartella\n"
    "      indicata da VENDRAL_DATA_DIR, altrimenti nella cartella dati dell'utente)\n"
    "  vendral --explain NUMERO [--data-dir CARTELLA]\n"
    "      spiega l'esito della domanda memorizzata con questo numero di repertorio e\n"
    "      segnala i risultati memorizzati diversi da quelli delle regole; legge soltanto\n"
    "  vendral --scenario FILE... [--keep CARTELLA]\n"
    "      esegue i file di scenario senza finestre; con --keep conserva in CARTELLA\n"
    "      gli archivi e le stampe di ogni file\n"
    "  vendral --help\n"
    "      mostra questo aiuto\n";

struct Opzioni {
    std::string dataDir;
    bool scenario = false;
    std::vector<std::string> files;
    std::string keepDir;
    std::string spiega;  // register number of --explain
    bool help = false;
    std::string errore;
};

Opzioni leggiOpzioni(int argc, char** argv) {
    Opzioni o;
    for (int i = 1; i < argc && o.errore.empty(); ++i) {
        const std::string arg = argv[i];
        auto valore = [&](std::string& dest) {
            if (i + 1 < argc) {
                dest = argv[++i];
            } else {
                o.errore = "manca il valore di " + arg;
            }
        };
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--data-dir") {
            valore(o.dataDir);
        } else if (arg == "--keep") {
            valore(o.keepDir);
        } else if (arg == "--explain") {
            valore(o.spiega);
        } else if (arg == "--scenario") {
            o.scenario = true;
            while (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
                o.files.emplace_back(argv[++i]);
            }
        } else {
            o.errore = "opzione non riconosciuta: " + arg;
        }
    }
    if (o.errore.empty() && o.scenario && o.files.empty()) o.errore = "nessun file di scenario";
    if (o.errore.empty() && !o.keepDir.empty() && !o.scenario) {
        o.errore = "--keep vale solo con --scenario";
    }
    if (o.errore.empty() && !o.spiega.empty() && o.scenario) {
        o.errore = "--explain e --scenario non vanno insieme";
    }
    return o;
}

std::string cartellaDati(const std::string& opzione) {
    if (!opzione.empty()) return opzione;
    const QString env = qEnvironmentVariable("VENDRAL_DATA_DIR");
    if (!env.isEmpty()) return env.toStdString();
#ifdef _WIN32
    return "C:\\Vendral2005\\Dati";
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
           "/Vendral2005/Dati";
#endif
}

// The system date.
store::Date Oggi() {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

void stampaPdf(const ui::ReportRequest& r, const std::string& pdf) {
    static int argc = 1;
    static char nome[] = "vendral";
    static char* argv[] = {nome, nullptr};
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);  // lives until the runner ends
    }
    gui::StampaPdf(r, QString::fromStdString(pdf));
}

int desktop(int argc, char** argv, const std::string& opzioneDati) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vendral 2005");
    // The screens decide when the program ends, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTranslator traduzioneQt;
    if (traduzioneQt.load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&traduzioneQt);
    }

    const std::string dati = cartellaDati(opzioneDati);
    std::error_code ec;
    std::filesystem::create_directories(
        std::filesystem::path(std::u8string(dati.begin(), dati.end())), ec);
    if (ec) {
        QMessageBox::critical(nullptr, "Attenzione",
                              QString::fromStdString("Impossibile creare la cartella dei dati:\n" +
                                                     dati + "\n" + ui::ErroreDiSistema(ec).what()));
        return 1;
    }

    gui::QtMessages messages;
    gui::SystemClock clock;
    gui::QtFiles files;
    gui::QtBusy busy;
    gui::QtReports reports;
    ui::Program program(ui::Ports{&messages, &clock, &files, &reports, &busy});
    gui::Binder binder(program);
    startup::ModuloVD2005 modulo(
        program, startup::Paths{dati, QCoreApplication::applicationDirPath().toStdString()});
    app::RegistraAttivita(modulo);

    // Ends with status 3 when another program holds the data folder.
    const int esito = modulo.Start();
    if (esito >= 0) return esito;
    if (program.ended()) return 0;
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    const Opzioni o = leggiOpzioni(argc, argv);
    if (!o.errore.empty()) {
        std::cerr << "vendral: " << o.errore << "\n" << kUso;
        return 2;
    }
    if (o.help) {
        std::cout << kUso;
        return 0;
    }
    // Scenarios run without a display: no widget is ever made, and an application object on
    // the offscreen platform only when --keep renders the started reports.
    if (o.scenario) return script::runScenarios(o.files, o.keepDir, std::cout, stampaPdf);
    if (!o.spiega.empty()) {
        const startup::Paths paths{cartellaDati(o.dataDir), ""};
        return application::SpiegaDomanda(paths.archive(), o.spiega, Oggi(), std::cout, std::cerr);
    }
    return desktop(argc, argv, o.dataDir);
}
