#include "reports/Definizione.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "reports/ControlloHtml.h"
#include "reports/Limiti.h"
#include "reports/Riempimento.h"
#include "store/Text.h"

namespace reports {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string> split(std::string_view s, char sep) {
    std::vector<std::string> parts;
    while (true) {
        const std::size_t at = s.find(sep);
        const std::string_view part = trim(s.substr(0, at));
        if (!part.empty()) parts.emplace_back(part);
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

[[noreturn]] void errore(int riga, const std::string& testo) {
    throw DefinizioneErrata("riga " + std::to_string(riga) + ": " + testo);
}

Margini leggiMargini(std::string_view valore, int riga) {
    const std::vector<std::string> parti = split(valore, ' ');
    if (parti.size() != 4)
        errore(riga, "i margini sono quattro numeri (alto destro basso sinistro)");
    double mm[4];
    for (int i = 0; i < 4; ++i) {
        const std::string& p = parti[static_cast<std::size_t>(i)];
        const auto [fine, ec] = std::from_chars(p.data(), p.data() + p.size(), mm[i]);
        if (ec != std::errc() || fine != p.data() + p.size() || !std::isfinite(mm[i]) ||
            mm[i] < 0 || mm[i] > limiti::kMargine)
            errore(riga, "margine non valido: " + Citazione(p) + " (da 0 a " +
                             std::to_string(static_cast<int>(limiti::kMargine)) + " mm)");
    }
    return {mm[0], mm[1], mm[2], mm[3]};
}

// The header as read so far: the keys given once, and where the margins were set.
struct Lettura {
    std::vector<std::string> chiavi;
    int rigaMargini = 0;
};

void leggiChiave(Definizione& d, Lettura& l, std::string_view chiave, std::string_view valore,
                 int riga) {
    if (chiave != "distribuzione") {
        if (std::find(l.chiavi.begin(), l.chiavi.end(), chiave) != l.chiavi.end())
            errore(riga, "chiave ripetuta \"" + Citazione(chiave) + "\"");
        l.chiavi.emplace_back(chiave);
    }
    if (chiave == "titolo") {
        d.titolo = valore;
    } else if (chiave == "orientamento") {
        if (valore == "verticale") {
            d.orientamento = Orientamento::Verticale;
        } else if (valore == "orizzontale") {
            d.orientamento = Orientamento::Orizzontale;
        } else {
            errore(riga, "orientamento \"verticale\" o \"orizzontale\"");
        }
    } else if (chiave == "margini") {
        d.margini = leggiMargini(valore, riga);
        l.rigaMargini = riga;
    } else if (chiave == "raggruppa") {
        d.raggruppa = valore;
    } else if (chiave == "totali") {
        d.totali = split(valore, ' ');
        if (d.totali.size() > limiti::kTotali)
            errore(riga, "al massimo " + std::to_string(limiti::kTotali) + " colonne di totali");
    } else if (chiave == "distribuzione") {
        if (d.distribuzioni.size() == limiti::kDistribuzioni)
            errore(riga, "al massimo " + std::to_string(limiti::kDistribuzioni) + " distribuzioni");
        const std::size_t barra = valore.find('|');
        const std::vector<std::string> voci =
            split(barra == std::string_view::npos ? "" : valore.substr(barra + 1), ',');
        if (barra == std::string_view::npos || voci.empty())
            errore(riga, "distribuzione: titolo | colonna, oppure titolo | Flag=voce, ...");
        if (voci.size() > limiti::kVociDistribuzione)
            errore(riga, "distribuzione: al massimo " + std::to_string(limiti::kVociDistribuzione) +
                             " voci");
        Definizione::Distribuzione dist{std::string(trim(valore.substr(0, barra))), "", {}};
        for (const std::string& v : voci) {
            const std::size_t uguale = v.find('=');
            if (uguale == std::string::npos) {
                if (voci.size() > 1) errore(riga, "distribuzione: ogni flag ha la sua voce");
                dist.colonna = v;
            } else {
                dist.flag.emplace_back(trim(std::string_view(v).substr(0, uguale)),
                                       trim(std::string_view(v).substr(uguale + 1)));
            }
        }
        d.distribuzioni.push_back(std::move(dist));
    } else if (chiave == "torte") {
        d.torte = split(valore, '|');
    } else {
        errore(riga, "chiave sconosciuta \"" + Citazione(chiave) + "\"");
    }
}

// The line of the first byte that is not UTF-8 (overlong forms, surrogates and code points past
// U+10FFFF included); 0 when the whole text is.
int rigaNonUtf8(std::string_view s) {
    int riga = 1;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = store::utf8Decode(s, i);
        if (!c) return riga;
        if (c->code == '\n') ++riga;
        i += c->length;
    }
    return 0;
}

// A template of the definition, starting at line primaRiga: refused as the program reads it
// (Riempimento.h), then as the template engine does.
void controllaModello(const std::string& modello, int primaRiga) {
    SezioniModello(modello, primaRiga);
    if (!kainjow::mustache::mustache(modello).is_valid())
        throw DefinizioneErrata("riga " + std::to_string(primaRiga) +
                                ": modello Mustache non valido");
}

}  // namespace

Definizione LeggiDefinizione(std::string_view testo) {
    if (testo.size() > limiti::kFile)
        throw DefinizioneErrata("il file supera " + std::to_string(limiti::kFile / 1024) + " KB");
    if (testo.find('\0') != std::string_view::npos)
        throw DefinizioneErrata("il file contiene caratteri nulli: non è un file di testo");
    if (testo.starts_with("\xEF\xBB\xBF")) testo.remove_prefix(3);  // as some editors save
    if (const int riga = rigaNonUtf8(testo); riga > 0)
        errore(riga, "il testo non è in UTF-8 (il file va salvato con la codifica UTF-8)");
    Definizione d;
    Lettura lettura;
    std::string* sezione = nullptr;
    bool corpo = false;
    int riga = 0, rigaStile = 0, rigaIntestazione = 0, rigaCorpo = 0;
    while (!testo.empty()) {
        const std::size_t a = testo.find('\n');
        std::string_view linea = testo.substr(0, a);
        testo = a == std::string_view::npos ? std::string_view() : testo.substr(a + 1);
        ++riga;
        if (!linea.empty() && linea.back() == '\r') linea.remove_suffix(1);
        if (linea.starts_with("== ")) {
            const std::string_view nome = trim(linea.substr(3));
            if (nome == "stile") {
                sezione = &d.stile;
                rigaStile = riga;
            } else if (nome == "intestazione") {
                sezione = &d.intestazione;
                rigaIntestazione = riga + 1;
            } else if (nome == "corpo") {
                sezione = &d.corpo;
                rigaCorpo = riga + 1;
                corpo = true;
            } else {
                errore(riga, "sezione sconosciuta \"" + Citazione(nome) + "\"");
            }
            if (!sezione->empty()) errore(riga, "sezione ripetuta \"" + Citazione(nome) + "\"");
            continue;
        }
        if (sezione != nullptr) {
            sezione->append(linea).push_back('\n');
            continue;
        }
        const std::string_view pulita = trim(linea);
        if (pulita.empty() || pulita.front() == '#') continue;
        const std::size_t dp = pulita.find(':');
        if (dp == std::string_view::npos) errore(riga, "attesa una riga \"chiave: valore\"");
        leggiChiave(d, lettura, trim(pulita.substr(0, dp)), trim(pulita.substr(dp + 1)), riga);
    }
    if (!corpo) throw DefinizioneErrata("manca la sezione \"== corpo\"");
    // What the margins leave of an A4 sheet, turned as the definition says.
    const bool verticale = d.orientamento == Orientamento::Verticale;
    const Margini& m = d.margini;
    if ((verticale ? 210 : 297) - m.sinistro - m.destro < limiti::kSpazioPagina ||
        (verticale ? 297 : 210) - m.alto - m.basso < limiti::kSpazioPagina)
        errore(lettura.rigaMargini, "i margini lasciano meno di " +
                                        std::to_string(static_cast<int>(limiti::kSpazioPagina)) +
                                        " mm della pagina, in larghezza o in altezza");
    if (d.stile.size() > limiti::kStile)
        errore(rigaStile,
               "la sezione \"stile\" supera " + std::to_string(limiti::kStile / 1024) + " KB");
    if (!d.intestazione.empty()) controllaModello(d.intestazione, rigaIntestazione);
    controllaModello(d.corpo, rigaCorpo);
    return d;
}

Definizione CaricaDefinizione(const std::string& percorso) {
    const std::filesystem::path p(std::u8string(percorso.begin(), percorso.end()));
    std::error_code ec;
    const std::filesystem::file_status stato = std::filesystem::status(p, ec);
    if (!std::filesystem::exists(stato))
        throw DefinizioneErrata("il file " + percorso + " non esiste");
    if (!std::filesystem::is_regular_file(stato))
        throw DefinizioneErrata("il file " + percorso + " non è un file ordinario");
    const std::uintmax_t byte = std::filesystem::file_size(p, ec);
    if (!ec && byte > limiti::kFile)
        throw DefinizioneErrata("il file " + percorso + " supera " +
                                std::to_string(limiti::kFile / 1024) + " KB");
    // Read at most one byte past the limit, whatever the file has become meanwhile.
    std::ifstream in(p, std::ios::binary);
    std::string testo(limiti::kFile + 1, '\0');
    in.read(testo.data(), static_cast<std::streamsize>(testo.size()));
    if (in.bad() || (!in && !in.eof()))
        throw DefinizioneErrata("il file " + percorso + " non si può leggere");
    testo.resize(static_cast<std::size_t>(in.gcount()));
    return LeggiDefinizione(testo);
}

}  // namespace reports
