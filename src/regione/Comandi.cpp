#include "regione/Comandi.h"

#include <QApplication>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <optional>

#include "qt/ReportEngine.h"
#include "regione/Duplicati.h"
#include "regione/Importazione.h"
#include "regione/Riepilogo.h"
#include "regione/Verifica.h"
#include "rules/Date.h"

namespace regione {

namespace fs = std::filesystem;

const char* const kUso =
    "Uso:\n"
    "  vendral-regione importa [--db DB] FILE|CARTELLA...\n"
    "      importa gli archivi inviati dai Comuni; ogni file sostituisce quanto inviato\n"
    "      prima dallo stesso comune e punto di raccolta; di una cartella si importano i\n"
    "      file .mdb\n"
    "  vendral-regione riepilogo [--db DB] [--csv FILE] [--xlsx FILE] [--pdf FILE]\n"
    "      fabbisogno regionale per Comune, con i totali della Regione; senza --csv lo\n"
    "      mostra come tabella\n"
    "  vendral-regione duplicati [--db DB] [--csv FILE]\n"
    "      richiedenti presenti in più domande (per codice fiscale) e componenti dei\n"
    "      nuclei con lo stesso nome e la stessa data di nascita in comuni diversi\n"
    "  vendral-regione verifica [--db DB] [--csv FILE]\n"
    "      ricalcola ogni domanda importata con le regole del bando e le date del bando del\n"
    "      suo invio, ed elenca quelle la cui fascia, ammissibilità o contributo richiesto\n"
    "      memorizzati differiscono dalle regole\n"
    "  vendral-regione --help\n"
    "      mostra questo aiuto\n"
    "\n"
    "DB è il file del database della Regione (predefinito: Regione.db nella cartella\n"
    "corrente, cifrato come gli archivi dei Comuni) oppure l'indirizzo di un server\n"
    "PostgreSQL (postgresql://utente@server:porta/database).\n"
    "\n"
    "Stato di uscita: 0 riuscito, 1 file rifiutati o errore, 2 uso errato; per verifica,\n"
    "0 nessuna domanda diversa dalle regole, 1 domande diverse o non verificate.\n";

namespace {

struct ErroreUso : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Richiesta {
    std::string comando;
    std::string db = "Regione.db";
    std::map<std::string, std::string> file;  // "--csv", "--xlsx", "--pdf" -> path
    std::vector<std::string> argomenti;
};

Richiesta Leggi(const std::vector<std::string>& args) {
    static const std::map<std::string, std::vector<std::string>> kOpzioni = {
        {"importa", {"--db"}},
        {"riepilogo", {"--db", "--csv", "--xlsx", "--pdf"}},
        {"duplicati", {"--db", "--csv"}},
        {"verifica", {"--db", "--csv"}}};
    if (args.empty()) throw ErroreUso("manca il comando");
    Richiesta r;
    r.comando = args[0];
    const auto opzioni = kOpzioni.find(r.comando);
    if (opzioni == kOpzioni.end()) throw ErroreUso("comando sconosciuto: " + r.comando);
    bool soloFile = false;
    bool dbDato = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (soloFile || !a.starts_with("-") || a == "-") {
            if (r.comando != "importa") throw ErroreUso("argomento inatteso: " + a);
            r.argomenti.push_back(a);
            continue;
        }
        if (a == "--") {
            soloFile = true;
            continue;
        }
        const std::size_t uguale = a.find('=');
        const std::string nome = a.substr(0, uguale);
        if (std::find(opzioni->second.begin(), opzioni->second.end(), nome) ==
            opzioni->second.end())
            throw ErroreUso("opzione sconosciuta per " + r.comando + ": " + nome);
        std::string valore;
        if (uguale != std::string::npos) {
            valore = a.substr(uguale + 1);
        } else if (i + 1 < args.size()) {
            valore = args[++i];
        } else {
            throw ErroreUso("manca il valore di " + nome);
        }
        if (valore.empty()) throw ErroreUso("manca il valore di " + nome);
        const bool ripetuta = nome == "--db" ? std::exchange(dbDato, true) : r.file.count(nome);
        if (ripetuta) throw ErroreUso("opzione ripetuta: " + nome);
        (nome == "--db" ? r.db : r.file[nome]) = valore;
    }
    if (r.comando == "importa" && r.argomenti.empty())
        throw ErroreUso("indicare i file da importare");
    return r;
}

// A folder stands for its .mdb files, by name.
std::vector<std::string> FileDaImportare(const std::vector<std::string>& argomenti) {
    std::vector<std::string> r;
    for (const std::string& a : argomenti) {
        std::error_code ec;
        if (!fs::is_directory(a, ec)) {
            r.push_back(a);
            continue;
        }
        std::vector<std::string> contenuto;
        for (const fs::directory_entry& e : fs::directory_iterator(a, ec)) {
            std::string estensione = e.path().extension().string();
            std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            if (estensione == ".mdb" && e.is_regular_file(ec)) contenuto.push_back(e.path());
        }
        if (contenuto.empty()) r.push_back(a);  // refused on its own line: not a file
        std::sort(contenuto.begin(), contenuto.end());
        r.insert(r.end(), contenuto.begin(), contenuto.end());
    }
    return r;
}

// The progress of an import, drawn on one line of the terminal.
class Barra {
public:
    Barra(std::ostream& out, bool attiva, std::size_t file)
        : out_(out), attiva_(attiva), n_(file) {}

