#include "server/Procedimentos.h"

#include "server/Senhas.h"

namespace servidor {

namespace {

const QString PrefixoKesta = QStringLiteral("/kesta_off/owa/");
const QString PrefixoBiro = QStringLiteral("/biro/owa/");
const QString CaminhoTeste = QStringLiteral("/consult/owa/test_comunic");
const QString PrefixoCarga = QStringLiteral("carga_tabelas_off.");

bool Igual(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString LimpaCampo(QString valor)
{
    // A field can hold neither the separator nor a line break: either would shift the client's columns.
    valor.replace(QLatin1Char('|'), QChar(0x00A6));
    valor.replace(QLatin1Char('\r'), QLatin1Char(' '));
    valor.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return valor;
}

} // namespace

QString Emoldura(const std::vector<QStringList>& linhas)
{
    QString texto = QStringLiteral("<InitTab>\n");
    for (const QStringList& linha : linhas) {
        for (const QString& v : linha)
            texto += LimpaCampo(v) + QLatin1Char('|');
        texto += QLatin1Char('\n');
    }
    texto += QStringLiteral("<FimTab>\n");
    return texto;
}

RespostaHttp Procedimentos::atende(const PedidoHttp& pedido)
{
    if (pedido.metodo != QLatin1String("POST") && pedido.metodo != QLatin1String("GET"))
        return RespostaHttp::ErroHtml(405, QStringLiteral("Método não aceito: ") + pedido.metodo);
    Formulario f;
    QString erro;
    if (!DecodificaFormulario(pedido.corpo, f, erro))
        return RespostaHttp::ErroHtml(400, QStringLiteral("Corpo do pedido malformado: ") + erro);
    try {
        switch (pedido.porta) {
        case Porta::Kesta:
            if (pedido.caminho.startsWith(PrefixoKesta))
                return kesta(pedido.caminho.mid(PrefixoKesta.size()), f);
            break;
        case Porta::Biro:
            if (pedido.caminho.startsWith(PrefixoBiro))
                return biro(pedido.caminho.mid(PrefixoBiro.size()), f);
            break;
        case Porta::Teste:
            if (pedido.caminho.compare(CaminhoTeste, Qt::CaseInsensitive) == 0)
                return testeComunicacao(f);
            break;
        }
    } catch (const ErroDoBanco& e) {
        m_banco.desfaz();
        RespostaHttp r = RespostaHttp::Texto(QStringLiteral("INTERNAL ERROR: ") + QString::fromStdString(e.what()) + QLatin1Char('\n'));
        r.status = 500;
        return r;
    }
    return RespostaHttp::ErroHtml(404, QStringLiteral("Procedimento desconhecido: ") + pedido.caminho);
}

RespostaHttp Procedimentos::kesta(const QString& procedimento, const Formulario& f)
{
    if (Igual(procedimento, "login.Confere_login"))
        return confereLogin(f, false);
    if (Igual(procedimento, "login.fix_projeto"))
        return confereLogin(f, true);
    if (Igual(procedimento, "login.confere_permissao"))
        return conferePermissao(f);
    if (procedimento.startsWith(PrefixoCarga, Qt::CaseInsensitive)) {
        if (const TabelaServidor* t = TabelaPorCarga(procedimento.mid(PrefixoCarga.size())))
            return carga(*t, f);
    }
    if (Igual(procedimento, "pessoa.Valida_id"))
        return validaPessoa(QStringLiteral("id"), f);
    if (Igual(procedimento, "pessoa.Valida_biro"))
        return validaPessoa(QStringLiteral("biro"), f);
    if (Igual(procedimento, "pessoa.Valida_nome"))
        return validaPessoa(QStringLiteral("nome"), f);
    if (const TabelaServidor* t = TabelaPorEnvio(procedimento))
        return Atualiza(m_banco, *t, f);
    return RespostaHttp::ErroHtml(404, QStringLiteral("Procedimento desconhecido: ") + procedimento);
}

bool Procedimentos::autentica(const Formulario& f)
{
    const QString login = f.valor(QStringLiteral("login")).trimmed();
    const QString senha = f.valor(QStringLiteral("senha")).trimmed();
    if (login.isEmpty())
        return false;
    const auto guardada = m_banco.senhaDoUsuario(login);
    // The client upper-cases every letter it sends, the password included; the hash is of that form.
    return guardada && ConfereSenha(senha, *guardada);
}

RespostaHttp Procedimentos::confereLogin(const Formulario& f, bool porContratacao)
{
    try {
        if (!autentica(f))
            return RespostaHttp::Texto(QStringLiteral("-1\n"));
        std::vector<Banco::Projeto> projetos = m_banco.projetosDoUsuario(f.valor(QStringLiteral("login")).trimmed());
        if (porContratacao) {
            const QString numero = f.valor(QStringLiteral("relat_contratacao")).trimmed();
            std::erase_if(projetos, [&](const Banco::Projeto& p) {
                return p.contratacao.trimmed().compare(numero, Qt::CaseInsensitive) != 0;
            });
        }
        if (projetos.empty())
            return RespostaHttp::Texto(QStringLiteral("-2\n"));
        std::vector<QStringList> linhas;
        for (const Banco::Projeto& p : projetos)
            linhas.push_back({p.codigo, p.titulo, p.contratacao});
        return RespostaHttp::Texto(Emoldura(linhas));
    } catch (const ErroDoBanco&) {
        return RespostaHttp::Texto(QStringLiteral("-9\n"));
    }
}

RespostaHttp Procedimentos::conferePermissao(const Formulario& f)
{
    if (!autentica(f))
        return RespostaHttp::Texto(QStringLiteral("-1\n"));
    const QString projeto = f.valor(QStringLiteral("cod_proj")).trimmed();
    if (projeto.isEmpty() || !m_banco.projetoExiste(projeto))
        return RespostaHttp::Texto(QStringLiteral("-2\n"));
    for (const Banco::Projeto& p : m_banco.projetosDoUsuario(f.valor(QStringLiteral("login")).trimmed())) {
        if (p.codigo == projeto)
            return RespostaHttp::Texto(QStringLiteral("0\n"));
    }
    return RespostaHttp::Texto(QStringLiteral("-1\n"));
}

RespostaHttp Procedimentos::carga(const TabelaServidor& t, const Formulario& f)
{
    const QString projeto = f.valor(QStringLiteral("cod_projeto")).trimmed();
    if (projeto.isEmpty())
        return RespostaHttp::ErroHtml(400, QStringLiteral("Pedido sem cod_projeto."));
    if (!m_banco.projetoExiste(projeto))
        return RespostaHttp::ErroHtml(404, QStringLiteral("Projeto inexistente: ") + projeto);
    std::vector<QStringList> linhas;
    for (Banco::Linha& l : m_banco.linhas(t, projeto))
        linhas.push_back(std::move(l.valores));
    return RespostaHttp::Texto(Emoldura(linhas));
}

RespostaHttp Procedimentos::validaPessoa(const QString& modo, const Formulario& f)
{
    std::optional<Banco::Pessoa> pessoa;
    if (modo == QLatin1String("id"))
        pessoa = m_banco.pessoaPorCodigo(f.valor(QStringLiteral("id_membro")).trimmed());
    else if (modo == QLatin1String("biro"))
        pessoa = m_banco.pessoaPorBiro(f.valor(QStringLiteral("biro")).trimmed());
    else
        pessoa = m_banco.pessoaPorNome(f.valor(QStringLiteral("nome")).trimmed());
    if (!pessoa)
        return RespostaHttp::Texto(QStringLiteral("-1\n"));
    return RespostaHttp::Texto(pessoa->codigo + QLatin1Char('|') + LimpaCampo(pessoa->nome) + QStringLiteral("|\n"));
}

RespostaHttp Procedimentos::biro(const QString& procedimento, const Formulario& f)
{
    auto limpa = [](QString v) { return LimpaCampo(v.replace(QLatin1Char(';'), QLatin1Char(','))); };
    if (Igual(procedimento, "kesta_proc.ValidaPesq")) {
        const auto p = m_banco.pesquisador(f.valor(QStringLiteral("login")).trimmed());
        if (!p)
            return RespostaHttp::Texto(QStringLiteral("-1\n"));
        return RespostaHttp::Texto(QStringLiteral("0; ") + p->codigo + QStringLiteral("; ") + limpa(p->nome)
                                   + QStringLiteral("; ") + limpa(p->email) + QLatin1Char('\n'));
    }
    if (Igual(procedimento, "kesta_proc.ValidaInst")) {
        const auto i = m_banco.instituicao(f.valor(QStringLiteral("inst")).trimmed());
        if (!i)
            return RespostaHttp::Texto(QStringLiteral("-1\n"));
        return RespostaHttp::Texto(QStringLiteral("0; ") + i->codigo + QStringLiteral("; ") + limpa(i->nome) + QLatin1Char('\n'));
    }
    return RespostaHttp::ErroHtml(404, QStringLiteral("Procedimento desconhecido: ") + procedimento);
}

RespostaHttp Procedimentos::testeComunicacao(const Formulario& f)
{
    const QString projeto = f.valor(QStringLiteral("id_proj")).trimmed();
    const TabelaServidor* t = TabelaPorNome(QStringLiteral("tbProjeto"));
    const auto linha = m_banco.busca(*t, projeto, {}, {});
    if (projeto.isEmpty() || !linha)
        return RespostaHttp::ErroHtml(404, QStringLiteral("Projeto inexistente: ") + projeto);
    return RespostaHttp::Texto(projeto + QLatin1Char('!') + LimpaCampo(linha->valores.value(t->coluna(QStringLiteral("Titulo")))));
}

} // namespace servidor
