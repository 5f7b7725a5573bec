#include "application/Nucleo.h"

#include "rules/Date.h"
#include "rules/Numeri.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"
#include "ui/Tasti.h"

namespace application {

namespace {

bool vuotoDopoTrim(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

void AggiungiRigheNucleo(ui::Screen& s, int pagina) {
    for (int i = 0; i < kRigheNucleo; ++i) {
        auto& nome = s.add(ui::Kind::TextBox, "txtNucleoNome", i);
        auto& parent = s.add(ui::Kind::ComboBox, "cmbNucleoParent", i);
        auto& nascita = s.add(ui::Kind::DateBox, "txtNucleoDatNasc", i);
        auto& profes = s.add(ui::Kind::ComboBox, "cmbNucleoProfes", i);
        auto& reddito = s.add(ui::Kind::TextBox, "txtNucleoRedditoEur", i);
        for (ui::Control* c : {&nome, &parent, &nascita, &profes, &reddito}) c->page = pagina;
        reddito.rightAligned = true;
        reddito.maxLength = 17;  // as the rent
        reddito.onKeyPress = [&reddito](int& key) {
            key = ui::FiltraNumeriVirgole(key, reddito.text());
        };
        // The applicant's own row always shows the applicant's relationship.
        if (i == 0) parent.onEnter = [&parent] { parent.setBoundValue("0"); };
    }
}

void SvuotaSeNonInElenco(ui::Control& lista) {
    if (lista.listIndex() < 0) lista.setBoundValue("");
}

std::vector<ui::ListItem> VociLista(store::RowSource& rs, const char* codice,
                                    const char* descrizione) {
    rs.requery();
    std::vector<ui::ListItem> voci;
    for (int r = 0; r < rs.recordCount(); ++r) {
        voci.push_back({rs.fieldAt(r, codice).toText(), rs.fieldAt(r, descrizione).toText()});
    }
    return voci;
}

void CaricaListeNucleo(ui::Screen& s, store::Database& db) {
    store::RowSource datParent1(db, "qryParentRichied");
    store::RowSource datParent2(db, "qryParentNoRichied");
    store::RowSource datProfes(db, "Tab_Professione");
    const auto richiedente = VociLista(datParent1, "CodParent", "DescriParent");
    const auto altri = VociLista(datParent2, "CodParent", "DescriParent");
    const auto professioni = VociLista(datProfes, "CodProfes", "DescriProfes");
    for (int i = 0; i < kRigheNucleo; ++i) {
        s.control("cmbNucleoParent", i).setItems(i == 0 ? richiedente : altri);
        s.control("cmbNucleoProfes", i).setItems(professioni);
    }
}

void CaricaNucleo(ui::Screen& s, store::RowSource& datNucleo, const std::string& numRepertorio) {
    datNucleo.requery();
    for (int i = 0; i < kRigheNucleo; ++i) {
        const bool trovato =
            datNucleo.findFirst("NumRepertorio=? and ProgrNucleo=?", {numRepertorio, i + 1});
        auto campo = [&](const char* nome) {
            return trovato ? datNucleo.field(nome) : store::Value();
        };
        s.control("txtNucleoNome", i).setText(campo("CognomeNome").toText());
        s.control("cmbNucleoParent", i).setBoundValue(campo("CodParent").toText());
        s.control("txtNucleoDatNasc", i)
            .setText(rules::FormattaDataMemorizzata(campo("DataNascita").toText()));
        s.control("cmbNucleoProfes", i).setBoundValue(campo("CodProfes").toText());
        const store::Value reddito = campo("RedditoEur");
        s.control("txtNucleoRedditoEur", i)
            .setText(reddito.isNull() ? "" : rules::Euro(reddito.toDouble()));
    }
}

void PulisciNucleo(ui::Screen& s) {
    for (int i = 0; i < kRigheNucleo; ++i) {
        s.control("txtNucleoNome", i).setText("");
        s.control("cmbNucleoParent", i).setBoundValue("");
        s.control("txtNucleoDatNasc", i).setText("");
        s.control("cmbNucleoProfes", i).setBoundValue("");
        s.control("txtNucleoRedditoEur", i).setText("");
    }
}

void MemorizzaNucleo(const ui::Screen& s, store::Database& db, const std::string& numRepertorio,
                     const store::DateTime& adesso) {
    for (int i = 0; i < kRigheNucleo; ++i) {
        const std::string& nome = s.control("txtNucleoNome", i).text();
        if (vuotoDopoTrim(nome)) continue;
        const auto nascita = rules::LeggiData(s.control("txtNucleoDatNasc", i).text());
        const std::string reddito = rules::FormatoTesto(s.control("txtNucleoRedditoEur", i).text(),
                                                        rules::kFormatoInModifica);
        db.execute(
            "Insert into NucleoFam (NumRepertorio, ProgrNucleo, CognomeNome, CodParent, "
            "DataNascita, CodProfes, RedditoEur, DataRegistrazione) values (?, ?, ?, ?, ?, ?, ?, "
            "?)",
            {numRepertorio, i + 1, nome, s.control("cmbNucleoParent", i).boundValue(),
             nascita ? store::Value(nascita->iso()) : store::Value(),
             s.control("cmbNucleoProfes", i).boundValue(), rules::Valore(reddito), adesso.iso()});
    }
}

}  // namespace application
