#pragma once
// What the rules of the application screen share with it: the screen's fields (by control
// name), the screen-level flags and the call dates of the workstation.
#include <string>

#include "store/DateTime.h"
#include "ui/Screen.h"

namespace rules {

struct Contesto {
    explicit Contesto(ui::Screen& form) : f(form) {}

    ui::Screen& f;  // the application screen, frmBaseVD
    // True only while the program changes check boxes whose reactions must not run.
    bool BloccaEventi = false;
    // The contract data required for the dwelling are missing.
    bool MancaContratto = false;
    // Dates of the call, read from the configuration when the screen is activated.
    store::Date DataEmisBando;
    store::Date DataChiusBando;
    // The numeric field whose text was refused last, and that text: the registration that
    // follows at once stops without saying it again.
    const ui::Control* rifiutato = nullptr;
    std::string testoRifiutato;

    ui::Control& c(const char* name, int index = -1) const { return f.control(name, index); }
    store::Date oggi() const { return f.ports().clock->now().date; }
};

}  // namespace rules
