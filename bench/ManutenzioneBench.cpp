// Compaction and backup of an archive of 100,000 applications against a plain copy of the same
// file, in one run: the safe replacement (copy through the engine beside the target, check,
// flush, rename) should cost a small multiple of the plain copy.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "Banco.h"
#include "admin/FileSicuri.h"
#include "admin/Manutenzione.h"
#include "script/ScriptPorts.h"

namespace {

constexpr int kDomande = 100000;

// One archive for the three measures, made once.
struct Archivio {
    Archivio() : banco(kDomande), files(banco.modulo().paths.dataDir) {}
    const startup::Paths& paths() { return banco.modulo().paths; }
    bench::Banco banco;
    script::ScriptFiles files;
};

Archivio& archivio() {
    static Archivio a;
    return a;
}

void CopiaSemplice(benchmark::State& state) {
    Archivio& a = archivio();
    const std::string copia = a.paths().basePath() + "_copia.mdb";
    for (auto _ : state) {
        std::filesystem::copy_file(a.paths().archive(), copia);
        state.PauseTiming();
        std::filesystem::remove(copia);
        state.ResumeTiming();
    }
    state.counters["MB"] =
        static_cast<double>(std::filesystem::file_size(a.paths().archive())) / 1e6;
}
BENCHMARK(CopiaSemplice)->Unit(benchmark::kMillisecond)->Iterations(5);

// The plain copy written through to the disk.
void CopiaSuDisco(benchmark::State& state) {
    Archivio& a = archivio();
    const std::string copia = a.paths().basePath() + "_copia.mdb";
    for (auto _ : state) {
        std::filesystem::copy_file(a.paths().archive(), copia);
        a.files.flush(copia);
        state.PauseTiming();
        std::filesystem::remove(copia);
        state.ResumeTiming();
    }
}
BENCHMARK(CopiaSuDisco)->Unit(benchmark::kMillisecond)->Iterations(5);

void Compattazione(benchmark::State& state) {
    Archivio& a = archivio();
    for (auto _ : state) {
        admin::Compatta(a.files, a.paths().archive(), a.paths().compacted());
    }
}
BENCHMARK(Compattazione)->Unit(benchmark::kMillisecond)->Iterations(5);

void CopiaDiSalvataggio(benchmark::State& state) {
    Archivio& a = archivio();
    const std::string copia = a.paths().backup(1);
    for (auto _ : state) {
        admin::CopiaArchivio(a.files, a.paths().archive(), copia);
        state.PauseTiming();
        std::filesystem::remove(copia);
        state.ResumeTiming();
    }
}
BENCHMARK(CopiaDiSalvataggio)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
