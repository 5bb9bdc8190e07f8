#pragma once

#include "edit/EdicaoEntidade.h"
#include "edit/Formulario.h"

#include <QDialog>

class QGridLayout;
class QRadioButton;
class QTabWidget;

namespace edit {

// The Qt side of an entity dialog: a QDialog built from its .ui file that adapts its widgets to the
// Formulario its logic talks to. A dialog derives from it, runs setupUi, configures its child lists
// and calls instala(logic); from then on the adapter:
// - binds the declared controls (line edits, memos, list boxes, radio groups, check boxes) to their
//   fields, loading them from the records and writing the user's changes into the edit buffers;
// - applies the declared masks and fills the list boxes from their lookup files (logic's creation);
// - reports clicks, changes, Backspace in list boxes, focus exits, page changes and closing to the
//   logic, and closes when the logic says so.
// Controls and pages are found by objectName, so the names in the .ui file are the names the logic
// uses. The dialog's pages are the pages of its first QTabWidget.
class FormularioQt : public QDialog, public Formulario
{
    Q_OBJECT
public:
    explicit FormularioQt(QWidget* parent = nullptr);
    ~FormularioQt() override;

    EdicaoEntidade* logica() const { return m_logica; }

    // Formulario.
    int modo() const override;
    QString valor(const QString& controle) const override;
    void defineValor(const QString& controle, const QString& valor) override;
    int tamanhoMaximo(const QString& controle) const override;
    bool marcado(const QString& controle) const override;
    void marca(const QString& controle, bool sim) override;
    bool habilitado(const QString& controle) const override;
    void habilita(const QString& controle, bool sim) override;
    void protege(const QString& controle, const QString& motivo) override;
    QString foco() const override;
    void foca(const QString& controle) override;
    QString pagina() const override;
    void mostraPagina(const QString& pagina) override;
    QStringList itens(const QString& controle) const override;
    void defineItens(const QString& controle, const QStringList& itens) override;
    void defineTitulo(const QString& titulo) override;
    void mostraRegistro() override;
    void fecha(Resultado resultado) override;

public slots:
    void reject() override;

protected:
    void instala(EdicaoEntidade& logica);
    // Gives the label columns (column 0) of grids nested in one another one width, the widest
    // label's, so that the fields of a panel shown inside the dialog's grid line up with the others.
    static void alinhaRotulos(const QList<QGridLayout*>& grades);
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QWidget* controle(const QString& nome) const;
    int indicePagina(const QString& nome) const;
    void carrega(const Ligacao& l);
    void escreve(const Ligacao& l);
    void usuarioMudou(const QString& controle);
    void focoMudou(QWidget* antigo, QWidget* novo);
    void paginaMudou(int indice);
    // Puts the focus in the first field of the page shown (of the dialog when it has no pages); at
    // opening, only when the logic left it elsewhere.
    void focaPrimeiroCampo(bool sempre);
    void andaPaginas(int passo);
    bool moveOpcao(QRadioButton* r, int tecla);

    EdicaoEntidade* m_logica = nullptr;
    QTabWidget* m_paginas = nullptr;
    int m_paginaAtual = 0;
    bool m_carregando = false;
    bool m_mostrado = false;
    bool m_verificando = false;
    bool m_trocandoPorPrograma = false;
    bool m_fechandoPorLogica = false;
};

} // namespace edit
