#pragma once
// The print selection: the application forms, the complete list, the list with right by band,
// the lists of excluded applications and the need statement for the Region.
#include <memory>
#include <string>

#include "reports/Report.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}
namespace store {
class DbError;
}

namespace reports {

class frmStampeVD : public ui::Screen {
public:
    frmStampeVD(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;
    void onActivate() override;
    void onUnload() override;

private:
    // Shows the frames of the selected report type and hides the others.
    void AccendiSpegni();
    // The rows of the excluded applications meeting the condition, in the chosen order.
    std::string ComponiQueryEscluse(const std::string& sParametro1) const;
    // Prints crpStampe on the rows of the statement; false when it could not be printed.
    bool AvviaStampa(const std::string& sParametro1);
    void cmdStampe_Click();
    // A report definition in the program's folder.
    std::string definizione(const char* nome) const;
    void segnala(const store::DbError& e);

    startup::ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datDomanda_;
    std::unique_ptr<store::RowSource> datFabbisogno_;
    std::unique_ptr<store::RowSource> datComuni_;
    std::unique_ptr<store::RowSource> datConfig_;
    Report crpStampe_{*this};
    Report crpFabbisogno_{*this};
};

}  // namespace reports
