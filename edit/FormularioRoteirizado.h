#pragma once

#include "edit/DialogoEdicao.h"
#include "edit/EdicaoEntidade.h"
#include "edit/Formulario.h"

#include <QMap>
#include <QSet>

#include <functional>
#include <memory>

namespace edit {

// A form without widgets for the tests of a dialog's logic (and for any caller without a display).
// Bound controls read and write their records as the Qt form does; the others keep their values here.
// The test acts as the user: digita, marcaCaixa, clica, saiPara, vaiParaPagina, fechaJanela.
class FormularioRoteirizado : public Formulario
{
public:
    FormularioRoteirizado() = default;

    // Attaches the logic (its declarations) and runs its creation, as a Qt form does in its constructor.
    void instala(EdicaoEntidade& logica);
    EdicaoEntidade* logica() const { return m_logica; }

    // The dialog handed to AbreEdicao: its exec() shows the form, runs `roteiro` (the user's part),
    // and returns 1 for OK, 2 for Cancel, 0 when the script left the dialog open.
    std::unique_ptr<DialogoEdicao> dialogo(std::function<void()> roteiro);

    // The user.
    void digita(const QString& controle, const QString& texto);
    void marcaCaixa(const QString& controle, bool sim);
    void clica(const QString& controle);
    bool saiPara(const QString& proximo);  // the focus leaves the active control
    bool vaiParaPagina(const QString& pagina);
    void fechaJanela();                    // title-bar close or Esc
    // The user reaches the control with Tab (the focus leaves the active one) and types `teclas`
    // ('\b' is Backspace), as the Qt form takes them: a line edit or masked edit entered by Tab has
    // its content selected, so the keys replace it (masks read them as edit/Digitacao.h does); a list
    // box picks its first item that begins with them; a check box toggles on a blank. False when the
    // exit check of the control left refused.
    bool teclas(const QString& controle, const QString& teclas);

    bool fechado() const { return m_fechado; }
    Resultado resultadoFinal() const { return m_resultado; }
    QString titulo() const { return m_titulo; }
    QString motivoProtecao(const QString& controle) const { return m_protegidos.value(controle); }

    int tag = 0;

    // Formulario.
    int modo() const override { return tag; }
    QString valor(const QString& controle) const override;
    void defineValor(const QString& controle, const QString& valor) override;
    int tamanhoMaximo(const QString& controle) const override;
    bool marcado(const QString& controle) const override { return m_marcados.value(controle); }
    void marca(const QString& controle, bool sim) override { m_marcados[controle] = sim; }
    bool habilitado(const QString& controle) const override { return !m_desabilitados.contains(controle); }
    void habilita(const QString& controle, bool sim) override;
    void protege(const QString& controle, const QString& motivo) override;
    QString foco() const override { return m_foco; }
    void foca(const QString& controle) override { m_foco = controle; }
    QString pagina() const override { return m_pagina; }
    void mostraPagina(const QString& pagina) override { m_pagina = pagina; }
    QStringList itens(const QString& controle) const override { return m_itens.value(controle); }
    void defineItens(const QString& controle, const QStringList& itens) override { m_itens[controle] = itens; }
    void defineTitulo(const QString& titulo) override { m_titulo = titulo; }
    void mostraRegistro() override {}
    void fecha(Resultado resultado) override;

private:
    EdicaoEntidade* m_logica = nullptr;
    QMap<QString, QString> m_valores;
    QMap<QString, bool> m_marcados;
    QSet<QString> m_desabilitados;
    QMap<QString, QString> m_protegidos;
    QMap<QString, QStringList> m_itens;
    QString m_foco, m_pagina, m_titulo;
    bool m_fechado = false;
    Resultado m_resultado = Resultado::Nenhum;
};

} // namespace edit
