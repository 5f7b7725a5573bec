#include "regione/Importazione.h"

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "regione/Duplicati.h"
#include "store/DbError.h"
#include "store/Text.h"

namespace regione {

namespace fs = std::filesystem;

namespace {

constexpr int kErrCorrotto = 11;  // the engine's "database disk image is malformed"
constexpr int kErrNonDb = 26;     // "file is encrypted or is not a database"
constexpr std::size_t kPagina = 1024;

const char* const kNonArchivio = "non è un archivio di Vendral 2005";
const char* const kDanneggiato = "l'archivio è danneggiato";

// Why a file the engine would not open is not an archive. An archive is encrypted: whole
// pages of bytes that look random. Such a file that does not open with the program's password
// has another one, unless its first page was damaged, which the engine cannot tell apart.
std::string MotivoNonApribile(const std::string& percorso, const store::DbError& e) {
    if (e.number() == kErrCorrotto) return kDanneggiato;
    if (e.number() != kErrNonDb) return "impossibile aprire il file (" + e.description() + ")";
    std::error_code ec;
    const std::uintmax_t dimensione = fs::file_size(percorso, ec);
    if (ec || dimensione == 0) return std::string(kNonArchivio) + " (il file è vuoto)";
    std::array<char, kPagina> inizio{};
    std::ifstream(percorso, std::ios::binary).read(inizio.data(), inizio.size());
    if (std::string_view(inizio.data(), 16) == std::string_view("SQLite format 3\0", 16))
        return std::string(kNonArchivio) + " (è un database non cifrato)";
    std::array<bool, 256> visti{};
    for (const char c : inizio) visti[static_cast<unsigned char>(c)] = true;
    const auto diversi = std::count(visti.begin(), visti.end(), true);
    if (dimensione % kPagina == 0 && diversi >= 200)
        return "l'archivio è cifrato con un'altra password (o è danneggiato all'inizio)";
    return kNonArchivio;
}

// The file is read from a copy in a private folder: the municipality's file is never opened
// for writing, may be read-only, and cannot change during the import.
class CopiaPrivata {
public:
    explicit CopiaPrivata(const std::string& origine) {
        std::error_code ec;
        const fs::file_status stato = fs::status(origine, ec);
        if (!fs::exists(stato)) throw Rifiuto("il file non esiste");
        // A folder with archives stands for them on the command line; this one has none.
        if (fs::is_directory(stato)) throw Rifiuto("la cartella non contiene archivi .mdb");
        if (!fs::is_regular_file(stato)) throw Rifiuto("non è un file");
        std::string modello = (fs::temp_directory_path() / "vendral-regione-XXXXXX").string();
        if (mkdtemp(modello.data()) == nullptr)
            throw std::runtime_error("impossibile creare una cartella temporanea in " +
                                     fs::temp_directory_path().string());
        cartella_ = modello;
        percorso_ = (cartella_ / "archivio.mdb").string();
        if (!fs::copy_file(origine, percorso_, ec)) {
            std::error_code ignorato;
            fs::remove_all(cartella_, ignorato);
            throw Rifiuto("impossibile leggere il file (" +
                          (ec == std::errc::permission_denied ? std::string("accesso negato")
                                                              : ec.message()) +
                          ")");
        }
    }
    ~CopiaPrivata() {
        std::error_code ignorato;
        fs::remove_all(cartella_, ignorato);
    }
    CopiaPrivata(const CopiaPrivata&) = delete;
    CopiaPrivata& operator=(const CopiaPrivata&) = delete;

