#pragma once
// The last text a screen refused, so that a save going over the fields again does not repeat
// the message the field's own check has just shown for the very same text.
#include <string>

#include "ui/Control.h"

namespace ui {

class UltimoRifiuto {
public:
    // Records that campo's text is refused; true when its message is to be shown: always on
    // leaving the field, and on a save unless that field refused that text last.
    bool daDire(const Control& campo, bool salvando) {
        const bool giaDetto = salvando && campo_ == &campo && testo_ == campo.text();
        campo_ = &campo;
        testo_ = campo.text();
        return !giaDetto;
    }

private:
    const Control* campo_ = nullptr;
    std::string testo_;
};

}  // namespace ui
