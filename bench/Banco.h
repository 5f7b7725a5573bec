#pragma once
// A program without a display for the benchmarks: a configured archive in a temporary
// folder, the screens registered, quiet ports.
#include <memory>
#include <string>

#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace bench {

class Banco {
public:
    // An archive with n applications.
    explicit Banco(int domande);
    ~Banco();
    Banco(const Banco&) = delete;
    Banco& operator=(const Banco&) = delete;

    ui::Program& program() { return *program_; }
    startup::ModuloVD2005& modulo() { return *modulo_; }

private:
    struct Porte;
    std::string dir_;
    std::unique_ptr<Porte> porte_;
    std::unique_ptr<ui::Program> program_;
    std::unique_ptr<startup::ModuloVD2005> modulo_;
};

}  // namespace bench
