#include "reports/Modello.h"

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>

#include "reports/ControlloHtml.h"
#include "reports/Limiti.h"
#include "reports/Riempimento.h"
#include "rules/Campi.h"
#include "rules/Date.h"
#include "rules/Numeri.h"
#include "store/Text.h"

namespace reports {

namespace mu = kainjow::mustache;

namespace {

bool inizia(const std::string& s, std::string_view p) {
    return s.starts_with(p);
}

bool percentuale(const std::string& c) {
    return c == "IncidenzaCanRed" || c == "SuperfAlloggio" || c == "Percentuale" ||
           inizia(c, "IncremPerc");
}

bool data(const std::string& c) {
    return inizia(c, "Data") || c.ends_with("DataReg") || c.ends_with("DataIni");
}

// A number as the engine returned it ("2880.0", "3"); nothing for other texts.
std::optional<double> numero(const std::string& v) {
    double x = 0;
    const auto [fine, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
    if (ec != std::errc() || fine != v.data() + v.size()) return std::nullopt;
    return x;
}

std::string totaleVisibile(const std::string& colonna, double somma) {
    if (!rules::ColonnaImporto(colonna) && somma == std::floor(somma))
        return rules::Formato(somma, rules::kFormatoMigliaia);
    return rules::Euro(somma);
}

struct Somme {
    std::size_t conteggio = 0;
    std::vector<double> totali;

    void aggiungi(const std::vector<std::string>& riga, const std::vector<int>& indici) {
        ++conteggio;
        totali.resize(indici.size());
        for (std::size_t i = 0; i < indici.size(); ++i)
            if (indici[i] >= 0)
                totali[i] += numero(riga[static_cast<std::size_t>(indici[i])]).value_or(0);
    }

    void scrivi(mu::data& dove, const std::vector<std::string>& colonne) const {
        mu::data t(mu::data::type::object);
        for (std::size_t i = 0; i < colonne.size(); ++i)
            t.set(colonne[i], totaleVisibile(colonne[i], i < totali.size() ? totali[i] : 0));
        dove.set("totali", t);
        dove.set("conteggio", std::to_string(conteggio));
        dove.set("uno", mu::data(conteggio == 1));
    }
};

int indice(const std::vector<std::string>& colonne, const std::string& nome) {
    const auto it = std::find(colonne.begin(), colonne.end(), nome);
    return it == colonne.end() ? -1 : static_cast<int>(it - colonne.begin());
}

// A value of a row in display form; an empty one counts as false, so that a section named after
// the column ({{#IndiRich}}...{{/IndiRich}}) prints only around a value.
mu::data valore(const std::string& colonna, const std::string& v) {
    std::string visibile = FormaVisibile(colonna, v);
    return visibile.empty() ? mu::data(false) : mu::data(std::move(visibile));
}

// The household members of the request by register number, each with its columns and its
// position in the household from 1 ("numero").
std::map<std::string, mu::data> nuclei(const ui::ReportRequest& r) {
    std::map<std::string, mu::data> perNumero;
    const int numero = indice(r.memberColumns, "NumRepertorio");
    if (numero < 0) return perNumero;
    for (const auto& membro : r.members) {
        const std::string& chiave = membro[static_cast<std::size_t>(numero)];
        auto it = perNumero.try_emplace(chiave, mu::data::type::list).first;
        mu::data o(mu::data::type::object);
        for (std::size_t c = 0; c < r.memberColumns.size() && c < membro.size(); ++c)
            o.set(r.memberColumns[c], valore(r.memberColumns[c], membro[c]));
        o.set("numero", std::to_string(it->second.list_value().size() + 1));
        it->second.push_back(o);
    }
    return perNumero;
}

std::string minuscolo(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool vuoto(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
}

// Elements a text document never gives children.
bool senzaFigli(const std::string& tag) {
    static const char* const nomi[] = {"br", "hr", "img", "meta"};
    return std::find(std::begin(nomi), std::end(nomi), tag) != std::end(nomi);
}

// Elements HTML writes without an end tag, which a text document keeps open all the same, until
// the element around them closes.
bool senzaChiusura(const std::string& tag) {
    static const char* const nomi[] = {"col",   "link",   "input", "wbr",   "area",  "base",
                                       "param", "source", "embed", "track", "keygen"};
    return std::find(std::begin(nomi), std::end(nomi), tag) != std::end(nomi);
}

bool chiedeNuovaPagina(std::string_view apertura) {
    const std::string t = minuscolo(apertura);
    const std::size_t p = t.find("page-break-before");
    return p != std::string::npos && t.find("always", p) != std::string::npos;
}

bool spazioHtml(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// One tag of the flow: where it starts and ends, its lower-case name (empty for what is no
// element: <!DOCTYPE ...>, <>), its kind and its attributes.
struct Tag {
    std::size_t inizio = 0, fine = 0;
    std::string nome;
    bool chiusura = false;
    bool singolo = false;    // has no children: <br>, <hr>, <img>, <meta>, or written <x ... />
    bool implicito = false;  // <col>, <input>...: open until the element around it closes
    std::vector<std::pair<std::string, std::string>> attributi;  // lower-case names
};

// Text order, but numbers at the start of both texts compare by value ("2 ..." before "10 ...").
bool primaNaturale(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    const auto [fa, ea] = std::from_chars(a.data(), a.data() + a.size(), x);
    const auto [fb, eb] = std::from_chars(b.data(), b.data() + b.size(), y);
    if (ea == std::errc() && eb == std::errc() && x != y) return x < y;
    return a < b;
}

// The UTF-8 text of a character reference without its "&" and ";"; nothing when unknown.
std::optional<std::string> carattere(std::string_view nome) {
    static const std::pair<const char*, const char*> nomi[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\u00A0"}};
    for (const auto& [n, t] : nomi)
        if (nome == n) return std::string(t);
    if (nome.size() < 2 || nome[0] != '#') return std::nullopt;
    const bool esadecimale = nome[1] == 'x' || nome[1] == 'X';
    const std::string_view cifre = nome.substr(esadecimale ? 2 : 1);
    unsigned int c = 0;
    const auto [fine, ec] =
        std::from_chars(cifre.data(), cifre.data() + cifre.size(), c, esadecimale ? 16 : 10);
    if (ec != std::errc() || fine != cifre.data() + cifre.size() || c == 0 || c > 0x10FFFF)
        return std::nullopt;
    return store::utf8Encode(c);
}

// The names a template refers to ("righe", "totali.Canone" as "totali" and "Canone").
void nomiUsati(const std::string& modello, std::vector<std::string>& nomi) {
    for (std::size_t p = modello.find("{{"); p != std::string::npos;
         p = modello.find("{{", p + 2)) {
        const std::size_t fine = modello.find("}}", p + 2);
        if (fine == std::string::npos) return;
        std::string nome = modello.substr(p + 2, fine - p - 2);
        nome.erase(0, nome.find_first_not_of("#^/&{! "));
        nome.erase(nome.find_last_not_of("} ") + 1);
        for (std::size_t da = 0, punto;; da = punto + 1) {
            punto = nome.find('.', da);
            nomi.push_back(nome.substr(da, punto - da));
            if (punto == std::string::npos) break;
        }
    }
}

// A text with its character references decoded, as a text document reads attribute values;
// unknown references stay as written.
std::string decodifica(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t p = 0; p < s.size();) {
        const std::size_t pv = s[p] == '&' ? s.find(';', p) : std::string_view::npos;
        const std::optional<std::string> c =
            pv == std::string_view::npos ? std::nullopt : carattere(s.substr(p + 1, pv - p - 1));
        if (c) {
            r += *c;
            p = pv + 1;
        } else {
            r += s[p++];
        }
    }
    return r;
}

[[noreturn]] void tagNonChiuso() {
    throw DefinizioneErrata("tag HTML non chiuso");
}

[[noreturn]] void minoreNelTag(const std::string& nome) {
    throw DefinizioneErrata("carattere \"<\" dentro il tag <" + Citazione(nome) + ">");
}

// The tag at html[lt] == '<', read as a text document reads it: blanks may follow "<" and "</",
// a value in quotes may hold ">". Throws DefinizioneErrata on a tag not closed, holding "<" or
// too long.
Tag leggiTag(const std::string& html, std::size_t lt) {
    Tag t;
    t.inizio = lt;
    std::size_t p = lt + 1;
    const auto salta = [&] {
        while (p < html.size() && spazioHtml(html[p])) ++p;
    };
    const auto parola = [&](std::string_view fine) {
        const std::size_t da = p;
        while (p < html.size() && !spazioHtml(html[p]) && fine.find(html[p]) == std::string::npos)
            ++p;
        return std::string_view(html).substr(da, p - da);
    };
    salta();
    if (p < html.size() && html[p] == '/') {
        t.chiusura = true;
        ++p;
        salta();
    }
    if (!t.chiusura && p < html.size() && html[p] == '!') {  // <!DOCTYPE ...> and the like
        const std::size_t gt = html.find('>', p);
        if (gt == std::string::npos) tagNonChiuso();
        t.fine = gt + 1;
        return t;
    }
    t.nome = minuscolo(parola("/><"));
    while (true) {
        salta();
        if (p >= html.size()) tagNonChiuso();
        if (html[p] == '>') break;
        if (html[p] == '<') minoreNelTag(t.nome);
        if (html[p] == '/' || html[p] == '=') {
            ++p;
            continue;
        }
        std::string nome = minuscolo(parola("=/><"));
        salta();
        std::string_view valore;
        if (p < html.size() && html[p] == '=') {
            ++p;
            salta();
            if (p < html.size() && (html[p] == '"' || html[p] == '\'')) {
                const std::size_t chiusa = html.find(html[p], p + 1);
                if (chiusa == std::string::npos) tagNonChiuso();
                valore = std::string_view(html).substr(p + 1, chiusa - p - 1);
                if (valore.find('<') != std::string_view::npos) minoreNelTag(t.nome);
                p = chiusa + 1;
            } else {
                valore = parola("><");
            }
        }
        t.attributi.emplace_back(std::move(nome), decodifica(valore));
    }
    t.fine = p + 1;
    if (t.fine - t.inizio > limiti::kByteTag)
        throw DefinizioneErrata("tag <" + Citazione(t.nome) + "> troppo lungo");
    if (!t.chiusura && !t.nome.empty()) {
        t.singolo = senzaFigli(t.nome) || html[p - 1] == '/';
        t.implicito = !t.singolo && senzaChiusura(t.nome);
    }
    return t;
}

// What one unit holds, against the limits of a unit.
struct Misura {
    std::size_t tag = 0, immagini = 0;

    void conta(const Tag& t) {
        if (++tag > limiti::kTagUnita)
            throw DefinizioneErrata("un elemento contiene più di " +
                                    std::to_string(limiti::kTagUnita) +
                                    " tag: va diviso in elementi più piccoli");
        if (!t.chiusura && t.nome == "img" && ++immagini > limiti::kImmaginiUnita)
            throw DefinizioneErrata("un elemento contiene più di " +
                                    std::to_string(limiti::kImmaginiUnita) + " immagini");
    }
};

void controllaUnita(std::size_t byte) {
    if (byte > limiti::kByteUnita)
        throw DefinizioneErrata("un elemento supera " + std::to_string(limiti::kByteUnita / 1024) +
                                " KB: va diviso in elementi più piccoli");
}

// Cuts an HTML flow into units and checks it on the way (see Dividi); with intero, the whole
// flow counts as one unit against the limits, as the heading, which is one text document.
std::vector<Unita> dividi(const std::string& html, std::vector<Tabella>& tabelle,
                          Riferimenti& riferimenti, bool intero) {
    struct Aperto {
        std::string nome;
        std::size_t fineApertura = 0;
        std::size_t implicitiDentro = 0;
    };
    std::vector<Unita> unita;
    std::vector<Aperto> aperti;
    std::size_t impliciti = 0;      // open elements without end tag, see senzaChiusura
    std::size_t tabelleAperte = 0;  // tables one inside another
    Misura misura;
    std::size_t inizioUnita = 0;  // start of the open top-level element or row
    std::size_t testoLibero = 0;  // where text outside elements may start
    bool inTabella = false;       // the top-level element is a table
    std::size_t pos = 0;
    const auto nuovaUnita = [&](std::size_t inizio) {
        inizioUnita = inizio;
        if (!intero) misura = Misura{};
    };
    // A row of the top-level table: in it or in its <tbody> or <tfoot>.
    const auto livelloRiga = [&] {
        return inTabella &&
               (aperti.size() == 1 ||
                (aperti.size() == 2 && (aperti[1].nome == "tbody" || aperti[1].nome == "tfoot")));
    };
    const auto controllaProfondita = [&] {
        if (aperti.size() + impliciti > limiti::kElementiAnnidati)
            throw DefinizioneErrata("elementi HTML annidati oltre " +
                                    std::to_string(limiti::kElementiAnnidati) + " livelli");
    };
    while (true) {
        const std::size_t lt = html.find('<', pos);
        if (aperti.empty()) {
            const std::size_t fineTesto = lt == std::string::npos ? html.size() : lt;
            const std::string_view testo(html.data() + testoLibero, fineTesto - testoLibero);
            if (!vuoto(testo)) {
                controllaUnita(testo.size());
                unita.push_back({"<p>" + std::string(testo) + "</p>", -1, false});
            }
        }
        if (lt == std::string::npos) break;
        if (html.compare(lt, 4, "<!--") == 0) {
            const std::size_t fc = html.find("-->", lt);
            if (fc == std::string::npos) throw DefinizioneErrata("commento HTML non chiuso");
            pos = fc + 3;
            if (aperti.empty()) testoLibero = pos;
            continue;
        }
        const Tag t = leggiTag(html, lt);
        pos = t.fine;
        if (t.nome.empty()) continue;
        if (aperti.empty() && !t.chiusura) nuovaUnita(t.inizio);
        misura.conta(t);
        for (const auto& [nome, valore] : t.attributi)
            ControllaAttributo(t.nome, nome, valore, riferimenti);

        if (t.singolo || t.implicito) {
            if (t.implicito) {
                ++impliciti;
                if (!aperti.empty()) ++aperti.back().implicitiDentro;
                controllaProfondita();
            }
            if (aperti.empty()) {
                unita.push_back({html.substr(t.inizio, t.fine - t.inizio), -1, false});
                testoLibero = pos;
            }
            continue;
        }
        if (!t.chiusura) {
            if (aperti.empty()) {
                inTabella = t.nome == "table";
                if (inTabella) tabelle.push_back({html.substr(t.inizio, t.fine - t.inizio), ""});
            } else if (inTabella && t.nome == "tr" && livelloRiga()) {
                nuovaUnita(t.inizio);
            } else if (inTabella && aperti.size() == 1 &&
                       (t.nome == "thead" || t.nome == "colgroup")) {
                nuovaUnita(t.inizio);
            }
            aperti.push_back({t.nome, t.fine, 0});
            if (t.nome == "table" && ++tabelleAperte > limiti::kTabelleAnnidate)
                throw DefinizioneErrata("tabelle annidate oltre " +
                                        std::to_string(limiti::kTabelleAnnidate) + " livelli");
            controllaProfondita();
            continue;
        }
        if (aperti.empty() || aperti.back().nome != t.nome)
            throw DefinizioneErrata(
                "</" + Citazione(t.nome) + "> senza l'elemento aperto corrispondente" +
                (aperti.empty() ? "" : " (aperto: <" + Citazione(aperti.back().nome) + ">)"));
        const Aperto chiuso = aperti.back();
        aperti.pop_back();
        impliciti -= chiuso.implicitiDentro;
        if (t.nome == "table") --tabelleAperte;
        if (t.nome == "style")
            ControllaStile(
                std::string_view(html).substr(chiuso.fineApertura, t.inizio - chiuso.fineApertura),
                riferimenti);
        const auto pezzo = [&] {
            controllaUnita(t.fine - inizioUnita);
            return html.substr(inizioUnita, t.fine - inizioUnita);
        };
        if (aperti.empty()) {
            if (!inTabella)
                unita.push_back({pezzo(), -1,
                                 chiedeNuovaPagina(std::string_view(html).substr(
                                     inizioUnita, chiuso.fineApertura - inizioUnita))});
            testoLibero = pos;
        } else if (inTabella && t.nome == "tr" && livelloRiga()) {
            unita.push_back({pezzo(), static_cast<int>(tabelle.size()) - 1, false});
        } else if (inTabella && aperti.size() == 1 && (t.nome == "thead" || t.nome == "colgroup")) {
            tabelle.back().testa += pezzo();
            controllaUnita(tabelle.back().testa.size());
        }
    }
    if (!aperti.empty())
        throw DefinizioneErrata("elemento <" + Citazione(aperti.back().nome) + "> non chiuso");
    return unita;
}

// Adds the name of a part of the definition to the reasons it is refused.
template <typename F>
auto inParte(const char* parte, F&& f) {
    try {
        return f();
    } catch (const DefinizioneErrata& e) {
        throw DefinizioneErrata(std::string(parte) + ": " + e.what());
    }
}

}  // namespace

std::optional<RigaSemplice> LeggiRigaSemplice(std::string_view tr) {
    RigaSemplice r;
    bool inRiga = false, inCella = false;
    bool spazio = false;  // a space is pending before the next word of the cell
    std::size_t pos = 0;
    while (pos < tr.size()) {
        const char c = tr[pos];
        if (c == '<') {
            const std::size_t gt = tr.find('>', pos);
            if (gt == std::string_view::npos) return std::nullopt;
            const std::string_view tag = tr.substr(pos, gt + 1 - pos);
            const bool chiusura = tag.size() > 1 && tag[1] == '/';
            std::size_t e = chiusura ? 2 : 1;
            while (e < tag.size() && std::isalpha(static_cast<unsigned char>(tag[e]))) ++e;
            const std::string nome =
                minuscolo(tag.substr(chiusura ? 2 : 1, e - (chiusura ? 2 : 1)));
            const bool cella = nome == "td" || nome == "th";
            if (nome == "tr" && !chiusura && !inRiga) {
                inRiga = true;
            } else if (nome == "tr" && chiusura && inRiga && !inCella) {
                inRiga = false;
            } else if (cella && !chiusura && inRiga && !inCella) {
                inCella = true;
                spazio = false;
                r.celle.emplace_back();
            } else if (cella && chiusura && inCella) {
                inCella = false;
            } else {
                return std::nullopt;
            }
            r.forma += tag;
            pos = gt + 1;
            continue;
        }
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            spazio = true;
            ++pos;
            continue;
        }
        if (!inCella) return std::nullopt;
        std::string& testo = r.celle.back();
        if (spazio && !testo.empty()) testo += ' ';
        spazio = false;
        if (c == '&') {
            const std::size_t pv = tr.find(';', pos);
            if (pv == std::string_view::npos) return std::nullopt;
            const std::optional<std::string> t = carattere(tr.substr(pos + 1, pv - pos - 1));
            if (!t) return std::nullopt;
            testo += *t;
            pos = pv + 1;
        } else {
            testo += c;
            ++pos;
        }
    }
    if (inRiga || r.celle.empty()) return std::nullopt;
    return r;
}

Grafico Distribuisci(const Definizione::Distribuzione& dist, const ui::ReportRequest& r) {
    Grafico g;
    g.titolo = dist.titolo;
    if (!dist.flag.empty()) {
        for (const auto& [colonna, voce] : dist.flag) {
            const int c = indice(r.columns, colonna);
            if (c < 0) throw DefinizioneErrata("la colonna " + colonna + " manca fra le righe");
            const auto conteggio = std::count_if(
                r.rows.begin(), r.rows.end(),
                [&](const auto& riga) { return riga[static_cast<std::size_t>(c)] == "1"; });
            g.voci.emplace_back(voce, static_cast<double>(conteggio));
        }
        return g;
    }
    const int c = indice(r.columns, dist.colonna);
    if (c < 0) throw DefinizioneErrata("la colonna " + dist.colonna + " manca fra le righe");
    std::map<std::string, double, decltype(&primaNaturale)> conteggi(&primaNaturale);
    for (const auto& riga : r.rows) {
        const std::string v = FormaVisibile(dist.colonna, riga[static_cast<std::size_t>(c)]);
        ++conteggi[v.empty() ? "Non indicato" : v];
    }
    g.voci.assign(conteggi.begin(), conteggi.end());
    return g;
}

std::string FormaVisibile(const std::string& colonna, const std::string& valore) {
    if (const char* d = rules::DescrizioneCodice(colonna, valore)) return d;
    if (valore.empty()) return valore;
    if (rules::ColonnaImporto(colonna)) return rules::Euro(numero(valore).value_or(0));
    if (percentuale(colonna))
        return rules::Formato(numero(valore).value_or(0), rules::kFormatoImporto);
    if (data(colonna)) return rules::FormattaDataMemorizzata(valore);
    if (inizia(colonna, "Flag") && (valore == "1" || valore == "0"))
        return valore == "1" ? "Sì" : "No";
    return valore;
}

std::pair<std::string, std::string> LeggiFormula(const std::string& formula) {
    const std::size_t uguale = formula.find('=');
    if (uguale == std::string::npos) return {formula, ""};
    std::string valore = formula.substr(uguale + 1);
    if (valore.size() >= 2 && valore.front() == '"' && valore.back() == '"')
        valore = valore.substr(1, valore.size() - 2);
    return {formula.substr(0, uguale), valore};
}

std::vector<Unita> Dividi(const std::string& html, std::vector<Tabella>& tabelle,
                          Riferimenti& riferimenti) {
    return dividi(html, tabelle, riferimenti, false);
}

Documento Componi(const Definizione& d, const ui::ReportRequest& r, const std::string& dataStampa) {
    mu::data radice(mu::data::type::object);
    radice.set("title", r.title);
    radice.set("titolo", d.titolo);
    radice.set("dataStampa", dataStampa);
    for (const std::string& f : r.formulas) {
        const auto [nome, valore] = LeggiFormula(f);
        if (!nome.empty()) radice.set(nome, valore);
    }

    std::vector<int> indiciTotali;
    for (const std::string& c : d.totali) indiciTotali.push_back(indice(r.columns, c));
    const int colGruppo = d.raggruppa.empty() ? -1 : indice(r.columns, d.raggruppa);
    if (!d.raggruppa.empty() && colGruppo < 0)
        throw DefinizioneErrata("la colonna di raggruppamento " + d.raggruppa +
                                " manca fra le righe");

    Documento doc;
    mu::data righe(mu::data::type::list);
    mu::data gruppi(mu::data::type::list);
    mu::data righeGruppo(mu::data::type::list);
    Somme tutte, gruppo;
    auto chiudiGruppo = [&](const std::string& valore) {
        mu::data g(mu::data::type::object);
        g.set("valore", valore);
        g.set("righe", righeGruppo);
        gruppo.scrivi(g, d.totali);
        gruppi.push_back(g);
        righeGruppo = mu::data(mu::data::type::list);
        gruppo = Somme{};
    };

    // Only the columns the templates name are filled: a list has many rows of many columns.
    std::vector<std::string> nomi;
    nomiUsati(d.intestazione, nomi);
    nomiUsati(d.corpo, nomi);
    std::vector<std::size_t> usate;
    for (std::size_t c = 0; c < r.columns.size(); ++c)
        if (std::find(nomi.begin(), nomi.end(), r.columns[c]) != nomi.end()) usate.push_back(c);
    const int colNumero = indice(r.columns, "NumRepertorio");
    const std::map<std::string, mu::data> famiglie =
        colNumero >= 0 && std::find(nomi.begin(), nomi.end(), "nucleo") != nomi.end()
            ? nuclei(r)
            : std::map<std::string, mu::data>{};

    std::size_t progressivo = 0;
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        const std::vector<std::string>& riga = r.rows[i];
        mu::data o(mu::data::type::object);
        for (const std::size_t c : usate)
            if (c < riga.size()) o.set(r.columns[c], valore(r.columns[c], riga[c]));
        o.set("numero", std::to_string(++progressivo));
        if (!famiglie.empty() && static_cast<std::size_t>(colNumero) < riga.size()) {
            const auto f = famiglie.find(riga[static_cast<std::size_t>(colNumero)]);
            if (f != famiglie.end()) o.set("nucleo", f->second);
        }
        tutte.aggiungi(riga, indiciTotali);
        if (colGruppo >= 0) {
            const std::string& chiave = riga[static_cast<std::size_t>(colGruppo)];
            gruppo.aggiungi(riga, indiciTotali);
            righeGruppo.push_back(o);
            if (i + 1 == r.rows.size() ||
                r.rows[i + 1][static_cast<std::size_t>(colGruppo)] != chiave)
                chiudiGruppo(FormaVisibile(d.raggruppa, chiave));
        }
        righe.push_back(o);
    }
    radice.set("righe", righe);
    radice.set("gruppi", gruppi);
    tutte.scrivi(radice, d.totali);

    mu::data distribuzioni(mu::data::type::list);
    for (const Definizione::Distribuzione& dist : d.distribuzioni) {
        Grafico g = Distribuisci(dist, r);
        g.torta = std::find(d.torte.begin(), d.torte.end(), dist.titolo) != d.torte.end();
        mu::data voci(mu::data::type::list);
        for (const auto& [voce, conteggio] : g.voci) {
            mu::data v(mu::data::type::object);
            v.set("voce", voce);
            v.set("domande", rules::Formato(conteggio, rules::kFormatoMigliaia));
            v.set("percentuale",
                  rules::Formato(r.rows.empty() ? 0 : 100 * conteggio / r.rows.size(),
                                 rules::kFormatoUnDecimale));
            voci.push_back(v);
        }
        mu::data o(mu::data::type::object);
        o.set("titolo", dist.titolo);
        o.set("voci", voci);
        o.set("grafico", "grafico:" + std::to_string(doc.grafici.size()));
        doc.grafici.push_back(std::move(g));
        distribuzioni.push_back(o);
    }
    radice.set("distribuzioni", distribuzioni);

    doc.titolo = d.titolo.empty() ? r.title : d.titolo;
    doc.orientamento = d.orientamento;
    doc.margini = d.margini;
    doc.stile = d.stile;
    doc.cartella = std::filesystem::path(r.file).parent_path().string();

    // The body may grow with the rows, the heading may not; the work of filling either may.
    const std::size_t n = r.rows.size();
    const std::size_t maxCorpo =
        std::min(limiti::kCorpoMassimo, limiti::kCorpoBase + n * limiti::kCorpoPerRiga);
    const std::size_t maxPassi =
        std::min(limiti::kPassiMassimi, limiti::kPassiBase + n * limiti::kPassiPerRiga);
    Riferimenti riferimenti;
    inParte("stile", [&] { ControllaStile(d.stile, riferimenti); });
    doc.intestazione = inParte("intestazione", [&] {
        std::string html = Riempi(d.intestazione, radice, limiti::kIntestazione, maxPassi);
        std::vector<Tabella> tabelle;
        dividi(html, tabelle, riferimenti, true);
        // The heading is drawn on every page; a chart costs far more than its text.
        if (riferimenti.grafici > 0) throw DefinizioneErrata("i grafici vanno nel corpo");
        return html;
    });
    doc.unita = inParte("corpo", [&] {
        std::vector<Unita> unita =
            Dividi(Riempi(d.corpo, radice, maxCorpo, maxPassi), doc.tabelle, riferimenti);
        if (riferimenti.grafici > limiti::kGrafici)
            throw DefinizioneErrata("più di " + std::to_string(limiti::kGrafici) +
                                    " grafici: ogni distribuzione ne chiede uno");
        return unita;
    });
    // Each image once: a file of the reports folder.
    std::vector<std::string>& file = riferimenti.file;
    std::sort(file.begin(), file.end());
    file.erase(std::unique(file.begin(), file.end()), file.end());
    for (const std::string& nome : file) PercorsoImmagine(doc.cartella, nome);
    return doc;
}

}  // namespace reports
