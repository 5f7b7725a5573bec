#pragma once
// Records the municipality's total co-financing of the call. The amount entry of this screen
// is shared with frmContributoConc.
#include <memory>
#include <optional>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}

namespace admin {

// Every "." of the field becomes ","; text that then is not a number is refused with
// "Valore non valido" and keeps the focus. Returns the number read.
std::optional<double> NormalizzaCampo(ui::Screen& screen, ui::Control& campo);

// Gives an amount field of the two money screens its handlers: the key filter (a second
// separator passes), "#0.00" while it is edited, "#,##0.00" after it is left.
void CampoImporto(ui::Screen& screen, ui::Control& campo);

// The amount of a field rounded to cents; nothing when the field does not read as a number,
// which its leave handling has just reported.
std::optional<double> ImportoCampo(const ui::Control& campo);

class frmCoFinanz : public ui::Screen {
public:
    frmCoFinanz(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;
    void onActivate() override;
    void onUnload() override;

private:
    void cmdAggiorna_Click();

    startup::ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
};

}  // namespace admin
