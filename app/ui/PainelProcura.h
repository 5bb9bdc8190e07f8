#pragma once

#include "edit/Procura.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QDockWidget;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace app::ui {

class TfrmMenu1;

// The main window's find: a search field in the toolbar (Ctrl+F), the results grouped by page in a
// panel under the pages, updated a moment after the user stops typing. Choosing a result shows its
// page and selects its record in the grid; Enter opens it (Editar); F3 and Shift+F3 go to the next
// and the previous result.
class PainelProcura final : public QObject
{
    Q_OBJECT
public:
    explicit PainelProcura(TfrmMenu1& janela);
    ~PainelProcura() override;

    QLineEdit* campo() const { return m_campo; }
    QTreeWidget* lista() const { return m_lista; }  // null until the first search
    QDockWidget* doca() const { return m_doca; }
    const edit::ResultadoDaProcura& resultado() const { return m_resultado; }

    // Runs the search now with the field's text (the field's timer does it as the user types).
    void atualiza();
    // Result `i` (in the order of resultado().achados): shows its page and selects its record.
    void escolhe(int i);
    void abre(int i);     // Editar of the result's record
    void vai(int passo);  // F3 (+1), Shift+F3 (-1) from the current result
    int atual() const;    // the result chosen in the list; -1 when none

    static constexpr int Limite = 1000;       // results listed; the count tells them all
    static constexpr int EsperaDigitacao = 40;  // ms after the last key

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void criaDoca();
    void preenche();
    void ligaTabelas();
    bool mostraFolha(const QString& folha);
    void marcaNoMemo(const edit::Achado& a);

    TfrmMenu1& m_janela;
    QLineEdit* m_campo = nullptr;
    QTimer* m_espera = nullptr;
    QDockWidget* m_doca = nullptr;
    QLabel* m_contagem = nullptr;
    QTreeWidget* m_lista = nullptr;
    edit::Procura m_procura;
    edit::ResultadoDaProcura m_resultado;
    QString m_texto;  // the text m_resultado answers
    std::vector<QTreeWidgetItem*> m_itens;  // one per listed result
    std::vector<QMetaObject::Connection> m_ligacoes;
    bool m_escolhendo = false;
};

} // namespace app::ui