    const std::string& percorso() const { return percorso_; }

private:
    fs::path cartella_;
    std::string percorso_;
};

void VerificaIntegrita(store::Database& archivio) {
    store::Statement st = archivio.prepare("PRAGMA integrity_check");
    if (!st.step() || st.value(0).toText() != "ok")
        throw Rifiuto(std::string(kDanneggiato) + " (controllo di integrità non superato)");
}

// Column names are matched as the engine does, without regard to case.
std::string Minuscolo(std::string nome) {
    std::transform(nome.begin(), nome.end(), nome.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return nome;
}

// Every table and column the Region reads must be there.
void VerificaStruttura(store::Database& archivio) {
    for (const Tabella* t : Tabelle()) {
        std::vector<std::string> presenti;
        store::Statement st = archivio.prepare("PRAGMA table_info(" + t->nome + ")");
        while (st.step()) presenti.push_back(Minuscolo(st.value(1).toText()));
        if (presenti.empty())
            throw Rifiuto(std::string(kNonArchivio) + " (manca la tabella " + t->nome + ")");
        for (const Colonna& c : t->dallArchivio()) {
            if (std::find(presenti.begin(), presenti.end(), Minuscolo(c.nome)) == presenti.end())
                throw Rifiuto(std::string(kNonArchivio) + " (manca la colonna " + c.nome +
                              " della tabella " + t->nome + ")");
        }
    }
}

std::string Elenco(const std::vector<Colonna>& colonne) {
    std::string r;
    for (const Colonna& c : colonne) r += (r.empty() ? "" : ", ") + c.nome;
    return r;
}

std::size_t Posizione(const Tabella& t, const std::string& nome) {
    const std::vector<std::string> nomi = t.nomi();
    return static_cast<std::size_t>(std::find(nomi.begin(), nomi.end(), nome) - nomi.begin());
}

// The row of a statement over the archive's columns of t, converted into the Region's row
// (the Region's own columns left null). dove names the row in a refusal.
void LeggiRiga(const store::Statement& st, const Tabella& t, Riga& riga,
               const std::function<std::string()>& dove) {
    int col = 0;
    for (std::size_t i = 0; i < t.colonne.size(); ++i) {
        const Colonna& c = t.colonne[i];
        if (!c.archivio) continue;
        const store::Value v = st.value(col++);
        std::optional<store::Value> convertito = Converti(v, c.tipo);
        if (!convertito) {
            throw Rifiuto("valore non valido nel campo " + c.nome + " " + dove() + " (" +
                          v.toText().substr(0, 40) + ")");
        }
        riga[i] = std::move(*convertito);
    }
}

struct Configurazione {
    Riga riga;  // in the Region's columns
    std::string codComune;
    std::string puntoLavoro;
};

Configurazione LeggiConfigurazione(store::Database& archivio) {
    const Tabella& t = TabConfigurazione();
    store::Statement st =
        archivio.prepare("SELECT " + Elenco(t.dallArchivio()) + " FROM Configurazione");
    Configurazione cfg;
    int righe = 0;
    while (st.step()) {
        if (++righe > 1) throw Rifiuto("l'archivio ha più di una riga di configurazione");
        cfg.riga.assign(t.colonne.size(), store::Value());
        LeggiRiga(st, t, cfg.riga, [] { return std::string("della configurazione"); });
    }
    if (righe == 0) throw Rifiuto("nella configurazione manca il codice del comune");
    cfg.codComune = cfg.riga[Posizione(t, "CodComune")].toText();
    cfg.puntoLavoro = cfg.riga[Posizione(t, "Punto_lavoro")].toText();
    if (cfg.codComune.empty()) throw Rifiuto("nella configurazione manca il codice del comune");
    if (cfg.puntoLavoro.empty())
        throw Rifiuto("nella configurazione manca il codice del punto di raccolta");
    // With these lengths no sending's register numbers can begin like another's.
    if (store::utf8Length(cfg.codComune) != 6)
        throw Rifiuto("il codice del comune " + cfg.codComune + " non è di sei caratteri");
    if (store::utf8Length(cfg.puntoLavoro) != 2)
        throw Rifiuto("il codice del punto di raccolta " + cfg.puntoLavoro +
                      " non è di due caratteri");
    return cfg;
}

std::int64_t Conta(store::Database& archivio, const std::string& sql) {
    store::Statement st = archivio.prepare(sql);
    st.step();
    return st.value(0).toInt();
}

// The sending's figures for the regional statement, summed while its applications load.
struct Totali {
    std::int64_t domande = 0, ammissibili = 0, fasciaA = 0, fasciaB = 0, fabbisognoCent = 0;
};

Totali CaricaDomande(store::Database& archivio, Motore& m, const Configurazione& cfg,
                     const Avanzamento& avanzamento) {
    const Tabella& t = TabDomanda();
    const std::int64_t totale = avanzamento ? Conta(archivio, "SELECT count(*) FROM Domanda") : 0;
    const std::size_t iNumero = Posizione(t, "NumRepertorio");
    const std::size_t iOk = Posizione(t, "FlagDomandaOK");
    const std::size_t iFascia = Posizione(t, "Fascia");
    const std::size_t iRichiesto = Posizione(t, "ContribRichiesto");
    const std::string prefisso = PrefissoRepertorio(cfg.codComune, cfg.puntoLavoro);

    store::Statement st = archivio.prepare("SELECT " + Elenco(t.dallArchivio()) + " FROM Domanda");
    const std::unique_ptr<Caricamento> carico = m.carica(t);
    Riga riga(t.colonne.size());
    riga[Posizione(t, "CodComune")] = cfg.codComune;
    riga[Posizione(t, "Punto_lavoro")] = cfg.puntoLavoro;
    Totali tot;
    while (st.step()) {
        LeggiRiga(st, t, riga, [&] {
            return "della domanda " +
                   (riga[iNumero].isNull() ? "senza numero di repertorio" : riga[iNumero].toText());
        });
        const store::Value& numero = riga[iNumero];
        if (numero.isNull()) throw Rifiuto("una domanda non ha numero di repertorio");
        if (!numero.toText().starts_with(prefisso)) {
            throw Rifiuto("il numero di repertorio " + numero.toText() +
                          " non corrisponde al comune " + cfg.codComune +
                          " e al punto di raccolta " + cfg.puntoLavoro);
        }
        ++tot.domande;
        if (riga[iOk].toText() == "1") {
            ++tot.ammissibili;
            if (riga[iFascia].toText() == "A") ++tot.fasciaA;
            if (riga[iFascia].toText() == "B") ++tot.fasciaB;
            tot.fabbisognoCent += std::llround(riga[iRichiesto].toDouble() * 100);
        }
        carico->riga(riga);
        if (avanzamento && tot.domande % 1000 == 0) avanzamento(tot.domande, totale);
    }
    carico->fine();
    if (avanzamento) avanzamento(tot.domande, totale);
    return tot;
}

// The household rows of the file's applications.
std::int64_t CaricaNucleo(store::Database& archivio, Motore& m, const Configurazione& cfg) {
    const Tabella& t = TabNucleoFam();
    store::Statement st = archivio.prepare(
        "SELECT " + Elenco(t.dallArchivio()) +
        " FROM NucleoFam n WHERE EXISTS (SELECT 1 FROM Domanda d WHERE d.NumRepertorio = "
        "n.NumRepertorio)");
    const std::unique_ptr<Caricamento> carico = m.carica(t);
    Riga riga(t.colonne.size());
    riga[Posizione(t, "CodComune")] = cfg.codComune;
    riga[Posizione(t, "Punto_lavoro")] = cfg.puntoLavoro;
    const std::size_t iNumero = Posizione(t, "NumRepertorio");
    std::int64_t n = 0;
    while (st.step()) {
        LeggiRiga(st, t, riga,
                  [&] { return "del nucleo della domanda " + riga[iNumero].toText(); });
        carico->riga(riga);
        ++n;
    }
    carico->fine();
    return n;
}

void Sostituisci(Motore& m, const Configurazione& cfg, Invio& invio) {
    const Riga chiave = {cfg.codComune, cfg.puntoLavoro};
    m.interroga("SELECT count(*) FROM Configurazione WHERE CodComune = ? AND Punto_lavoro = ?",
                chiave, [&](const Riga& r) { invio.sostituito = r[0].toInt() > 0; });
    for (const char* tabella : {"NucleoFam", "Domanda", "Configurazione"}) {
        m.esegui(
            std::string("DELETE FROM ") + tabella + " WHERE CodComune = ? AND Punto_lavoro = ?",
            chiave);
    }
}

}  // namespace

store::Database ApriEstrazione(const std::string& percorso) {
    try {
        return store::Database::open(percorso);
    } catch (const store::DbError& e) {
        throw Rifiuto(MotivoNonApribile(percorso, e));
    }
}

std::string PrefissoRepertorio(const std::string& codComune, const std::string& puntoLavoro) {
    return codComune + "2005" + puntoLavoro;
}

bool Utf8Valido(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = store::utf8Decode(s, i);
        if (!c || c->code == 0) return false;
        i += c->length;
    }
    return true;
}

std::optional<store::Value> Converti(const store::Value& v, Tipo tipo) {
    if (v.isNull()) return v;
    switch (tipo) {
        case Tipo::Testo: {
            std::string t = v.toText();
            if (!Utf8Valido(t)) return std::nullopt;
            return store::Value(std::move(t));
        }
        case Tipo::Intero: {
            if (v.isInteger()) return v;
            if (v.isReal()) {
                const double d = v.toDouble();
                if (d != std::trunc(d) || std::fabs(d) > 9e15) return std::nullopt;
                return store::Value(static_cast<std::int64_t>(d));
            }
            const std::string t = v.toText();
            if (t.empty()) return store::Value();
            std::int64_t n = 0;
            const auto [fine, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
            if (ec != std::errc() || fine != t.data() + t.size()) return std::nullopt;
            return store::Value(n);
        }
        case Tipo::Decimale: {
            if (v.isInteger()) return store::Value(static_cast<double>(v.toInt()));
            double d = 0;
            if (v.isReal()) {
                d = v.toDouble();
            } else {
                const std::string t = v.toText();
                if (t.empty()) return store::Value();
                const auto [fine, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
                if (ec != std::errc() || fine != t.data() + t.size()) return std::nullopt;
            }
            if (!std::isfinite(d)) return std::nullopt;
            return store::Value(d);
        }
    }
    return std::nullopt;
}

struct FileInviato::Dati {
    std::string nome;  // the file's name, recorded with the sending
    CopiaPrivata copia;
    store::Database archivio;
    Configurazione cfg;
    std::int64_t senzaDomanda = 0;

    explicit Dati(const std::string& percorso)
        : nome(fs::path(percorso).filename().string()),
          copia(percorso),
          archivio(ApriEstrazione(copia.percorso())) {}
};

FileInviato::FileInviato(const std::string& percorso) {
    auto d = std::make_unique<Dati>(percorso);
    try {
        VerificaIntegrita(d->archivio);
        VerificaStruttura(d->archivio);
        d->cfg = LeggiConfigurazione(d->archivio);
        d->senzaDomanda = Conta(d->archivio,
                                "SELECT count(*) FROM NucleoFam n WHERE NOT EXISTS (SELECT 1 FROM "
                                "Domanda d WHERE d.NumRepertorio = n.NumRepertorio)");
    } catch (const store::DbError& e) {
        throw Rifiuto(std::string(kDanneggiato) + " (" + e.description() + ")");
    }
    d_ = std::move(d);
}

FileInviato::~FileInviato() = default;

Invio FileInviato::carica(Motore& m, const std::string& adesso, const Avanzamento& avanzamento) {
    Configurazione& cfg = d_->cfg;
    Invio invio;
    invio.codComune = cfg.codComune;
    invio.puntoLavoro = cfg.puntoLavoro;
    invio.componentiSenzaDomanda = d_->senzaDomanda;
    m.inizia();
    try {
        Sostituisci(m, cfg, invio);
        const Totali tot = CaricaDomande(d_->archivio, m, cfg, avanzamento);
        invio.domande = tot.domande;
        invio.componenti = CaricaNucleo(d_->archivio, m, cfg);
        SegnaDoppi(m, cfg.codComune, cfg.puntoLavoro);
        const Tabella& t = TabConfigurazione();
        cfg.riga[Posizione(t, "NomeFile")] = d_->nome;
        cfg.riga[Posizione(t, "DataImportazione")] = adesso;
        cfg.riga[Posizione(t, "NumDomande")] = tot.domande;
        cfg.riga[Posizione(t, "NumAmmissibili")] = tot.ammissibili;
        cfg.riga[Posizione(t, "NumFasciaA")] = tot.fasciaA;
        cfg.riga[Posizione(t, "NumFasciaB")] = tot.fasciaB;
        cfg.riga[Posizione(t, "FabbisognoCent")] = tot.fabbisognoCent;
        m.esegui(Inserimento(t), cfg.riga);
        m.conferma();
    } catch (const store::DbError& e) {
        // The archive failed while being read: a damage the integrity check did not see.
        m.annulla();
        throw Rifiuto(std::string(kDanneggiato) + " (" + e.description() + ")");
    } catch (...) {
        m.annulla();
        throw;
    }
    return invio;
}

}  // namespace regione
