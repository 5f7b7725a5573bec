#include "rules/Parametri.h"

#include <stdexcept>

#include "rules/Date.h"
#include "rules/Numeri.h"

namespace rules {

namespace {

constexpr int kBando = 2006;

constexpr VoceParametro voce(Parametro chiave, TipoParametro tipo, std::string_view significato,
                             double numero, std::string_view riferimento) {
    return {chiave, tipo, significato, numero, {}, {}, kBando, riferimento};
}

constexpr VoceParametro kParametri[] = {
    voce(Parametro::AnnoBando, TipoParametro::Anno,
         "Anno del bando: le date di emissione e di chiusura vi cadono", kBando,
         "Bando regionale 2006"),
    voce(Parametro::DetrazioneFiglio, TipoParametro::Importo,
         "Detrazione dal reddito complessivo per ogni figlio a carico", 516.46,
         "Bando regionale 2006: reddito per l'accesso, detrazione per ciascun figlio a carico"),
    voce(Parametro::LimiteFasciaA, TipoParametro::Importo,
         "Limite del reddito per l'accesso della fascia A", 10931.18,
         "Bando regionale 2006: fascia A, reddito per l'accesso non superiore al limite"),
    voce(Parametro::IncrementoMassimo, TipoParametro::Percentuale,
         "Incremento massimo dei limiti di reddito o del contributo per le situazioni di "
         "particolare debolezza sociale",
         25, "Bando regionale 2006: situazioni di particolare debolezza sociale, incrementi"),
    voce(Parametro::LimiteReddito1o2, TipoParametro::Importo,
         "Limite del reddito per l'accesso della fascia B, nucleo di 1 o 2 componenti", 18515.32,
         "Bando regionale 2006: fascia B, limiti di reddito per numero di componenti"),
    voce(Parametro::LimiteReddito3, TipoParametro::Importo,
         "Limite del reddito per l'accesso della fascia B, nucleo di 3 componenti", 22588.69,
         "Bando regionale 2006: fascia B, limiti di reddito per numero di componenti"),
    voce(Parametro::LimiteReddito4, TipoParametro::Importo,
         "Limite del reddito per l'accesso della fascia B, nucleo di 4 componenti", 26291.75,
         "Bando regionale 2006: fascia B, limiti di reddito per numero di componenti"),
    voce(Parametro::LimiteReddito5oPiu, TipoParametro::Importo,
         "Limite del reddito per l'accesso della fascia B, nucleo di 5 o più componenti", 29624.51,
         "Bando regionale 2006: fascia B, limiti di reddito per numero di componenti"),
    voce(Parametro::QuotaFasciaA, TipoParametro::Percentuale,
         "Quota del reddito per l'accesso che resta a carico del nucleo, fascia A", 14,
         "Bando regionale 2006: calcolo del contributo, fascia A"),
    voce(Parametro::QuotaFasciaB, TipoParametro::Percentuale,
         "Quota del reddito per l'accesso che resta a carico del nucleo, fascia B", 24,
         "Bando regionale 2006: calcolo del contributo, fascia B"),
    voce(Parametro::TettoFasciaA, TipoParametro::Importo, "Contributo base massimo, fascia A",
         3098.74, "Bando regionale 2006: calcolo del contributo, importo massimo per la fascia A"),
    voce(Parametro::TettoFasciaB, TipoParametro::Importo, "Contributo base massimo, fascia B",
         2324.06, "Bando regionale 2006: calcolo del contributo, importo massimo per la fascia B"),
    voce(Parametro::IncidenzaMinimaA, TipoParametro::Percentuale,
         "Incidenza del canone sul reddito per l'accesso da superare, fascia A", 14,
         "Bando regionale 2006: requisiti di accesso, incidenza minima del canone, fascia A"),
    voce(Parametro::IncidenzaMinimaB, TipoParametro::Percentuale,
         "Incidenza del canone sul reddito per l'accesso da superare, fascia B", 24,
         "Bando regionale 2006: requisiti di accesso, incidenza minima del canone, fascia B"),
    {Parametro::CategorieAmmesse,
     TipoParametro::Elenco,
     "Categorie catastali ammesse",
     0,
     {},
     "A2 A3 A4 A5 A6",
     kBando,
     "Bando regionale 2006: requisiti dell'alloggio, categorie catastali"},
    voce(Parametro::UltimoAnnoContratto, TipoParametro::Anno,
         "Ultimo anno ammesso per l'inizio di validità del contratto di locazione", 2004,
         "Bando regionale 2006: requisiti del contratto di locazione"),
    voce(Parametro::AnnoRedditi, TipoParametro::Anno, "Anno dei redditi e dei canoni considerati",
         2004, "Bando regionale 2006: redditi e canoni dell'anno 2004"),
    voce(Parametro::CanonePlausibile, TipoParametro::Importo,
         "Canone annuo oltre il quale il dato va confermato", 18000,
         "Bando regionale 2006: controllo di plausibilità del canone dichiarato"),
    {Parametro::PubblicazioneDelibera,
     TipoParametro::Data,
     "Pubblicazione della D.G.R. sul B.U.R.: chi è nato dopo non fa parte del nucleo",
     0,
     store::Date{2006, 7, 13},
     {},
     kBando,
     "Bando regionale 2006: D.G.R. pubblicata sul B.U.R. del 13/07/2006"},
};

constexpr bool inOrdine() {
    int i = 0;
    for (const VoceParametro& v : kParametri) {
        if (static_cast<int>(v.chiave) != i++) return false;
    }
    return true;
}
static_assert(inOrdine(), "the table lists the parameters in the order of the enumeration");

}  // namespace

std::span<const VoceParametro> Parametri() {
    return kParametri;
}

const VoceParametro& Voce(Parametro p) {
    return kParametri[static_cast<std::size_t>(p)];
}

double ValoreParametro(Parametro p) {
    const VoceParametro& v = Voce(p);
    if (v.tipo == TipoParametro::Data || v.tipo == TipoParametro::Elenco) {
        throw std::logic_error("parametro senza valore numerico");
    }
    return v.numero;
}

store::Date DataParametro(Parametro p) {
    const VoceParametro& v = Voce(p);
    if (v.tipo != TipoParametro::Data) throw std::logic_error("parametro che non è una data");
    return v.data;
}

std::string TestoParametro(Parametro p) {
    const VoceParametro& v = Voce(p);
    switch (v.tipo) {
        case TipoParametro::Importo:
            return Euro(v.numero);
        case TipoParametro::Percentuale:
            return Formato(v.numero, kFormatoFinoADueDecimali);
        case TipoParametro::Anno:
            return Formato(v.numero, kFormatoIntero);
        case TipoParametro::Data:
            return FormattaData(v.data);
        case TipoParametro::Elenco:
            break;
    }
    return std::string(v.elenco);
}

}  // namespace rules
