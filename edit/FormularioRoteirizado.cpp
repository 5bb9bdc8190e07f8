#include "edit/FormularioRoteirizado.h"

#include "edit/Digitacao.h"

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
    if (const Ligacao* l = m_logica->ligacao(controle))
        m_logica->usuarioEscreveu(*l, texto);
    else
        defineValor(controle, texto);
    m_logica->mudou(controle);
}

void FormularioRoteirizado::marcaCaixa(const QString& controle, bool sim)
{
    if (!habilitado(controle))
        return;
    m_foco = controle;
    if (const Ligacao* l = m_logica->ligacao(controle); l && l->valores.size() >= 2)
        m_logica->usuarioEscreveu(*l, sim ? l->valores.at(0) : l->valores.at(1));
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

bool FormularioRoteirizado::teclas(const QString& controle, const QString& teclas)
{
    if (!habilitado(controle) || m_fechado)
        return false;
    if (!saiPara(controle))
        return false;
    m_foco = controle;
    if (const Mascara* m = m_logica->mascara(controle)) {
        defineValor(controle, TextoDigitado(m->mascara, teclas));
        return true;  // unbound: the logic reads it when the focus leaves or on Confirmar
    }
    const Ligacao* l = m_logica->ligacao(controle);
    QString v;
    if (!l || l->tipo == TipoControle::Lista) {
        // The keyboard search of a list box: the letters typed in a row name the item, looked for
        // from the one after the item shown; the down arrow takes the next item.
        v = l ? campo(*l) : m_valores.value(controle);
        const QStringList itens = m_itens.value(controle);
        const int n = int(itens.size());
        int atual = int(itens.indexOf(v));
        QString busca;
        bool escolheu = false;
        for (const QChar c : teclas) {
            if (c == TeclaApaga) {
                // Backspace does not search: the real box hands it to the logic, which may empty
                // the box, and the search starts again from what it then shows.
                m_logica->apagou(controle);
                v = l ? campo(*l) : m_valores.value(controle);
                atual = int(itens.indexOf(v));
                busca.clear();
                continue;
            }
            escolheu = true;
            if (c == TeclaDesce) {
                atual = qMin(atual + 1, n - 1);
                busca.clear();
                continue;
            }
            const bool nova = busca.isEmpty();
            busca += c;
            const int inicio = atual < 0 ? 0 : (nova ? atual + 1 : atual);
            for (int k = 0; k < n; ++k)
                if (itens.at((inicio + k) % n).startsWith(busca, Qt::CaseInsensitive)) {
                    atual = (inicio + k) % n;
                    break;
                }
        }
        if (!escolheu)
            return true;
        if (atual >= 0)
            v = itens.at(atual);
    } else if (l->tipo == TipoControle::Marca) {
        v = campo(*l);
        if (teclas.contains(QLatin1Char(' ')) && l->valores.size() >= 2)
            v = v == l->valores.at(0) ? l->valores.at(1) : l->valores.at(0);
    } else {
        for (const QChar c : teclas) {
            if (c == TeclaApaga)
                v.chop(1);
            else if (c != TeclaDesce)
                v.append(c);
        }
        const int coluna = l->tabela->fieldIndex(l->campo);
        if (l->tipo == TipoControle::Texto && coluna >= 0 && l->tabela->field(coluna).type == store::FieldType::Text)
            v.truncate(l->tabela->field(coluna).size);
    }
    if (l)
        m_logica->usuarioEscreveu(*l, v);
    else
        m_valores[controle] = v;
    m_logica->mudou(controle);
    return true;
}

} // namespace edit
