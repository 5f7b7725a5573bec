#include "Banco.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "regione/Comandi.h"
#include "regione/MotorePostgres.h"

namespace {

const char* ServerPostgres() {
    return std::getenv("VENDRAL_TEST_PG");
}

void Amministra(const std::string& sql) {
    regione::ApriMotorePostgres(std::string(ServerPostgres()) + "/postgres")->esegui(sql, {});
}

}  // namespace

std::string LeggiFile(const std::string& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Banco::SetUp() {
    std::string modello = (std::filesystem::temp_directory_path() / "vdregioneXXXXXX").string();
    ASSERT_NE(mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    if (!postgres()) {
        db_ = file("Regione.db");
        return;
    }
    if (ServerPostgres() == nullptr) GTEST_SKIP() << "VENDRAL_TEST_PG non impostata";
    static int contatore = 0;
    nomePostgres_ = "prova_" + std::to_string(getpid()) + "_" + std::to_string(++contatore);
    Amministra("CREATE DATABASE " + nomePostgres_);
    db_ = std::string(ServerPostgres()) + "/" + nomePostgres_;
}

void Banco::TearDown() {
    if (!nomePostgres_.empty()) Amministra("DROP DATABASE " + nomePostgres_ + " WITH (FORCE)");
    std::filesystem::remove_all(cartella_);
}

std::string Banco::file(const std::string& nome) const {
    return (std::filesystem::path(cartella_) / nome).string();
}

Banco::Esito Banco::esegui(std::vector<std::string> argomenti, bool terminale) {
    argomenti.insert(argomenti.begin() + (argomenti.empty() ? 0 : 1), {"--db", db_});
    std::ostringstream out, err;
    const regione::Ambiente a{out,
                              err,
                              terminale,
                              VENDRAL_REPORTS_DIR,
                              [] { return std::string("2006-10-02 09:00:00"); },
                              interrotto_};
    const int stato = regione::Esegui(argomenti, a);
    return {stato, out.str(), err.str()};
}

std::string Banco::estrazione(const std::string& nome, const Estrazione& e) {
    const std::string percorso = file(nome);
    ScriviEstrazione(percorso, e);
    return percorso;
}
