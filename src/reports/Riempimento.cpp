#include "reports/Riempimento.h"

#include <algorithm>
#include <vector>

#include "reports/ControlloHtml.h"
#include "reports/Definizione.h"
#include "reports/Limiti.h"

namespace reports {

namespace mu = kainjow::mustache;

namespace {

// The blanks the template engine trims from the inside of a tag.
bool bianco(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string senzaBianchi(std::string_view s) {
    while (!s.empty() && bianco(s.front())) s.remove_prefix(1);
    while (!s.empty() && bianco(s.back())) s.remove_suffix(1);
    return std::string(s);
}

[[noreturn]] void errore(const std::string& modello, std::size_t pos, int primaRiga,
                         const std::string& testo) {
    if (primaRiga <= 0) throw DefinizioneErrata(testo);
    const auto righe =
        std::count(modello.begin(), modello.begin() + static_cast<std::ptrdiff_t>(pos), '\n');
    throw DefinizioneErrata("riga " + std::to_string(primaRiga + righe) + ": " + testo);
}

std::string misura(std::size_t byte) {
    return byte >= 1024 * 1024 ? std::to_string(byte / (1024 * 1024)) + " MB"
                               : std::to_string(byte / 1024) + " KB";
}

// Bytes of a value once HTML-escaped, as the template engine escapes it.
std::size_t lunghezzaVisibile(const std::string& s) {
    std::size_t n = 0;
    for (const char c : s)
        n += c == '&' ? 5 : c == '<' || c == '>' ? 4 : c == '"' || c == '\'' ? 6 : 1;
    return n;
}

// The template engine's view of the data, as its own context resolves names, counting the work:
// each name looked up and each section entered is a step, and the text a section will add is
// counted before it is added. A section's text is no longer than the longest section of its
// name; a value adds its escaped length. No partials: a value is never read as a template.
class Contesto : public mu::basic_context<std::string> {
public:
    Contesto(const mu::data* radice, const std::map<std::string, std::size_t>& testi,
             std::size_t byteIniziali, std::size_t maxByte, std::size_t maxPassi)
        : testi_(testi), maxByte_(maxByte), maxPassi_(maxPassi) {
        pila_.push_back(radice);
        aggiungi(byteIniziali);
    }

    void push(const mu::data* d) override {
        passo();
        std::size_t testo = 0;
        if (const auto v = valori_.find(d); v != valori_.end()) testo = v->second;
        if (auto l = liste_.upper_bound(d); l != liste_.begin()) {
            --l;
            if (!std::less<const mu::data*>()(l->second.first, d))
                testo = std::max(testo, l->second.second);
        }
        aggiungi(testo);
        pila_.push_back(d);
    }

    void pop() override { pila_.pop_back(); }

    const mu::data* get(const std::string& nome) const override {
        passo();
        const mu::data* v = cerca(nome);
        const auto t = testi_.find(nome);
        const std::size_t testo = t == testi_.end() ? 0 : t->second;
        if (v == nullptr) {
            aggiungi(testo);  // an inverted section shows its text once
        } else if (testo > 0 && v->is_non_empty_list()) {
            // Entered once per item: remembered by the range of the items.
            const auto& items = v->list_value();
            auto& voce = liste_[&items.front()];
            voce = {&items.back(), std::max(voce.second, testo)};
        } else if (testo > 0) {
            auto& voce = valori_[v];
            voce = std::max(voce, testo);
        }
        if (v != nullptr && v->is_string()) aggiungi(lunghezzaVisibile(v->string_value()));
        return v;
    }

    const mu::data* get_partial(const std::string&) const override { return nullptr; }

private:
    const mu::data* cerca(const std::string& nome) const {
        if (nome == ".") return pila_.back();
        if (nome.find('.') == std::string::npos) {
            for (auto it = pila_.rbegin(); it != pila_.rend(); ++it)
                if (const mu::data* v = (*it)->get(nome)) return v;
            return nullptr;
        }
        const std::vector<std::string> nomi = mu::split(nome, '.');
        for (auto it = pila_.rbegin(); it != pila_.rend(); ++it) {
            const mu::data* v = *it;
            for (const std::string& n : nomi) {
                v = v->get(n);
                if (v == nullptr) break;
            }
            if (v != nullptr) return v;
        }
        return nullptr;
    }

    void passo() const {
        if (++passi_ > maxPassi_)
            throw DefinizioneErrata(
                "il modello chiede troppi passi per essere riempito (sezioni ripetute una dentro "
                "l'altra?)");
    }

    void aggiungi(std::size_t byte) const {
        byte_ += byte;
        if (byte_ > maxByte_)
            throw DefinizioneErrata("il report diventerebbe troppo grande: oltre " +
                                    misura(maxByte_) +
                                    " di HTML (sezioni ripetute una dentro l'altra?)");
    }

    const std::map<std::string, std::size_t>& testi_;
    const std::size_t maxByte_, maxPassi_;
    std::vector<const mu::data*> pila_;
    mutable std::size_t byte_ = 0, passi_ = 0;
    mutable std::map<const mu::data*, std::size_t> valori_;
    // First item of a list -> its last item and the text of a section over it.
    mutable std::map<const mu::data*, std::pair<const mu::data*, std::size_t>> liste_;
};

// Collects what the template engine writes.
struct Uscita {
    std::string testo;
    Uscita& operator<<(const std::string& s) {
        testo += s;
        return *this;
    }
};

}  // namespace

std::map<std::string, std::size_t> SezioniModello(const std::string& modello, int primaRiga) {
    struct Aperta {
        std::string nome;
        std::size_t tag, testo;  // where its tag and its text start
    };
    std::vector<Aperta> aperte;
    std::map<std::string, std::size_t> testi;
    for (std::size_t p = modello.find("{{"); p != std::string::npos; p = modello.find("{{", p)) {
        const std::size_t tag = p;
        std::size_t dentro = p + 2;
        const bool triplo = dentro < modello.size() && modello[dentro] == '{';
        if (triplo) ++dentro;
        const std::size_t fine = modello.find(triplo ? "}}}" : "}}", dentro);
        if (fine == std::string::npos) errore(modello, tag, primaRiga, "tag {{ senza }}");
        const std::string interno =
            senzaBianchi(std::string_view(modello).substr(dentro, fine - dentro));
        p = fine + (triplo ? 3 : 2);
        if (interno.empty()) continue;
        const std::string nome = senzaBianchi(std::string_view(interno).substr(1));
        if (interno[0] == '=')
            errore(modello, tag, primaRiga, "il cambio dei delimitatori ({{=...=}}) non è ammesso");
        if (triplo) continue;
        if (interno[0] == '>')
            errore(modello, tag, primaRiga, "i modelli parziali ({{>...}}) non sono ammessi");
        if (interno[0] == '#' || interno[0] == '^') {
            if (aperte.size() >= limiti::kSezioniAnnidate)
                errore(modello, tag, primaRiga,
                       "sezioni annidate oltre " + std::to_string(limiti::kSezioniAnnidate) +
                           " livelli");
            aperte.push_back({nome, tag, p});
        } else if (interno[0] == '/') {
            if (aperte.empty())
                errore(modello, tag, primaRiga,
                       "{{/" + Citazione(nome) + "}} senza la sezione aperta corrispondente");
            if (aperte.back().nome != nome)
                errore(modello, tag, primaRiga,
                       "{{/" + Citazione(nome) + "}} chiude la sezione {{#" +
                           Citazione(aperte.back().nome) + "}}");
            std::size_t& testo = testi[nome];
            testo = std::max(testo, tag - aperte.back().testo);
            aperte.pop_back();
        }
    }
    if (!aperte.empty())
        errore(modello, aperte.back().tag, primaRiga,
               "la sezione {{#" + Citazione(aperte.back().nome) + "}} non è chiusa");
    return testi;
}

std::string Riempi(const std::string& modello, const mu::data& dati, std::size_t maxByte,
                   std::size_t maxPassi) {
    const std::map<std::string, std::size_t> testi = SezioniModello(modello);
    mu::mustache m(modello);
    if (!m.is_valid()) throw DefinizioneErrata("modello Mustache non valido");
    Contesto contesto(&dati, testi, modello.size(), maxByte, maxPassi);
    Uscita uscita;
    m.render(contesto, uscita);
    if (!m.is_valid()) throw DefinizioneErrata("modello Mustache non valido");
    return std::move(uscita.testo);
}

}  // namespace reports
