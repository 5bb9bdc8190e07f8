#pragma once

#include "reports/Documento.h"

#include <QDialog>
#include <QScopedPointer>

class QAction;
class QCheckBox;
class QMenu;

namespace Ui {
class TfrmImpressao;
}

namespace reports::ui {

// The print selection: the user ticks the folders of the project and previews, prints or saves the
// document as a PDF file. Every button closes the dialog when its command ends, whatever the outcome.
class TfrmImpressao final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImpressao(QWidget* pai = nullptr);
    ~TfrmImpressao() override;

    // The ticked folders, in the order of the boxes.
    QList<Pasta> pastasMarcadas() const;
    QMenu* menuDasPastas() const { return m_menu; }

    // Opens the dialog modally over the main window (the Print command).
    static void Executa(QWidget* pai);

private:
    enum class Saida { Impressora, Visualizacao, Pdf };

    void BtnOkClick(Saida saida);
    void pmiMarcarTodosClick(int tag);
    void gera(Saida saida, Composto& composto);

    const QScopedPointer<Ui::TfrmImpressao> m_ui;
    QMenu* m_menu = nullptr;
    QList<QCheckBox*> m_pastas;
};

} // namespace reports::ui
