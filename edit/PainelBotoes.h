#pragma once

#include <QString>

#include <vector>

namespace edit {

// A panel of buttons as the editing helpers see it: the controls directly inside it, each with a
// tag and an enabled flag. The window adapts its QWidget panels (edit/ui/PainelQt.h).
class PainelBotoes
{
public:
    virtual ~PainelBotoes() = default;

    virtual int quantidade() const = 0;
    virtual int tag(int i) const = 0;
    virtual bool habilitado(int i) const = 0;
    virtual void habilita(int i, bool sim) = 0;
};

// A panel held as plain values, for the command-line tool and the tests.
class PainelSimples : public PainelBotoes
{
public:
    struct Botao {
        QString nome;
        int tag = 0;
        bool habilitado = true;
    };

    void adiciona(const QString& nome, int tag, bool habilitado = true) { m_botoes.push_back({nome, tag, habilitado}); }
    const Botao& botao(int i) const { return m_botoes.at(std::size_t(i)); }

    int quantidade() const override { return int(m_botoes.size()); }
    int tag(int i) const override { return m_botoes.at(std::size_t(i)).tag; }
    bool habilitado(int i) const override { return m_botoes.at(std::size_t(i)).habilitado; }
    void habilita(int i, bool sim) override { m_botoes.at(std::size_t(i)).habilitado = sim; }

private:
    std::vector<Botao> m_botoes;
};

} // namespace edit
