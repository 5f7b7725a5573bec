#include "reports/Definizione.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "reports/Modello.h"

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
        if (ec != std::errc() || fine != p.data() + p.size() || mm[i] < 0 || mm[i] > 100)
            errore(riga, "margine non valido: " + p);
    }
    return {mm[0], mm[1], mm[2], mm[3]};
}

void leggiChiave(Definizione& d, std::string_view chiave, std::string_view valore, int riga) {
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
    } else if (chiave == "raggruppa") {
        d.raggruppa = valore;
    } else if (chiave == "totali") {
        d.totali = split(valore, ' ');
    } else if (chiave == "distribuzione") {
        const std::size_t barra = valore.find('|');
        const std::vector<std::string> voci =
            split(barra == std::string_view::npos ? "" : valore.substr(barra + 1), ',');
        if (barra == std::string_view::npos || voci.empty())
            errore(riga, "distribuzione: titolo | colonna, oppure titolo | Flag=voce, ...");
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
        errore(riga, "chiave sconosciuta \"" + std::string(chiave) + "\"");
    }
}

}  // namespace

Definizione LeggiDefinizione(std::string_view testo) {
    Definizione d;
    std::string* sezione = nullptr;
    bool corpo = false;
    int riga = 0;
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
            } else if (nome == "intestazione") {
                sezione = &d.intestazione;
            } else if (nome == "corpo") {
                sezione = &d.corpo;
                corpo = true;
            } else {
                errore(riga, "sezione sconosciuta \"" + std::string(nome) + "\"");
            }
            if (!sezione->empty()) errore(riga, "sezione ripetuta \"" + std::string(nome) + "\"");
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
        leggiChiave(d, trim(pulita.substr(0, dp)), trim(pulita.substr(dp + 1)), riga);
    }
    if (!corpo) throw DefinizioneErrata("manca la sezione \"== corpo\"");
    if (const std::string e = ErroreModello(d.intestazione); !e.empty())
        throw DefinizioneErrata("intestazione: " + e);
    if (const std::string e = ErroreModello(d.corpo); !e.empty())
        throw DefinizioneErrata("corpo: " + e);
    return d;
}

Definizione CaricaDefinizione(const std::string& percorso) {
    const std::filesystem::path p(std::u8string(percorso.begin(), percorso.end()));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec))
        throw DefinizioneErrata("il file " + percorso + " non esiste");
    std::ifstream in(p, std::ios::binary);
    std::stringstream testo;
    testo << in.rdbuf();
    if (!in) throw DefinizioneErrata("il file " + percorso + " non si può leggere");
    return LeggiDefinizione(testo.str());
}

}  // namespace reports
