#include "application/Repertorio.h"

#include <algorithm>
#include <cmath>

#include "store/RowSource.h"

namespace application {

std::optional<std::string> AssegnaNumeroRepertorio(store::RowSource& datMax,
                                                   store::RowSource& datConfig) {
    const std::string codComune = datConfig.field("CodComune").toText();
    const std::string puntoLavoro = datConfig.field("Punto_lavoro").toText();
    datMax.setSource(
        "Select max(val(mid(NumRepertorio,13))) as MaxVal from domanda where "
        "left(NumRepertorio,6)=?",
        {codComune});
    datMax.requery();
    // A progressive that does not begin with a digit counts as 0, a negative one too; a
    // fraction rounds as the conversion to a whole number does, half to even.
    const double massimo = std::nearbyint(std::max(0.0, datMax.field("MaxVal").toDouble()));
    if (massimo >= kProgressivoMassimo) return std::nullopt;
    const int progressivo = static_cast<int>(massimo) + 1;

    datConfig.edit();
    datConfig.setField("Progressivo_domande", progressivo);
    datConfig.update();
    return codComune + "2005" + puntoLavoro + std::to_string(progressivo);
}

}  // namespace application
