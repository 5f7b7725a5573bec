#pragma once
// The figures of the call: the regional call of 2006, which assesses the rents and incomes of
// 2004. Each entry has its meaning, its value, the year of the call it belongs to and the text
// it comes from. The rules read these figures here and nowhere else; a new call is a new table.
#include <span>
#include <string>
#include <string_view>

#include "store/DateTime.h"

namespace rules {

enum class Parametro {
    AnnoBando,
    DetrazioneFiglio,
    LimiteFasciaA,
    IncrementoMassimo,
    LimiteReddito1o2,
    LimiteReddito3,
    LimiteReddito4,
    LimiteReddito5oPiu,
    QuotaFasciaA,
    QuotaFasciaB,
    TettoFasciaA,
    TettoFasciaB,
    IncidenzaMinimaA,
    IncidenzaMinimaB,
    CategorieAmmesse,
    UltimoAnnoContratto,
    AnnoRedditi,
    CanonePlausibile,
    PubblicazioneDelibera,
};

enum class TipoParametro {
    Importo,      // Euro
    Percentuale,  // per cent
    Anno,
    Data,
    Elenco,  // admitted values separated by blanks
};

struct VoceParametro {
    Parametro chiave;
    TipoParametro tipo;
    std::string_view significato;
    double numero;            // Importo, Percentuale, Anno
    store::Date data;         // Data
    std::string_view elenco;  // Elenco
    int annoBando;            // the year of the call the figure belongs to
    std::string_view riferimento;
};

// Every entry, in the order of the enumeration.
std::span<const VoceParametro> Parametri();

const VoceParametro& Voce(Parametro p);
// The number of an Importo, Percentuale or Anno entry.
double ValoreParametro(Parametro p);
// The date of a Data entry.
store::Date DataParametro(Parametro p);

// The entry's value as the screens write it: amounts "#,##0.00", percentages and years as
// whole numbers when whole, dates dd/mm/yyyy, lists as written.
std::string TestoParametro(Parametro p);

}  // namespace rules
