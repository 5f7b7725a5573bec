// One keystroke in the search screen's surname filter on an archive of 100,000 applications:
// the list narrowed and the counter updated.
#include <benchmark/benchmark.h>

#include "Banco.h"
#include "ui/Screen.h"

namespace {

void RicercaFiltroTasto(benchmark::State& state) {
    bench::Banco banco(static_cast<int>(state.range(0)));
    ui::Screen& s = banco.program().show("frmRicercaVD", true);
    ui::Control& filtro = s.control("txtFiltroCognome");
    bool alterna = false;
    for (auto _ : state) {
        filtro.setText(alterna ? "RO" : "RU");
        alterna = !alterna;
        benchmark::DoNotOptimize(s.control("txtNumRecFiltro").text());
    }
}
BENCHMARK(RicercaFiltroTasto)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
