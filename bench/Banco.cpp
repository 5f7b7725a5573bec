#include "Banco.h"

#include <cstdlib>
#include <filesystem>

#include "GeneraArchivio.h"
#include "app/Activities.h"

namespace bench {

// Every box answers its default button; the clock stands still.
struct Banco::Porte : ui::MessagePort, ui::ClockPort {
    ui::Answer show(const ui::Message& m) override { return m.defaultButton; }
    store::DateTime now() override { return {{2006, 9, 15}, 10, 0, 0}; }
};

Banco::Banco(int domande) : porte_(std::make_unique<Porte>()) {
    std::string modello = (std::filesystem::temp_directory_path() / "vendral-bench-XXXXXX");
    if (mkdtemp(modello.data()) == nullptr) throw std::runtime_error("mkdtemp");
    dir_ = modello;
    startup::Paths paths{dir_, dir_};
    GeneraArchivio(paths.archive(), domande);
    ui::Ports ports;
    ports.messages = porte_.get();
    ports.clock = porte_.get();
    program_ = std::make_unique<ui::Program>(ports);
    modulo_ = std::make_unique<startup::ModuloVD2005>(*program_, paths);
    app::RegistraAttivita(*modulo_);
}

Banco::~Banco() {
    modulo_.reset();
    program_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

}  // namespace bench
