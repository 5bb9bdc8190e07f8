#pragma once

#include "core/Interacao.h"

#include <QString>

#include <functional>
#include <optional>

// The checks of the publication dialog's Confirmar, apart from the dialog, so that whatever else
// makes publications (the import of reference files) refuses exactly what the dialog refuses.
namespace edit {

// A publication's values as Confirmar reads them from the record: trimmed, the date as stored.
struct ValoresPublicacao {
    QString tipo, qualificacao, titulo, autor, veiculo, pais, data;
    bool temArea = false;
};

// Why the dialog refuses a publication: the message and its icon, and the page and control the
// dialog then sends the user to.
struct RecusaPublicacao {
    QString mensagem;
    app::Icone icone = app::Icone::Erro;
    QString pagina, foco;
    bool duplicada = false;  // the duplicate test refused it; every check before it passed
};

// The date check, first of all: `data` is the date edit's text (the empty mask or a "dd/mm/yy[yy]"
// date) and comes back with its year completed; `assinatura` is the project's signature date.
std::optional<RecusaPublicacao> VerificaDataPublicacao(QString& data, const QString& assinatura);

// The checks after the date is stored, in the dialog's order: required fields, a knowledge area,
// apostrophes in the title and the vehicle, and last the duplicate test, which `duplicada` answers
// (another live publication with the same title and vehicle).
std::optional<RecusaPublicacao> VerificaPublicacao(const ValoresPublicacao& v, const std::function<bool()>& duplicada);

} // namespace edit
