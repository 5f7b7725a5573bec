// The Region keeps every stored field of a municipality's archive.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "regione/Schema.h"
#include "store/Database.h"

TEST(Schema, OgniCampoDellArchivioArrivaInRegione) {
    std::string cartella = (std::filesystem::temp_directory_path() / "vdschemaXXXXXX").string();
    ASSERT_NE(mkdtemp(cartella.data()), nullptr);
    {
        store::Database archivio = store::Database::create(cartella + "/a.mdb");
        for (const regione::Tabella* t : regione::Tabelle()) {
            SCOPED_TRACE(t->nome);
            std::vector<std::string> regione;
            for (const regione::Colonna& c : t->dallArchivio()) regione.push_back(c.nome);
            std::vector<std::string> archivio_;
            for (const auto& r : archivio.query("PRAGMA table_info(" + t->nome + ")").rows)
                archivio_.push_back(r[1].toText());
            // The login credentials stay with the municipality.
            if (t->nome == "Configurazione") {
                std::erase(archivio_, "Utente");
                std::erase(archivio_, "Password");
            }
            EXPECT_EQ(regione, archivio_);
        }
    }
    std::filesystem::remove_all(cartella);
}
