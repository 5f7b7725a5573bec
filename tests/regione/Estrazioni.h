#pragma once
// Extraction files for the tests, written through the program's own archive code as a
// workstation's archive would hold them.
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/Value.h"

struct Componente {
    std::string nome;  // CognomeNome
    std::string nascita;
};

struct DomandaProva {
    std::string numero;
    std::string cognome;
    std::string nome;
    std::string codFiscale;
    store::Value ok;  // FlagDomandaOK
    store::Value fascia;
    store::Value richiesto;  // ContribRichiesto
    std::vector<Componente> nucleo;
};

struct Estrazione {
    std::string codComune;
    std::string punto;
    double coFinanz = 0;
    std::vector<DomandaProva> domande;
};

void ScriviEstrazione(const std::string& percorso, const Estrazione& e,
                      const std::string& password = store::kArchivePassword);

// Overwrites bytes in the middle of a file.
void Danneggia(const std::string& percorso);
