#pragma once

// Shared ground of the entity-dialog tests: a fresh store with a project signed on 01/06/1995, lookup
// lists from memory, the scripted seam, and the dialogs run through AbreEdicao with a scripted form.

#include "core/InteracaoRoteirizada.h"
#include "edit/Edicao.h"
#include "edit/EdicaoEntidade.h"
#include "edit/FormularioRoteirizado.h"
#include "store/Dados.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <utility>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using Campos = std::initializer_list<std::pair<const char*, const char*>>;

class DialogoTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    store::Dados& d() { return store::dados(); }
    // Appends and posts a record (the status given among the fields, "N" when absent).
    static store::Table::Bookmark inclui(store::Table& t, Campos campos);
    // The record whose `campo` holds `valor`, hidden or not; false when none.
    static bool vaiPara(store::Table& t, const char* campo, const QString& valor);
    static QString valorDe(store::Table& t, const char* campoChave, const QString& chave, const char* campo);
    // A whole table as text (every row and column, the filter aside), to compare before and after.
    static QString dump(store::Table& t);
    // A knowledge area or sector of a record, as the choice dialog leaves it.
    static void adicionaFilho(store::Table& t, const char* ligacao, const QString& codigo, const char* descricao,
                              const char* campoDescricao, int modo);

    // Runs a dialog through AbreEdicao: `roteiro` is the user's part, with the dialog shown.
    template <class Logica, class... Extra>
    int abre(bool inserir, store::Table& t, const QString& chave, std::function<void(edit::FormularioRoteirizado&, Logica&)> roteiro,
             Extra&&... extra)
    {
        edit::FormularioRoteirizado form;
        Logica logica(form, std::forward<Extra>(extra)...);
        form.instala(logica);
        int resultado = -1;
        auto dialogo = form.dialogo([&] { roteiro(form, logica); });
        edit::AbreEdicao(inserir, std::move(dialogo), t, nullptr, chave);
        resultado = int(form.resultadoFinal());
        return resultado;
    }

    QStringList textos() const { return m_seam->textos(); }
    QString ultima() const { return m_seam->mensagens.isEmpty() ? QString() : m_seam->mensagens.last().texto; }
    app::Icone ultimoIcone() const { return m_seam->mensagens.last().icone; }
    void limpa() { m_seam->mensagens.clear(); }
    void responde(app::Resposta r) { m_seam->responde(r); }

    static QString Obrigatorios(const QStringList& rotulos) { return edit::EdicaoEntidade::MensagemObrigatorios(rotulos); }

    std::unique_ptr<app::InteracaoRoteirizada> m_seam;
    QTemporaryDir m_dir;
};
