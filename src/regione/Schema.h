#pragma once
// The Region's database: the configuration row, the applications and the household rows of
// every sending (one municipality and collection point), each row marked with the sending's
// municipality code and collection point. Every field a municipality stores for an
// application or a household member is carried, so that the rules can later be run again on
// the Region's copy; of the configuration row, everything but the login credentials.
#include <string>
#include <vector>

namespace regione {

enum class Tipo { Testo, Intero, Decimale };

struct Colonna {
    std::string nome;
    Tipo tipo;
    bool archivio = true;  // read from the municipality's archive; false: the Region's own
};

struct Tabella {
    std::string nome;
    std::vector<Colonna> colonne;
    std::string chiave;  // primary key columns, comma separated

    std::vector<std::string> nomi() const;
    // The columns read from the municipality's archive, in order.
    std::vector<Colonna> dallArchivio() const;
};

struct Indice {
    std::string nome;
    std::string tabella;
    std::string colonne;
    std::string dove;  // condition of a partial index, "" for a whole one
};

const Tabella& TabConfigurazione();
const Tabella& TabDomanda();
const Tabella& TabNucleoFam();
const std::vector<const Tabella*>& Tabelle();
const std::vector<Indice>& Indici();

// The statements that create a table or an index when missing; tipi names the engine's types
// for Testo, Intero and Decimale, in this order.
std::string CreaTabella(const Tabella& t, const std::vector<std::string>& tipi);
std::string CreaIndice(const Indice& i);
// "INSERT INTO t (every column) VALUES (?, ...)".
std::string Inserimento(const Tabella& t);

}  // namespace regione
