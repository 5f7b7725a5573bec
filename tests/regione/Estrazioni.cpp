#include "Estrazioni.h"

#include <filesystem>
#include <fstream>

void ScriviEstrazione(const std::string& percorso, const Estrazione& e,
                      const std::string& password) {
    store::Database db = store::Database::create(percorso, password);
    store::Transaction tx(db);
    db.execute(
        "INSERT INTO Configurazione (CodComune, Punto_lavoro, Data_emis_bando, "
        "Data_chius_bando, Progressivo_domande, Utente, Password, ImpoCoFinanz) "
        "VALUES (?, ?, '2006-07-14', '2006-09-30', ?, 'operatore', '$argon2id$prova', ?)",
        {e.codComune, e.punto, static_cast<int>(e.domande.size()), e.coFinanz});
    for (const DomandaProva& d : e.domande) {
        db.execute(
            "INSERT INTO Domanda (NumRepertorio, DataDomanda, CognomeRich, NomeRich, "
            "CodFiscRich, ComuneRich, Fascia, CanoneTotaleEur, ContribRichiesto, FlagDomandaOK, "
            "DataRegistrazione) VALUES (?, '2006-09-01', ?, ?, ?, ?, ?, 4200.5, ?, ?, "
            "'2006-09-01 10:00:00')",
            {d.numero, d.cognome, d.nome, d.codFiscale, e.codComune, d.fascia, d.richiesto, d.ok});
        int progr = 0;
        for (const Componente& c : d.nucleo) {
            ++progr;
            db.execute(
                "INSERT INTO NucleoFam (NumRepertorio, ProgrNucleo, CognomeNome, CodParent, "
                "DataNascita, CodProfes, RedditoEur, DataRegistrazione) "
                "VALUES (?, ?, ?, ?, ?, '01', 9000, '2006-09-01 10:00:00')",
                {d.numero, progr, c.nome, progr == 1 ? "0" : "1", c.nascita});
        }
    }
    tx.commit();
}

void Danneggia(const std::string& percorso) {
    const auto dimensione = std::filesystem::file_size(percorso);
    std::fstream f(percorso, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(dimensione / 2));
    f << std::string(64, 'X');
}
