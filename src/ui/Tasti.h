#pragma once
// The keys a screen sees: printable characters by their Unicode value, and these three by their
// control codes. The key filters of the program's fields.
#include <string>

namespace ui {

inline constexpr int kTastoBackspace = 8;
inline constexpr int kTastoInvio = 13;
inline constexpr int kTastoEsc = 27;

// Passes digits and Backspace, turns every other key into 0.
int FiltraNumeri(int key);

// Key filter of decimal fields: digits, Backspace, and one "," or "." when the text holds
// neither yet. Returns the key or 0.
int FiltraNumeriVirgole(int key, const std::string& currentText);

}  // namespace ui
