#pragma once
// The reasoning behind a verdict and its amounts: the ordered steps the rules took, each a
// short Italian sentence with the figures that went in and the one that came out, written as
// the application screen writes them (amounts "10.931,18", dates dd/mm/yyyy, band "A" or "B").
#include <optional>
#include <string>
#include <vector>

namespace rules {

struct Cifra {
    std::string nome;    // "Reddito per l'accesso"
    std::string valore;  // "11.483,54"
};

struct Passo {
    std::string frase;
    std::vector<Cifra> entrate;
    std::optional<Cifra> uscita;
    // When the step excludes the application: the exclusion as its check box reads, and the
    // comparison of the figures that decided it.
    std::string esclusione;
    std::string motivo;
};

using Traccia = std::vector<Passo>;

// One field whose shown (or stored) value is not the one the rules give.
struct Differenza {
    std::string campo;  // the field's caption
    std::string mostrato;
    std::string regole;
};

// The step as lines of text: the number and sentence, the figures indented below, then the
// result and the exclusion.
std::vector<std::string> RighePasso(const Passo& p, int numero);

}  // namespace rules
