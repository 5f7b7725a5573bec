#pragma once
// The main menu: the workstation's data and every activity of the program.
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {

class ModuloVD2005;

class frmInizio : public ui::Screen {
public:
    frmInizio(ui::Program& program, ModuloVD2005& modulo);

    void onActivate() override;
    void onUnload() override;

    // Close and reopen the menu's own connection to the archive, so that the file can be
    // copied or replaced in between. The display fields keep their text meanwhile.
    void DisconnettiDB();
    void RiconnettiDB();
    // The rows of the statistics report; nullptr while the menu has no connection.
    store::RowSource* datDomanda() { return datDomanda_.get(); }
    // Rows of the statistics report as the last activation left them; nullptr while the menu
    // has no connection to the archive.
    store::RowSource* datDomanda() const { return datDomanda_.get(); }

private:
    // A command that exists as a button and as an entry of the "Gestione" menu.
    void comando(ui::Control& button, ui::Control& menu, bool available, std::function<void()> run);
    void voceUtilita(ui::Control& menu, bool available, std::function<void()> run);
    void apri(const std::string& screen);
    // The menu's own connection and data sources, opened on first use.
    void apriDati();

    ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
    std::unique_ptr<store::RowSource> datComuni_;
    std::unique_ptr<store::RowSource> datDomanda_;
};

}  // namespace startup
