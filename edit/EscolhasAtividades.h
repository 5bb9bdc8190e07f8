#pragma once

#include <QString>

#include <functional>

namespace store {
class Table;
}

namespace edit {

// How the activity, resource and analysis dialogs add a chosen item to a child list: a knowledge
// area, an access form of a database, a corrective action of a problem. The choice dialogs are
// windows, so the logic reaches them through these replaceable entries. With nothing installed they
// open the choice dialogs of edit/Escolha.h (TfrmConhec, TfrmAcesso, TfrmAcoes); tests install
// scripted choices. Each returns true when the user confirmed a choice.
struct EscolhasAtividades {
    // Appends a row to `filho` and lets the user choose its description; the row is linked to
    // `valorLigacao` through `campoLigacao` (see IncluiAreaConhec of the editing helpers).
    std::function<bool(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo,
                       const QString& valorLigacao)>
        areaConhec;
    // An access form of the database named `base` (or of the new base's marker).
    std::function<bool(store::Table& acessos, const QString& base, int modo)> acesso;
    // A corrective action of the problem `problema`.
    std::function<bool(store::Table& acoes, const QString& problema, int modo)> acaoCorretiva;
};

EscolhasAtividades& EscolhasDeAtividades();
// Installs `novas`, returning the previous ones.
EscolhasAtividades TrocaEscolhasAtividades(EscolhasAtividades novas);

bool EscolheAreaConhec(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo,
                       const QString& valorLigacao);
bool EscolheAcesso(store::Table& acessos, const QString& base, int modo);
bool EscolheAcaoCorretiva(store::Table& acoes, const QString& problema, int modo);

} // namespace edit