    void mostra(std::size_t indice, double frazione, const std::string& nome) {
        if (!attiva_) return;
        constexpr int kLarghezza = 30;
        const double tutto = (static_cast<double>(indice) + frazione) / static_cast<double>(n_);
        const int pieni = static_cast<int>(tutto * kLarghezza);
        out_ << "\r\033[K[" << std::string(static_cast<std::size_t>(pieni), '#')
             << std::string(static_cast<std::size_t>(kLarghezza - pieni), '.') << "] "
             << static_cast<int>(tutto * 100) << "%  " << indice + 1 << "/" << n_ << "  " << nome
             << std::flush;
    }
    // Clears the bar before a line of results.
    void pulisci() {
        if (attiva_) out_ << "\r\033[K";
    }

private:
    std::ostream& out_;
    bool attiva_;
    std::size_t n_;
};

std::string Esito(const Invio& i) {
    std::string r = "importato (comune " + i.codComune + ", punto di raccolta " + i.puntoLavoro +
                    ", " + std::to_string(i.domande) + (i.domande == 1 ? " domanda" : " domande");
    if (i.sostituito) r += "; sostituisce l'invio precedente";
    if (i.componentiSenzaDomanda > 0)
        r += "; " + std::to_string(i.componentiSenzaDomanda) +
             " righe del nucleo senza domanda non importate";
    return r + ")";
}

int Importa(const Richiesta& r, const Ambiente& a) {
    const std::vector<std::string> file = FileDaImportare(r.argomenti);
    const std::unique_ptr<Motore> m = ApriMotore(r.db, true);
    Barra barra(a.out, a.terminale, file.size());
    // The next two files are copied, opened and checked (the key derivation of an archive is
    // the costliest step), each on a thread of its own, while the current one loads.
    constexpr std::size_t kAnticipo = 2;
    std::deque<std::future<std::unique_ptr<FileInviato>>> pronti;
    std::size_t avviati = 0;
    const auto anticipa = [&] {
        while (avviati < file.size() && pronti.size() < kAnticipo + 1) {
            pronti.push_back(std::async(std::launch::async, [percorso = file[avviati]] {
                return std::make_unique<FileInviato>(percorso);
            }));
            ++avviati;
        }
    };
    std::size_t importati = 0, rifiutati = 0;
    // The closing line; files not examined are named only when the import stopped early.
    const auto riassunto = [&](std::optional<std::size_t> nonEsaminati) {
        a.out << "Importati " << importati << " file su " << file.size() << "; rifiutati "
              << rifiutati;
        if (nonEsaminati) a.out << "; non esaminati " << *nonEsaminati;
        a.out << ".\n";
    };
    for (std::size_t k = 0; k < file.size(); ++k) {
        if (a.interrotto()) {
            // Every file loaded so far stays imported; the copies being prepared are removed
            // as their threads end.
            barra.pulisci();
            if (importati > 0) m->dopoImportazione();
            a.err << "Importazione interrotta dall'operatore.\n";
            riassunto(file.size() - k);
            return 1;
        }
        const std::string nome = fs::path(file[k]).filename().string();
        barra.mostra(k, 0, nome);
        anticipa();
        std::future<std::unique_ptr<FileInviato>> questo = std::move(pronti.front());
        pronti.pop_front();
        try {
            const Invio invio =
                questo.get()->carica(*m, a.adesso(), [&](std::int64_t f, std::int64_t t) {
                    barra.mostra(k, t > 0 ? static_cast<double>(f) / static_cast<double>(t) : 1,
                                 nome);
                });
            barra.pulisci();
            a.out << file[k] << ": " << Esito(invio) << '\n';
            ++importati;
        } catch (const Rifiuto& e) {
            barra.pulisci();
            a.out << file[k] << ": rifiutato: " << e.what() << '\n';
            ++rifiutati;
        } catch (const std::exception& e) {
            // The Region's database, or this computer, failed: the next files would too.
            barra.pulisci();
            a.out << file[k] << ": non importato\n";
            a.err << "Importazione interrotta: " << e.what() << '\n';
            riassunto(file.size() - k - 1);
            return 1;
        }
    }
    if (importati > 0) m->dopoImportazione();
    riassunto(std::nullopt);
    return rifiutati > 0 ? 1 : 0;
}

// Writes a file through a temporary name beside it, renamed over it once complete.
void ScriviFile(const std::string& percorso,
                const std::function<void(const std::string&)>& scrivi) {
    const std::string provvisorio = percorso + ".parziale";
    try {
        scrivi(provvisorio);
        fs::rename(provvisorio, percorso);
    } catch (const std::exception& e) {
        std::error_code ignorato;
        fs::remove(provvisorio, ignorato);
        throw std::runtime_error("impossibile scrivere il file " + percorso + " (" + e.what() +
                                 ")");
    }
}

void ScriviTesto(const std::string& percorso, const std::function<void(std::ostream&)>& scrivi) {
    ScriviFile(percorso, [&](const std::string& p) {
        std::ofstream f(p, std::ios::binary);
        if (f) scrivi(f);
        f.close();
        if (!f) throw std::runtime_error("scrittura non riuscita");
    });
}

// Reports are laid out by Qt, without a display.
std::unique_ptr<QApplication> ApplicazioneQt() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    static int argc = 1;
    static char nome[] = "vendral-regione";
    static char* argv[] = {nome, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

int Riepiloga(const Richiesta& r, const Ambiente& a) {
    const std::unique_ptr<Motore> m = ApriMotore(r.db, false);
    std::vector<RigaRiepilogo> comuni;
    const RigaRiepilogo totale =
        LeggiRiepilogo(*m, [&](const RigaRiepilogo& c) { comuni.push_back(c); });
    const auto opzione = [&](const char* nome) -> std::optional<std::string> {
        const auto it = r.file.find(nome);
        if (it == r.file.end()) return std::nullopt;
        return it->second;
    };
    if (const auto csv = opzione("--csv")) {
        ScriviTesto(*csv, [&](std::ostream& o) { ScriviCsvRiepilogo(o, comuni, totale); });
        a.out << "Riepilogo scritto in " << *csv << ".\n";
    } else {
        ScriviTabellaRiepilogo(a.out, comuni, totale);
    }
    const std::string definizione = a.cartellaProgramma + "/VD_Regione.rpt";
    if (const auto xlsx = opzione("--xlsx")) {
        const ui::ReportRequest req = RichiestaRiepilogo(definizione, comuni, totale, true);
        ScriviFile(*xlsx,
                   [&](const std::string& p) { gui::EsportaXlsx(req, QString::fromStdString(p)); });
        a.out << "Foglio di calcolo scritto in " << *xlsx << ".\n";
    }
    if (const auto pdf = opzione("--pdf")) {
        const auto app = ApplicazioneQt();
        ui::ReportRequest req = RichiestaRiepilogo(definizione, comuni, totale, false);
        req.printDate = rules::FormattaDataMemorizzata(a.adesso());
        ScriviFile(*pdf,
                   [&](const std::string& p) { gui::StampaPdf(req, QString::fromStdString(p)); });
        a.out << "Stampa PDF scritta in " << *pdf << ".\n";
    }
    return 0;
}

int CercaDuplicati(const Richiesta& r, const Ambiente& a) {
    const std::unique_ptr<Motore> m = ApriMotore(r.db, false);
    const auto csv = r.file.find("--csv");
    if (csv == r.file.end()) {
        ScriviDuplicati(*m, a.out, nullptr);
        return 0;
    }
    ScriviTesto(csv->second, [&](std::ostream& o) { ScriviDuplicati(*m, a.out, &o); });
    a.out << "\nRichiedenti scritti in " << csv->second << ".\n";
    return 0;
}

int VerificaDomande(const Richiesta& r, const Ambiente& a) {
    const std::unique_ptr<Motore> m = ApriMotore(r.db, false);
    const auto csv = r.file.find("--csv");
    ConteggiVerifica conta;
    if (csv == r.file.end()) {
        conta = ScriviVerifica(*m, a.out, nullptr);
    } else {
        ScriviTesto(csv->second, [&](std::ostream& o) { conta = ScriviVerifica(*m, a.out, &o); });
        a.out << "Differenze scritte in " << csv->second << ".\n";
    }
    return conta.diverse > 0 || conta.nonVerificate > 0 ? 1 : 0;
}

}  // namespace

int Esegui(const std::vector<std::string>& argomenti, const Ambiente& a) {
    if (std::find_if(argomenti.begin(), argomenti.end(), [](const std::string& s) {
            return s == "--help" || s == "-h";
        }) != argomenti.end()) {
        a.out << kUso;
        return 0;
    }
    Richiesta r;
    try {
        r = Leggi(argomenti);
    } catch (const ErroreUso& e) {
        a.err << "vendral-regione: " << e.what() << "\n\n" << kUso;
        return 2;
    }
    try {
        if (r.comando == "importa") return Importa(r, a);
        if (r.comando == "riepilogo") return Riepiloga(r, a);
        if (r.comando == "verifica") return VerificaDomande(r, a);
        return CercaDuplicati(r, a);
    } catch (const std::exception& e) {
        a.err << "vendral-regione: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace regione
