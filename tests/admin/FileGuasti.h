#pragma once
// Files on disk for the maintenance tests, with one step made to fail, and message boxes
// recorded.
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "store/DbError.h"
#include "ui/Ports.h"

enum class Passo { Nessuno, Compattazione, Copia, CopiaAMeta, Pieno, Flush, Rename };

class FileGuasti : public ui::FilePort {
public:
    Passo guasto = Passo::Nessuno;
    int riusciti = 0;  // steps of the failing kind that succeed before it fails
    // Runs after each archive copy, e.g. another connection writing.
    std::function<void()> dopoLaCopia;

    bool exists(const std::string& path) override { return std::filesystem::exists(path); }
    void copyArchive(const std::string& from, const std::string& to) override {
        if (fallisce(Passo::Copia)) throw ui::FileError(ui::kErrIO, "copia fallita");
        if (fallisce(Passo::Pieno)) throw store::DbError(13, "disco pieno", "Database.Copy");
        if (fallisce(Passo::CopiaAMeta)) {
            const std::string dati = leggi(from);
            std::ofstream(to, std::ios::binary) << dati.substr(0, dati.size() / 2);
            throw ui::DiscoPieno();
        }
        ui::FilePort::copyArchive(from, to);
        if (dopoLaCopia) dopoLaCopia();
    }
    void rename(const std::string& from, const std::string& to) override {
        if (fallisce(Passo::Rename)) throw ui::FileError(ui::kErrIO, "rinomina fallita");
        std::filesystem::rename(from, to);
    }
    void remove(const std::string& path) override { std::filesystem::remove(path); }
    void flush(const std::string&) override {
        if (fallisce(Passo::Flush)) throw ui::FileError(ui::kErrIO, "scrittura su disco fallita");
    }
    void flushFolder(const std::string&) override {}
    bool ready(const std::string&) override { return false; }
    std::string mediaFolder() override { return {}; }
    void beforeCompact() override {
        if (fallisce(Passo::Compattazione)) {
            throw ui::FileError(ui::kErrIO, "compattazione fallita");
        }
    }

    static std::string leggi(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    bool fallisce(Passo passo) {
        if (guasto != passo) return false;
        if (riusciti == 0) return true;
        --riusciti;
        return false;
    }
};
