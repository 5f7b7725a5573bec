#include "rules/Controlli.h"

#include "rules/Calcoli.h"
#include "rules/Date.h"
#include "rules/Parametri.h"
#include "store/Text.h"

namespace rules {

EsitoCodiceFiscale VerificaCodiceFiscale(const std::string& codice) {
    const std::string c = SenzaSpazi(codice);
    const std::size_t lunghezza = store::utf8Length(c);
    if (lunghezza > 0 && lunghezza < 16) return EsitoCodiceFiscale::Corto;
    if (lunghezza == 16 && !CodiceFiscaleConforme(c)) return EsitoCodiceFiscale::NonConforme;
    return EsitoCodiceFiscale::Accettato;
}

EsitoPresentazione VerificaPresentazione(const std::string& testo, const Bando& b) {
    if (testo.empty()) return EsitoPresentazione::Vuota;
    const auto data = LeggiData(testo);
    if (!data) return EsitoPresentazione::NonValida;
    if (*data < b.emissione) return EsitoPresentazione::PrimaEmissione;
    if (*data > b.chiusura) return EsitoPresentazione::DopoChiusura;
    if (*data > b.oggi) return EsitoPresentazione::DopoOggi;
    return EsitoPresentazione::Valida;
}

EsitoData VerificaDataContratto(const std::string& testo, const store::Date& oggi) {
    if (testo.empty()) return EsitoData::Accettata;
    const auto data = LeggiData(testo);
    if (!data) return EsitoData::NonValida;
    return *data > oggi ? EsitoData::Futura : EsitoData::Accettata;
}

EsitoData VerificaNascita(const std::string& testo) {
    if (testo.empty()) return EsitoData::Accettata;
    const auto data = LeggiData(testo);
    if (!data) return EsitoData::NonValida;
    return *data > DataParametro(Parametro::PubblicazioneDelibera) ? EsitoData::DopoPubblicazione
                                                                   : EsitoData::Accettata;
}

bool CanoneDaConfermare(double canone) {
    return canone > ValoreParametro(Parametro::CanonePlausibile);
}

bool PercentualeAmmessa(double p) {
    return !(p > ValoreParametro(Parametro::IncrementoMassimo) || p < 0);
}

EsitoSuperficie VerificaSuperficie(double mq) {
    if (mq >= kSuperficieMassima) return EsitoSuperficie::Eccessiva;
    if (mq > kSuperficieDaConfermare) return EsitoSuperficie::DaConfermare;
    return EsitoSuperficie::Accettata;
}

StatoRiga EsaminaRiga(const Componente& c) {
    const bool nome = !SenzaSpazi(c.nome).empty();
    const bool parentela = !c.parentela.empty();
    const bool nascita = c.nascita.has_value();
    const bool professione = !c.professione.empty();
    StatoRiga stato;
    stato.manca = !nome || !parentela || !nascita || !professione || !c.reddito;
    stato.presente =
        nome || parentela || nascita || professione || (c.reddito && !c.redditoSoloZero);
    return stato;
}

bool MancanoDatiContratto(const Domanda& d) {
    const Contratto& c = d.contratti[0];
    if (d.nonRegistrato) return !c.inizio;
    return c.numero.empty() || !c.registrazione || !c.inizio;
}

Verifica ValidaCampi(const Domanda& d) {
    if (d.cognome.empty() || d.nome.empty() || !d.presentazione) {
        return {Completezza::MancaIlMinimo};
    }
    for (int i = 0; i < kRigheNucleo; ++i) {
        const StatoRiga stato = EsaminaRiga(d.nucleo[static_cast<std::size_t>(i)]);
        if (stato.manca && stato.presente) return {Completezza::RigaIncompleta, i};
    }
    const bool mancanti = d.codiceFiscale.empty() || d.comune.empty() || d.indirizzo.empty() ||
                          EsaminaRiga(d.nucleo[0]).manca || d.categoria.empty() || d.canoneVuoto ||
                          MancanoDatiContratto(d);
    return {mancanti ? Completezza::MancanoDatiFondamentali : Completezza::Completa};
}

}  // namespace rules
