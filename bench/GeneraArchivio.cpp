#include "GeneraArchivio.h"

#include <array>

#include "startup/Configurazione.h"
#include "store/Database.h"

namespace bench {

void GeneraArchivio(const std::string& path, int n) {
    store::Database db = store::Database::create(path);
    startup::ScriviConfigurazione(
        db, {"A00101", "AB", {2006, 7, 14}, {2006, 9, 30}, "operatore1", "segreta01"});
    static const std::array<const char*, 12> cognomi = {
        "ROSSI",   "RUSSO", "BIANCHI", "COLOMBO", "D'ANGELO", "ESPOSITO",
        "FERRARI", "GALLO", "MARINO",  "ROMANO",  "RICCI",    "VERDI"};
    db.begin();
    for (int i = 1; i <= n; ++i) {
        const std::string numero = "A001012005AB" + std::to_string(i);
        const std::string cognome =
            std::string(cognomi[static_cast<std::size_t>(i) % cognomi.size()]) +
            std::to_string(i % 997);
        db.execute(
            "insert into Domanda (NumRepertorio, DataDomanda, CognomeRich, NomeRich, "
            "CodFiscRich, ComuneRich, Fascia, CanoneTotaleEur, RedditoAccessoEur, "
            "ContribRichiesto, ContribConcesso, CoFinanzComune, FlagDomandaOK) "
            "values (?, '2006-09-01', ?, 'MARIO', 'RSSMRA70A01H501Z', 'A00101', ?, 4000, "
            "8000, 2880, 1440, 100, ?)",
            {numero, cognome, i % 3 == 0 ? "B" : "A", i % 5 == 0 ? "0" : "1"});
        db.execute(
            "insert into NucleoFam (NumRepertorio, ProgrNucleo, CognomeNome, CodParent, "
            "DataNascita, CodProfes, RedditoEur) values (?, 1, ?, '0', '1970-01-01', '01', "
            "8000)",
            {numero, cognome + " MARIO"});
    }
    db.commit();
    db.close();
}

}  // namespace bench
