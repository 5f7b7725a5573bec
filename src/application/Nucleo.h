#pragma once
// The eleven household rows of the application screen, positions 0 to 10 (0 is the applicant):
// name, relationship, birth date, profession and income, stored in NucleoFam with
// ProgrNucleo = position + 1.
#include <string>
#include <vector>

#include "ui/Control.h"

namespace store {
class Database;
class RowSource;
struct DateTime;
}  // namespace store
namespace ui {
class Screen;
}

namespace application {

inline constexpr int kRigheNucleo = 11;

// Adds the controls of the rows to the screen on the given tab page, row by row in focus
// order, with the reactions that stay within a row; the screen adds those that run the rules.
void AggiungiRigheNucleo(ui::Screen& s, int pagina);

// A list left with text that matches none of its entries loses its value.
void SvuotaSeNonInElenco(ui::Control& lista);

// The entries of a list: code and shown text from two columns of every row of the source.
std::vector<ui::ListItem> VociLista(store::RowSource& rs, const char* codice,
                                    const char* descrizione);

// Fills the relationship lists (row 0 from qryParentRichied, the others from
// qryParentNoRichied) and the profession lists (Tab_Professione).
void CaricaListeNucleo(ui::Screen& s, store::Database& db);

// Shows the stored rows of an application; positions without a stored row become empty.
void CaricaNucleo(ui::Screen& s, store::RowSource& datNucleo, const std::string& numRepertorio);

// Empties all five fields of every row.
void PulisciNucleo(ui::Screen& s);

// Inserts one NucleoFam row for each position whose trimmed name is not empty; blank rows are
// skipped, so ProgrNucleo keeps the screen position.
void MemorizzaNucleo(const ui::Screen& s, store::Database& db, const std::string& numRepertorio,
                     const store::DateTime& adesso);

}  // namespace application
