#pragma once
// The administration screens that change the workstation's configuration row: their own
// connection and row source on it, opened when the screen loads and closed when it goes, and
// the amount entry shared by the two money screens.
#include <memory>
#include <optional>
#include <string>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}

namespace admin {

class SchermataConfigurazione : public ui::Screen {
public:
    SchermataConfigurazione(ui::Program& program, std::string name, std::string title,
                            startup::ModuloVD2005& modulo);

    // Opens the connection and moves to the configuration row.
    void onLoad() override;
    void onUnload() override;

protected:
    startup::ModuloVD2005& modulo_;
    store::RowSource& datConfig() { return *datConfig_; }
    // Re-reads the configuration row.
    void rileggi();

private:
    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
};

// Every "." of the field becomes ","; text that then is not a number is refused with
// "Valore non valido" and keeps the focus. Returns the number read.
std::optional<double> NormalizzaCampo(ui::Screen& screen, ui::Control& campo);

// Gives an amount field of the two money screens its handlers: the key filter (a second
// separator passes), "#0.00" while it is edited, "#,##0.00" after it is left.
void CampoImporto(ui::Screen& screen, ui::Control& campo);

// The amount of a field rounded to cents; nothing when the field does not read as a number,
// which its leave handling has just reported.
std::optional<double> ImportoCampo(const ui::Control& campo);

}  // namespace admin
