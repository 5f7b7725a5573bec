#include "ui/Tasti.h"

namespace ui {

namespace {

bool cifra(int key) {
    return key >= '0' && key <= '9';
}

}  // namespace

int FiltraNumeri(int key) {
    return cifra(key) || key == kTastoBackspace ? key : 0;
}

int FiltraNumeriVirgole(int key, const std::string& currentText) {
    const bool separator = key == ',' || key == '.';
    if (!cifra(key) && !separator && key != kTastoBackspace) return 0;
    if (separator && currentText.find_first_of(",.") != std::string::npos) return 0;
    return key;
}

}  // namespace ui
