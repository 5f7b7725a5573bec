#pragma once
// Files on disk for the maintenance tests, with one step made to fail, and message boxes
// recorded.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Ports.h"

enum class Passo { Nessuno, Compattazione, Copia, CopiaAMeta, Flush, Rename };

class FileGuasti : public ui::FilePort {
public:
    Passo guasto = Passo::Nessuno;

    bool exists(const std::string& path) override { return std::filesystem::exists(path); }
    void copy(const std::string& from, const std::string& to) override {
        if (guasto == Passo::Copia) throw std::runtime_error("copia fallita");
        if (guasto == Passo::CopiaAMeta) {
            const std::string dati = leggi(from);
            std::ofstream(to, std::ios::binary) << dati.substr(0, dati.size() / 2);
            throw std::runtime_error("spazio esaurito");
        }
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    }
    void rename(const std::string& from, const std::string& to) override {
        if (guasto == Passo::Rename) throw std::runtime_error("rinomina fallita");
        std::filesystem::rename(from, to);
    }
    void remove(const std::string& path) override { std::filesystem::remove(path); }
    void flush(const std::string&) override {
        if (guasto == Passo::Flush) throw std::runtime_error("scrittura su disco fallita");
    }
    bool ready(const std::string&, std::uintmax_t) override { return false; }
    std::string mediaFolder() override { return {}; }
    void beforeCompact() override {
        if (guasto == Passo::Compattazione) throw std::runtime_error("compattazione fallita");
    }

    static std::string leggi(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

class MessaggiRegistrati : public ui::MessagePort {
public:
    std::vector<std::string> testi;
    ui::Answer show(const ui::Message& m) override {
        testi.push_back(m.text);
        return m.defaultButton;
    }
};
