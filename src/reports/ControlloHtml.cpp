#include "reports/ControlloHtml.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "reports/Definizione.h"
#include "reports/Limiti.h"

namespace reports {

namespace {

namespace fs = std::filesystem;

std::string minuscolo(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool spazio(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view pulito(std::string_view s) {
    while (!s.empty() && spazio(s.front())) s.remove_prefix(1);
    while (!s.empty() && spazio(s.back())) s.remove_suffix(1);
    return s;
}

// A number the way a text document reads one (a sign, "inf" and "nan" included) followed by a
// unit: its value, the unit in lower case, and whether the word reads as a number at all.
struct Numero {
    bool numero = false;
    double valore = 0;
    std::string unita;
};

Numero leggiNumero(std::string_view parola) {
    Numero n;
    if (!parola.empty() && (parola.front() == '+' || parola.front() == '-'))
        parola.remove_prefix(1);
    const auto [fine, ec] = std::from_chars(parola.data(), parola.data() + parola.size(), n.valore);
    if (ec == std::errc::invalid_argument) return n;
    n.numero = true;
    if (ec == std::errc::result_out_of_range) n.valore = HUGE_VAL;
    n.unita = minuscolo(parola.substr(static_cast<std::size_t>(fine - parola.data())));
    return n;
}

// The largest value a number with this unit may have in a style sheet; 0 for a unit that is
// none (the word is something else, such as a font name).
double massimoStile(const std::string& unita) {
    static const std::pair<const char*, double> pixelPer[] = {
        {"px", 1},         {"pt", 96.0 / 72}, {"pc", 16},       {"in", 96},
        {"cm", 96 / 2.54}, {"mm", 96 / 25.4}, {"q", 96 / 101.6}};
    if (unita.empty() || unita == "%") return limiti::kPercento;
    for (const auto& [u, pixel] : pixelPer)
        if (unita == u) return limiti::kPixel / pixel;
    if (unita == "em" || unita == "ex" || unita == "rem" || unita == "ch") return limiti::kEm;
    return 0;
}

[[noreturn]] void fuoriMisura(std::string_view dove, std::string_view testo) {
    throw DefinizioneErrata("numero fuori misura " + std::string(dove) + ": \"" + Citazione(testo) +
                            "\"");
}

void controllaRiferimento(std::string_view nome, Riferimenti& riferimenti) {
    if (const std::string e = ErroreRiferimento(nome); !e.empty()) throw DefinizioneErrata(e);
    if (nome.starts_with("grafico:")) {
        ++riferimenti.grafici;
    } else if (!nome.empty()) {
        riferimenti.file.emplace_back(nome);
    }
}

// The names in url(...) of a style sheet.
void controllaUrl(std::string_view css, Riferimenti& riferimenti) {
    const std::string basso = minuscolo(css);
    for (std::size_t p = basso.find("url("); p != std::string::npos; p = basso.find("url(", p)) {
        const std::size_t chiusa = css.find(')', p);
        if (chiusa == std::string_view::npos)
            throw DefinizioneErrata("url( senza la parentesi chiusa");
        std::string_view nome = pulito(css.substr(p + 4, chiusa - p - 4));
        if (nome.size() >= 2 && (nome.front() == '"' || nome.front() == '\'') &&
            nome.back() == nome.front())
            nome = nome.substr(1, nome.size() - 2);
        controllaRiferimento(nome, riferimenti);
        p = chiusa;
    }
}

bool carattereParola(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '%' || c == '+' || c == '-' || c == '_' || c == '#';
}

// Every number of a style sheet outside strings and comments.
void controllaNumeriStile(std::string_view css) {
    std::size_t p = 0;
    while (p < css.size()) {
        const char c = css[p];
        if (c == '"' || c == '\'') {
            const std::size_t chiusa = css.find(c, p + 1);
            p = chiusa == std::string_view::npos ? css.size() : chiusa + 1;
        } else if (css.compare(p, 2, "/*") == 0) {
            const std::size_t chiusa = css.find("*/", p + 2);
            p = chiusa == std::string_view::npos ? css.size() : chiusa + 2;
        } else if (carattereParola(c)) {
            std::size_t fine = p;
            while (fine < css.size() && carattereParola(css[fine])) ++fine;
            const std::string_view parola = css.substr(p, fine - p);
            const Numero n = leggiNumero(parola);
            const double massimo = n.numero ? massimoStile(n.unita) : 0;
            if (massimo > 0 && !(std::fabs(n.valore) <= massimo))
                fuoriMisura("nello stile", parola);
            p = fine;
        } else {
            ++p;
        }
    }
}

bool fra(std::string_view nome, std::initializer_list<std::string_view> nomi) {
    for (const std::string_view n : nomi)
        if (nome == n) return true;
    return false;
}

}  // namespace

std::string Citazione(std::string_view testo) {
    constexpr std::size_t kMassimo = 60;
    if (testo.size() <= kMassimo) return std::string(testo);
    std::size_t taglio = kMassimo;
    while (taglio > 0 && (static_cast<unsigned char>(testo[taglio]) & 0xC0) == 0x80) --taglio;
    return std::string(testo.substr(0, taglio)) + "…";
}

std::string ErroreRiferimento(std::string_view nome) {
    if (nome.empty()) return "";
    if (nome.starts_with("grafico:") && nome.size() > 8 &&
        nome.find_first_not_of("0123456789", 8) == std::string_view::npos)
        return "";
    const std::string motivo = "riferimento non ammesso \"" + Citazione(nome) +
                               "\": le immagini vengono solo dalla cartella dei report, con un "
                               "nome relativo senza \"..\"";
    if (nome.size() > limiti::kNomeImmagine) return motivo;
    for (const char c : nome) {
        const bool ammesso = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_' ||
                             c == ' ' || c == '/';
        if (!ammesso) return motivo;
    }
    // Every step of the path is a name: no "/" at the start, no "//", no "." or "..".
    for (std::size_t da = 0;;) {
        const std::size_t barra = nome.find('/', da);
        const std::string_view passo = nome.substr(da, barra - da);
        if (passo.empty() || passo == "." || passo == "..") return motivo;
        if (barra == std::string_view::npos) return "";
        da = barra + 1;
    }
}

std::string PercorsoImmagine(const std::string& cartella, std::string_view nome) {
    if (const std::string e = ErroreRiferimento(nome); !e.empty()) throw DefinizioneErrata(e);
    const auto u8 = [](std::string_view s) { return fs::path(std::u8string(s.begin(), s.end())); };
    std::error_code ec;
    const fs::path base = fs::canonical(u8(cartella), ec);
    if (ec) throw DefinizioneErrata("la cartella dei report non si può leggere");
    const fs::path percorso = fs::weakly_canonical(base / u8(nome), ec);
    const std::string citato = "\"" + Citazione(nome) + "\"";
    const auto [fineBase, finePercorso] =
        std::mismatch(base.begin(), base.end(), percorso.begin(), percorso.end());
    if (ec || fineBase != base.end())
        throw DefinizioneErrata("l'immagine " + citato + " è fuori della cartella dei report");
    const fs::file_status stato = fs::status(percorso, ec);
    if (ec || !fs::exists(stato))
        throw DefinizioneErrata("l'immagine " + citato + " non è nella cartella dei report");
    if (!fs::is_regular_file(stato))
        throw DefinizioneErrata("l'immagine " + citato + " non è un file ordinario");
    const std::uintmax_t byte = fs::file_size(percorso, ec);
    if (ec || byte > limiti::kByteImmagine)
        throw DefinizioneErrata("l'immagine " + citato + " supera " +
                                std::to_string(limiti::kByteImmagine / (1024 * 1024)) + " MB");
    const std::u8string testo = percorso.u8string();
    return std::string(testo.begin(), testo.end());
}

void ControllaStile(std::string_view css, Riferimenti& riferimenti) {
    if (css.find('\\') != std::string_view::npos)
        throw DefinizioneErrata("lo stile non può contenere \"\\\" (sequenze di escape)");
    if (minuscolo(css).find("@import") != std::string::npos)
        throw DefinizioneErrata(
            "@import non è ammesso: lo stile si scrive nella sezione \"== stile\"");
    controllaUrl(css, riferimenti);
    controllaNumeriStile(css);
}

void ControllaAttributo(std::string_view elemento, std::string_view nome, std::string_view valore,
                        Riferimenti& riferimenti) {
    if (nome == "style") {
        ControllaStile(valore, riferimenti);
    } else if (nome == "src" || nome == "background") {
        controllaRiferimento(pulito(valore), riferimenti);
    } else if (nome == "href" && elemento == "link") {
        throw DefinizioneErrata(
            "i fogli di stile esterni (<link>) non sono ammessi: lo stile si scrive nella sezione "
            "\"== stile\"");
    } else if (fra(nome, {"width", "height", "border", "cellpadding", "cellspacing", "hspace",
                          "vspace", "size", "colspan", "rowspan"})) {
        const std::string_view v = pulito(valore);
        const Numero n = leggiNumero(v);
        if (!n.numero || (n.unita != "" && n.unita != "px" && n.unita != "%")) return;
        const double massimo = fra(nome, {"colspan", "rowspan"}) ? limiti::kCampate
                               : n.unita == "%"                  ? limiti::kPercento
                                                                 : limiti::kPixel;
        if (!(std::fabs(n.valore) <= massimo))
            fuoriMisura("nell'attributo " + std::string(nome), v);
    }
}

}  // namespace reports
