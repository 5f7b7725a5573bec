#include "regione/Riepilogo.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

#include "store/EmbeddedData.h"
#include "store/Text.h"

namespace regione {

namespace {

const char* const kIntestazioneCsv =
    "CodComune;Comune;PuntiRaccolta;Domande;Ammissibili;NonAmmissibili;FasciaA;FasciaB;"
    "Fabbisogno;CoFinanziamento\n";

const std::map<std::string, std::string>& Comuni() {
    static const std::map<std::string, std::string> comuni = [] {
        std::map<std::string, std::string> m;
        std::string_view tsv = store::embedded::comuniTsv();
        bool intestazione = true;
        while (!tsv.empty()) {
            const std::size_t fine = tsv.find('\n');
            std::string_view riga = tsv.substr(0, fine);
            tsv = fine == std::string_view::npos ? std::string_view() : tsv.substr(fine + 1);
            if (!riga.empty() && riga.back() == '\r') riga.remove_suffix(1);
            const std::size_t tab = riga.find('\t');
            if (tab == std::string_view::npos) continue;
            if (!intestazione) m.emplace(riga.substr(0, tab), riga.substr(tab + 1));
            intestazione = false;
        }
        return m;
    }();
    return comuni;
}

// The engine's form of an amount of cents: "3098.74".
std::string CentesimiMotore(std::int64_t cent) {
    std::string r = Centesimi(cent);
    std::replace(r.begin(), r.end(), ',', '.');
    return r;
}

std::string Intero(std::int64_t n, bool migliaia) {
    if (!migliaia) return std::to_string(n);
    std::string cifre = std::to_string(n < 0 ? -n : n);
    for (int i = static_cast<int>(cifre.size()) - 3; i > 0; i -= 3)
        cifre.insert(static_cast<std::size_t>(i), ".");
    return (n < 0 ? "-" : "") + cifre;
}

std::vector<std::string> Campi(const RigaRiepilogo& r, bool leggibile) {
    return {r.codComune,
            r.comune,
            Intero(r.puntiRaccolta, leggibile),
            Intero(r.domande, leggibile),
            Intero(r.ammissibili, leggibile),
            Intero(r.nonAmmissibili(), leggibile),
            Intero(r.fasciaA, leggibile),
            Intero(r.fasciaB, leggibile),
            Centesimi(r.fabbisognoCent, leggibile),
            Centesimi(r.coFinanzCent, leggibile)};
}

}  // namespace

void RigaRiepilogo::somma(const RigaRiepilogo& r) {
    puntiRaccolta += r.puntiRaccolta;
    domande += r.domande;
    ammissibili += r.ammissibili;
    fasciaA += r.fasciaA;
    fasciaB += r.fasciaB;
    fabbisognoCent += r.fabbisognoCent;
    coFinanzCent += r.coFinanzCent;
}

std::string NomeComune(const std::string& codComune) {
    const auto it = Comuni().find(codComune);
    return it == Comuni().end() ? "" : it->second;
}

RigaRiepilogo LeggiRiepilogo(Motore& m, const std::function<void(const RigaRiepilogo&)>& comune) {
    RigaRiepilogo totale;
    totale.codComune = "TOTALE";
    totale.comune = "Regione";
    RigaRiepilogo corrente;
    bool aperto = false;
    auto chiudi = [&] {
        if (!aperto) return;
        corrente.comune = NomeComune(corrente.codComune);
        comune(corrente);
        totale.somma(corrente);
    };
    // One row per sending, with the figures summed at its import.
    m.interroga(
        "SELECT CodComune, NumDomande, NumAmmissibili, NumFasciaA, NumFasciaB, FabbisognoCent, "
        "ImpoCoFinanz FROM Configurazione ORDER BY CodComune, Punto_lavoro",
        {}, [&](const Riga& r) {
            const std::string cod = r[0].toText();
            if (!aperto || cod != corrente.codComune) {
                chiudi();
                corrente = RigaRiepilogo{};
                corrente.codComune = cod;
                aperto = true;
            }
            ++corrente.puntiRaccolta;
            corrente.domande += r[1].toInt();
            corrente.ammissibili += r[2].toInt();
            corrente.fasciaA += r[3].toInt();
            corrente.fasciaB += r[4].toInt();
            corrente.fabbisognoCent += r[5].toInt();
            corrente.coFinanzCent += std::llround(r[6].toDouble() * 100);
        });
    chiudi();
    return totale;
}

std::string Centesimi(std::int64_t cent, bool migliaia) {
    const std::int64_t assoluto = cent < 0 ? -cent : cent;
    const std::int64_t decimi = assoluto % 100;
    std::string r =
        Intero(assoluto / 100, migliaia) + "," + (decimi < 10 ? "0" : "") + std::to_string(decimi);
    return (cent < 0 ? "-" : "") + r;
}

std::string CampoCsv(const std::string& testo) {
    if (testo.find_first_of(";\"\r\n") == std::string::npos) return testo;
    std::string r = "\"";
    for (const char c : testo) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

void ScriviCsvRiepilogo(std::ostream& out, const std::vector<RigaRiepilogo>& comuni,
                        const RigaRiepilogo& totale) {
    out << kIntestazioneCsv;
    auto riga = [&](const RigaRiepilogo& r) {
        const std::vector<std::string> campi = Campi(r, false);
        for (std::size_t i = 0; i < campi.size(); ++i) out << (i ? ";" : "") << CampoCsv(campi[i]);
        out << '\n';
    };
    for (const RigaRiepilogo& r : comuni) riga(r);
    riga(totale);
}

void ScriviTabellaRiepilogo(std::ostream& out, const std::vector<RigaRiepilogo>& comuni,
                            const RigaRiepilogo& totale) {
    const std::vector<std::string> titoli = {
        "Codice",   "Comune",   "Punti",    "Domande",    "Ammissibili",
        "Non amm.", "Fascia A", "Fascia B", "Fabbisogno", "Co-finanziamento"};
    std::vector<std::vector<std::string>> righe;
    for (const RigaRiepilogo& r : comuni) righe.push_back(Campi(r, true));
    righe.push_back(Campi(totale, true));
    std::vector<std::size_t> larghezze;
    for (const std::string& t : titoli) larghezze.push_back(store::utf8Length(t));
    for (const auto& r : righe)
        for (std::size_t i = 0; i < r.size(); ++i)
            larghezze[i] = std::max(larghezze[i], store::utf8Length(r[i]));
    // Codes and names to the left, figures to the right.
    auto scrivi = [&](const std::vector<std::string>& campi) {
        std::string linea;
        for (std::size_t i = 0; i < campi.size(); ++i) {
            const std::string spazi(larghezze[i] - store::utf8Length(campi[i]), ' ');
            linea += (i ? "  " : "") + (i < 2 ? campi[i] + spazi : spazi + campi[i]);
        }
        while (!linea.empty() && linea.back() == ' ') linea.pop_back();
        out << linea << '\n';
    };
    out << "Fabbisogno regionale per Comune\n\n";
    scrivi(titoli);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        if (i + 1 == righe.size()) {
            std::size_t totaleLarghezza = 2 * (larghezze.size() - 1);
            for (const std::size_t l : larghezze) totaleLarghezza += l;
            out << std::string(totaleLarghezza, '-') << '\n';
        }
        scrivi(righe[i]);
    }
}

ui::ReportRequest RichiestaRiepilogo(const std::string& definizione,
                                     const std::vector<RigaRiepilogo>& comuni,
                                     const RigaRiepilogo& totale, bool totaleInRighe) {
    ui::ReportRequest r;
    r.file = definizione;
    r.title = "Fabbisogno regionale per Comune";
    r.columns = {
        "CodComune",      "Comune",  "PuntiRaccolta", "Domande",       "Ammissibili",
        "NonAmmissibili", "FasciaA", "FasciaB",       "FabbisognoEur", "CoFinanziamentoEur"};
    auto riga = [](const RigaRiepilogo& c) {
        std::vector<std::string> v = Campi(c, false);
        v[8] = CentesimiMotore(c.fabbisognoCent);
        v[9] = CentesimiMotore(c.coFinanzCent);
        return v;
    };
    for (const RigaRiepilogo& c : comuni) r.rows.push_back(riga(c));
    if (totaleInRighe) r.rows.push_back(riga(totale));
    const std::vector<std::string> visibili = Campi(totale, true);
    for (std::size_t i = 2; i < r.columns.size(); ++i) {
        std::string nome = r.columns[i];
        if (nome.ends_with("Eur")) nome.resize(nome.size() - 3);
        r.formulas.push_back("Tot" + nome + "=\"" + visibili[i] + "\"");
    }
    return r;
}

}  // namespace regione
