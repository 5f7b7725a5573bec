#pragma once
// A temporary data folder for the unit tests.
#include <filesystem>
#include <string>

namespace supporto {

// A new empty folder in the system's temporary folder, removed with all it holds when the
// object goes.
class CartellaTemporanea {
public:
    explicit CartellaTemporanea(const std::string& prefisso = "vendral");
    ~CartellaTemporanea();
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

    const std::filesystem::path& percorso() const { return percorso_; }
    std::string testo() const { return percorso_.string(); }

private:
    std::filesystem::path percorso_;
};

}  // namespace supporto
