#include "edit/FormularioRoteirizado.h"

#include "store/Table.h"

namespace edit {

namespace {

class DialogoRoteirizado : public DialogoEdicao
{
public:
    DialogoRoteirizado(FormularioRoteirizado& form, std::function<void()> roteiro)
        : m_form(form)
        , m_roteiro(std::move(roteiro))
    {
    }
    int tag() const override { return m_form.tag; }
    void setTag(int tag) override { m_form.tag = tag; }
    int exec() override
    {
        m_form.logica()->mostra();
        if (m_roteiro && !m_form.fechado())
            m_roteiro();
        switch (m_form.resultadoFinal()) {
        case Resultado::Ok:
            return 1;
        case Resultado::Cancelar:
            return 2;
        case Resultado::Nenhum:
            break;
        }
        return 0;
    }

private:
    FormularioRoteirizado& m_form;
    std::function<void()> m_roteiro;
};

// What a bound control shows of its field's text (radio groups and check boxes: the stored value).
QString campo(const Ligacao& l) { return l.tabela->value(l.campo); }

} // namespace

void FormularioRoteirizado::instala(EdicaoEntidade& logica)
{
    m_logica = &logica;
    logica.cria();
}

std::unique_ptr<DialogoEdicao> FormularioRoteirizado::dialogo(std::function<void()> roteiro)
{
    m_fechado = false;
    m_resultado = Resultado::Nenhum;
    return std::make_unique<DialogoRoteirizado>(*this, std::move(roteiro));
}

QString FormularioRoteirizado::valor(const QString& controle) const
{
    if (m_logica)
        if (const Ligacao* l = m_logica->ligacao(controle))
            return campo(*l);
    return m_valores.value(controle);
}

void FormularioRoteirizado::defineValor(const QString& controle, const QString& valor)
{
    if (m_logica)
        if (const Ligacao* l = m_logica->ligacao(controle)) {
            l->tabela->setValue(l->campo, valor);
            return;
        }
    QString v = valor;
    if (m_logica && m_logica->mascara(controle))
        v.replace(QLatin1Char('_'), QLatin1Char(' '));
    m_valores[controle] = v;
}

int FormularioRoteirizado::tamanhoMaximo(const QString& controle) const
{
    if (m_logica)
        if (const Mascara* m = m_logica->mascara(controle))
            return m->tamanho();
    return 32767;
}

void FormularioRoteirizado::habilita(const QString& controle, bool sim)
{
    if (sim)
        m_desabilitados.remove(controle);
    else
        m_desabilitados.insert(controle);
}

void FormularioRoteirizado::protege(const QString& controle, const QString& motivo)
{
    habilita(controle, false);
    m_protegidos[controle] = motivo;
}

void FormularioRoteirizado::fecha(Resultado resultado)
{
    m_fechado = true;
    m_resultado = resultado;
}

void FormularioRoteirizado::digita(const QString& controle, const QString& texto)
{
    if (!habilitado(controle))
        return;
    m_foco = controle;
    defineValor(controle, texto);
    m_logica->mudou(controle);
}

void FormularioRoteirizado::marcaCaixa(const QString& controle, bool sim)
{
    if (!habilitado(controle))
        return;
    m_foco = controle;
    if (const Ligacao* l = m_logica->ligacao(controle); l && l->valores.size() >= 2)
        l->tabela->setValue(l->campo, sim ? l->valores.at(0) : l->valores.at(1));
    else
        m_marcados[controle] = sim;
    m_logica->mudou(controle);
}

void FormularioRoteirizado::clica(const QString& controle)
{
    if (!habilitado(controle) || m_fechado)
        return;
    // Clicking moves the focus to the button first, as a window does.
    if (!m_foco.isEmpty() && m_foco != controle && !saiPara(controle))
        return;
    m_foco = controle;
    m_logica->clicou(controle);
}

bool FormularioRoteirizado::saiPara(const QString& proximo)
{
    const QString de = m_foco;
    if (de.isEmpty() || de == proximo) {
        m_foco = proximo;
        return true;
    }
    if (!m_logica->saiu(de, proximo))
        return false;
    if (m_foco == de)
        m_foco = proximo;
    return true;
}

bool FormularioRoteirizado::vaiParaPagina(const QString& pagina)
{
    if (pagina == m_pagina)
        return true;
    if (!m_logica->trocandoPagina(m_pagina, pagina))
        return false;
    m_pagina = pagina;
    return true;
}

void FormularioRoteirizado::fechaJanela()
{
    if (m_fechado)
        return;
    if (m_logica->fechando()) {
        m_fechado = true;
        if (m_resultado == Resultado::Nenhum)
            m_resultado = Resultado::Cancelar;
    }
}

} // namespace edit
