#pragma once
// The administration screens that change the workstation's configuration row: their own
// connection and row source on it, opened when the screen loads and closed when it goes, and
// the number entry shared by the two money screens.
#include <memory>
#include <optional>
#include <string>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Rifiuto.h"
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

    // Gives an amount field of the two money screens its handlers: the key filter (a second
    // separator passes), "#0.00" while it is edited, "#,##0.00" after it is left.
    void CampoImporto(ui::Control& campo);
    // Leaving a numeric field: a text that does not read as the operator may write a number
    // (an amount also no larger than the field can show, rules::LeggiImporto) is refused with
    // "Valore non valido", stays as it is and keeps the focus. A blank text is 0.
    std::optional<double> ControllaCampo(ui::Control& campo, bool importo);
    // The number of a field as a store takes it, read as ControllaCampo does: nothing after
    // "Valore non valido" with the focus on the field, not said again when the field's own
    // leave has just refused the same text.
    std::optional<double> NumeroDaMemorizzare(ui::Control& campo, bool importo);

private:
    void Rifiuta(ui::Control& campo, bool memorizzando);

    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
    ui::UltimoRifiuto rifiuto_;
};

}  // namespace admin
