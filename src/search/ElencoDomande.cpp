#include "search/ElencoDomande.h"

#include "store/DbError.h"
#include "store/Text.h"

namespace search {

ElencoDomande::ElencoDomande(const std::string& archive)
    : db_(store::Database::open(archive)),
      domande_(db_, "select * from qryFormRicerca order by CognomeRich, NomeRich") {}

void ElencoDomande::setFiltro(const std::string& filtro) {
    filtro_ = filtro;
    lunghezzaFiltro_ = store::utf8Length(filtro);
}

void ElencoDomande::requery() {
    // The data version changes when another connection commits; this one only reads.
    const std::int64_t versione = db_.query("PRAGMA data_version").rows.at(0).at(0).toInt();
    if (versione != versione_) {
        domande_.requery();
        const int n = domande_.recordCount();
        cognomi_.assign(static_cast<std::size_t>(n), std::nullopt);
        for (int i = 0; i < n; ++i) {
            const store::Value cognome = domande_.fieldAt(i, "CognomeRich");
            if (!cognome.isNull()) cognomi_[static_cast<std::size_t>(i)] = cognome.toText();
        }
        versione_ = versione;
    }
    righe_.clear();
    for (std::size_t i = 0; i < cognomi_.size(); ++i) {
        if (ammessa(i)) righe_.push_back(static_cast<int>(i));
    }
}

bool ElencoDomande::ammessa(std::size_t riga) const {
    if (!filtro_) return true;
    // A null surname gives null, which equals nothing.
    const std::optional<std::string>& cognome = cognomi_[riga];
    return cognome && store::utf8Upper(store::utf8Left(*cognome, lunghezzaFiltro_)) == *filtro_;
}

store::Value ElencoDomande::field(int row, const std::string& name) const {
    if (row < 0 || row >= recordCount()) {
        throw store::DbError(store::kErrNoCurrentRow, "Nessun record corrente.",
                             "ElencoDomande.Field");
    }
    return domande_.fieldAt(righe_[static_cast<std::size_t>(row)], name);
}

}  // namespace search
