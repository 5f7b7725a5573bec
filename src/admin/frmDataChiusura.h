#pragma once
// Moves the closing date of the call later, never earlier, and never out of 2006.
#include <memory>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}

namespace admin {

class frmDataChiusura : public ui::Screen {
public:
    frmDataChiusura(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;
    void onUnload() override;

private:
    void txtDatPresentDom_Leave();
    void cmdMemorizza_Click();
    // A refusal of the new date: the message, and the focus back into the field.
    void avviso(const char* text);

    startup::ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
};

}  // namespace admin
