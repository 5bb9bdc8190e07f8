#pragma once

#include "edit/ImportacaoPublicacoes.h"

#include <QDialog>
#include <QScopedPointer>

class QWidget;

namespace Ui {
class TfrmImportarPublicacoes;
}

namespace edit::ui {

// The preview of an import of publications: each entry of the file with the fields it would be written
// with and its fate (import, duplicate or refused, and why), a check box on each entry to import, and
// the choices made once for the whole file (area of knowledge, qualification, country, the type of
// entries whose type maps to none). Writes nothing: Importar closes it with the entries left ticked.
class TfrmImportarPublicacoes final : public QDialog
{
    Q_OBJECT
public:
    TfrmImportarPublicacoes(Importacao importacao, OpcoesImportacao opcoes, const QString& arquivo,
                            QWidget* parent = nullptr);
    ~TfrmImportarPublicacoes() override;

    const Importacao& importacao() const { return m_importacao; }
    const OpcoesImportacao& opcoes() const { return m_opcoes; }

private:
    void reavalia();
    void preenche();
    void mostraResumo();
    void escolheArea();
    void importar();

    const QScopedPointer<Ui::TfrmImportarPublicacoes> m_ui;
    Importacao m_importacao;
    OpcoesImportacao m_opcoes;
    bool m_preenchendo = false;
};

// The command of the publications page and of the menu: asks for a BibTeX or RIS file, shows the
// preview and writes the ticked entries in one step, with the wait window's progress and Cancelar.
void ImportaPublicacoes(QWidget* pai);

} // namespace edit::ui
