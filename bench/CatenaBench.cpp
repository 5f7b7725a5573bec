// One full recalculation after the operator leaves the rent field: income, band, incidence,
// weakness options, admissibility and contribution, through the field texts.
#include <benchmark/benchmark.h>

#include "Banco.h"
#include "ui/Screen.h"

namespace {

void CatenaUscitaCanone(benchmark::State& state) {
    bench::Banco banco(0);
    banco.modulo().ApriDomanda(std::nullopt);
    ui::Screen& f = *banco.program().loaded("frmBaseVD");
    auto testo = [&f](const char* name, const char* value, int index = -1) {
        f.control(name, index).setText(value);
    };
    testo("txtDatPresentDom", "01/09/2006");
    testo("txtCognomeRich", "ROSSI");
    testo("txtNomeRich", "MARIO");
    for (int i = 0; i < 4; ++i) {
        testo("txtNucleoNome", "ROSSI COMPONENTE", i);
        testo("txtNucleoRedditoEur", "3.000,00", i);
    }
    f.control("chkDebolSfratto").setValue(1);
    ui::Control& canone = f.control("txtCanoneTotaleEur");
    bool alterna = false;
    for (auto _ : state) {
        canone.setText(alterna ? "4000" : "4100");
        alterna = !alterna;
        f.operatorFocus(canone);
        f.operatorLeave();
        benchmark::DoNotOptimize(f.control("txtContribRichiesto").text());
    }
}
BENCHMARK(CatenaUscitaCanone)->Unit(benchmark::kMicrosecond);

}  // namespace
