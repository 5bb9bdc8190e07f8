#include "server/Procedimentos.h"

#include <set>

namespace servidor {

namespace {

constexpr int TamanhoDoPedaco = 1900;

struct Registro {
    QString status;
    QStringList valores;     // every exchanged column, empty when not sent
    std::set<int> enviados;  // columns that the request carried
};

class ErroDeFormato : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits the repeated keys into records: the n-th value of each key belongs to the n-th record. The
// long texts that the client cuts into pieces of 1,900 characters are joined again.
std::vector<Registro> Separa(const TabelaServidor& t, const Formulario& f)
{
    std::vector<QStringList> porColuna(t.colunas.size());
    bool temStatus = false;
    QStringList status;
    for (const Formulario::Par& p : f.pares) {
        if (p.chave.compare(QLatin1String("cod_proj"), Qt::CaseInsensitive) == 0)
            continue;
        if (p.chave.compare(QLatin1String("Status"), Qt::CaseInsensitive) == 0) {
            temStatus = true;
            status << p.valor;
            continue;
        }
        const int c = t.coluna(p.chave);
        if (c < 0)
            throw ErroDeFormato(QString("campo desconhecido em " + t.nome + ": " + p.chave).toStdString());
        porColuna[size_t(c)] << p.valor;
    }
    qsizetype n = -1;
    auto confere = [&](qsizetype conta, const QString& nome) {
        if (n < 0)
            n = conta;
        else if (conta != n)
            throw ErroDeFormato(QString("número de valores diferente no campo " + nome).toStdString());
    };
    if (temStatus)
        confere(status.size(), QStringLiteral("Status"));
    for (size_t c = 0; c < t.colunas.size(); ++c) {
        if (!porColuna[c].isEmpty() && !t.partidas.contains(t.colunas[c].name))
            confere(porColuna[c].size(), t.colunas[c].name);
    }
    if (n < 0)
        n = 1;  // only pieces of a long text: one record
    if (n == 0)
        throw ErroDeFormato("nenhum registro no pedido");

    std::vector<Registro> registros(static_cast<size_t>(n));
    for (qsizetype r = 0; r < n; ++r) {
        Registro& reg = registros[size_t(r)];
        // The general data carry no status: their one row is always a change.
        reg.status = temStatus ? status.at(r).trimmed().toUpper() : QStringLiteral("A");
        for (size_t c = 0; c < t.colunas.size(); ++c)
            reg.valores << QString();
    }
    for (size_t c = 0; c < t.colunas.size(); ++c) {
        const QStringList& v = porColuna[c];
        if (v.isEmpty())
            continue;
        if (!t.partidas.contains(t.colunas[c].name) || v.size() == n) {
            for (qsizetype r = 0; r < n; ++r) {
                registros[size_t(r)].valores[qsizetype(c)] = v.at(r);
                registros[size_t(r)].enviados.insert(int(c));
            }
            continue;
        }
        if (v.size() < n)
            throw ErroDeFormato(QString("valores de menos no campo " + t.colunas[c].name).toStdString());
        // Deletions carry the text whole; a new or changed record carries full pieces, then a shorter one.
        qsizetype i = 0;
        for (qsizetype r = 0; r < n; ++r) {
            Registro& reg = registros[size_t(r)];
            const qsizetype restantes = n - r - 1;
            QString texto = v.at(i++);
            if (reg.status != QLatin1String("D")) {
                if (restantes == 0) {
                    while (i < v.size())
                        texto += v.at(i++);
                } else {
                    QString ultimo = texto;
                    while (ultimo.size() == TamanhoDoPedaco && v.size() - i > restantes) {
                        ultimo = v.at(i++);
                        texto += ultimo;
                    }
                }
            }
            reg.valores[qsizetype(c)] = texto;
            reg.enviados.insert(int(c));
        }
        if (i != v.size())
            throw ErroDeFormato(QString("pedaços que não se ajustam aos registros no campo " + t.colunas[c].name).toStdString());
    }
    return registros;
}

QStringList Valores(const TabelaServidor& t, const QStringList& linha, const QStringList& campos)
{
    QStringList v;
    for (const QString& campo : campos)
        v << linha.value(t.coluna(campo));
    return v;
}

class Aplicador {
public:
    Aplicador(Banco& banco, const TabelaServidor& t, QString projeto) : m_banco(banco), m_t(t), m_projeto(std::move(projeto)) {}

    qint64 aplica(Registro& reg)
    {
        if (reg.status == QLatin1String("D"))
            return apaga(reg);
        if (reg.status != QLatin1String("I") && reg.status != QLatin1String("A"))
            return Recusa::StatusInvalido;
        if (m_t.nome == QLatin1String("tbProjeto") && reg.status == QLatin1String("I"))
            return Recusa::Duplicado;
        tiraEnchimento(reg);
        if (const int r = valida(reg); r < 0)
            return r;
        if (!m_t.chave.isEmpty())
            return reg.status == QLatin1String("I") ? insereComCodigo(reg) : alteraComCodigo(reg);
        return gravaSemCodigo(reg);
    }

private:
    const QString& v(const Registro& reg, const char* campo) const
    {
        static const QString vazio;
        const int c = m_t.coluna(QLatin1String(campo));
        return c < 0 ? vazio : reg.valores.at(c);
    }

    // A one-letter CAPES grade travels with a "+" after it (a blank once decoded) so that the value is
    // never a single character; the blank is no part of the grade.
    void tiraEnchimento(Registro& reg) const
    {
        if (m_t.nome != QLatin1String("tbCursos"))
            return;
        const int c = m_t.coluna(QStringLiteral("ConceitoCapes"));
        if (c >= 0)
            reg.valores[c] = reg.valores.at(c).trimmed();
    }

    int valida(const Registro& reg)
    {
        const bool novo = reg.status == QLatin1String("I");
        for (size_t c = 0; c < m_t.colunas.size(); ++c) {
            const auto& col = m_t.colunas[c];
            const bool enviado = reg.enviados.count(int(c)) > 0;
            const QString& valor = reg.valores.at(qsizetype(c));
            if (col.required && (novo || enviado) && valor.isEmpty() && !(novo && col.name == m_t.chave))
                return Recusa::CampoObrigatorio;
            if (col.type == store::FieldType::Text && valor.size() > col.size)
                return Recusa::ValorLongo;
        }
        if (m_t.nome == QLatin1String("tbEventosApoiados")) {
            if (v(reg, "Pais").trimmed().compare(QLatin1String("BRASIL"), Qt::CaseInsensitive) == 0
                && (v(reg, "UF").trimmed().isEmpty() || v(reg, "Cidade").trimmed().isEmpty()))
                return Recusa::RegraDoPrograma;
        }
        if (m_t.nome == QLatin1String("tbLaboratorio")) {
            const QString inst = v(reg, "Cod_Inst").trimmed();
            if (inst.isEmpty() || !m_banco.existe(QStringLiteral("tbInstituicao"), m_projeto, QStringLiteral("Cod_Inst"), inst))
                return Recusa::RegraDoPrograma;
        }
        for (const Dependencia& d : Dependencias()) {
            if (d.filha != m_t.nome)
                continue;
            const QStringList chave = Valores(m_t, reg.valores, d.camposFilha);
            bool vazia = true;
            for (const QString& s : chave)
                vazia = vazia && s.trimmed().isEmpty();
            // An academic work belongs to a member or to a grant: the other link stays empty.
            if (vazia && m_t.nome == QLatin1String("tbTrabalhoAcademico"))
                continue;
            if (!m_banco.busca(*TabelaPorNome(d.pai), m_projeto, d.camposPai, chave))
                return Recusa::SemRegistroPai;
        }
        return 0;
    }

    qint64 insereComCodigo(Registro& reg)
    {
        const int cChave = m_t.coluna(m_t.chave);
        const QString enviado = reg.valores.at(cChave).trimmed();
        QString codigo;
        const bool pessoa = m_t.nome == QLatin1String("tbMembro") || m_t.nome == QLatin1String("tbBolsa");
        const auto conhecida = pessoa && !enviado.isEmpty() && !enviado.startsWith(QLatin1Char('-'))
                                   ? m_banco.pessoaPorCodigo(enviado)
                                   : std::nullopt;
        if (conhecida) {
            // A person the register knows keeps the programme code, written as the register writes it.
            if (!m_banco.busca(m_t, m_projeto, {m_t.chave}, {conhecida->codigo}))
                codigo = conhecida->codigo;
            else if (m_t.nome == QLatin1String("tbMembro"))
                return Recusa::Duplicado;
        }
        if (codigo.isEmpty()) {
            codigo = QString::number(m_banco.proximoCodigo());
            if (m_t.nome == QLatin1String("tbMembro"))
                m_banco.registraPessoa(codigo, v(reg, "Nome").trimmed(), v(reg, "BIRO").trimmed());
            else if (m_t.nome == QLatin1String("tbBolsa"))
                m_banco.registraPessoa(codigo, v(reg, "NomeBolsista").trimmed(), v(reg, "BIROBolsista").trimmed());
        }
        reg.valores[cChave] = codigo;
        if (pessoa)
            reg.valores[m_t.coluna(QStringLiteral("KESTA"))] = codigo;
        m_banco.insere(m_t, m_projeto, reg.valores);
        return codigo.toLongLong();
    }

    qint64 alteraComCodigo(const Registro& reg)
    {
        const int cChave = m_t.coluna(m_t.chave);
        const QString codigo = reg.valores.at(cChave).trimmed();
        const auto linha = m_banco.busca(m_t, m_projeto, {m_t.chave}, {codigo});
        if (!linha)
            return Recusa::NaoEncontrado;
        grava(linha->id, reg, cChave);
        bool ok = false;
        const qint64 numero = codigo.toLongLong(&ok);
        return ok && numero >= 0 ? numero : 0;
    }

    qint64 gravaSemCodigo(Registro& reg)
    {
        std::optional<Banco::Linha> linha = m_t.unicaPorProjeto
                                                ? m_banco.busca(m_t, m_projeto, {}, {})
                                                : m_banco.busca(m_t, m_projeto, m_t.identidade, Valores(m_t, reg.valores, m_t.identidade));
        if (linha) {
            grava(linha->id, reg, -1);
            return 0;
        }
        if (m_t.nome == QLatin1String("tbMaterialAdquirido"))
            reg.valores[m_t.coluna(QStringLiteral("Cod_Material"))] = QString::number(m_banco.proximoCodigo());
        m_banco.insere(m_t, m_projeto, reg.valores);
        return 0;
    }

    void grava(qint64 id, const Registro& reg, int exceto)
    {
        QStringList colunas, valores;
        for (const int c : reg.enviados) {
            if (c == exceto)
                continue;
            colunas << m_t.colunas[size_t(c)].name;
            valores << reg.valores.at(c);
        }
        m_banco.atualiza(m_t, id, colunas, valores);
    }

    qint64 apaga(const Registro& reg)
    {
        if (m_t.nome == QLatin1String("tbProjeto"))
            return Recusa::StatusInvalido;
        const QStringList campos = m_t.unicaPorProjeto ? QStringList() : m_t.identidade;
        QStringList chave = Valores(m_t, reg.valores, campos);
        if (!m_t.chave.isEmpty())
            chave[0] = chave[0].trimmed();
        const auto linha = m_banco.busca(m_t, m_projeto, campos, chave);
        if (!linha)
            return 0;  // already gone: a repeated deletion whose answer was lost
        for (const Referencia& r : Referencias()) {
            if (r.pai != m_t.nome)
                continue;
            const QString valor = linha->valores.value(m_t.coluna(r.campoPai)).trimmed();
            if (!valor.isEmpty() && m_banco.existe(r.filha, m_projeto, r.campoFilha, valor))
                return Recusa::AindaReferenciado;
        }
        apagaComDependentes(m_t, *linha);
        return 0;
    }

    void apagaComDependentes(const TabelaServidor& t, const Banco::Linha& linha)
    {
        for (const Dependencia& d : Dependencias()) {
            if (d.pai != t.nome)
                continue;
            const TabelaServidor& filha = *TabelaPorNome(d.filha);
            const QStringList chave = Valores(t, linha.valores, d.camposPai);
            while (const auto l = m_banco.busca(filha, m_projeto, d.camposFilha, chave))
                apagaComDependentes(filha, *l);
        }
        m_banco.apaga(t, linha.id);
    }

    Banco& m_banco;
    const TabelaServidor& m_t;
    QString m_projeto;
};

} // namespace

RespostaHttp Atualiza(Banco& banco, const TabelaServidor& t, const Formulario& f)
{
    const QString projeto = f.valor(QStringLiteral("cod_proj")).trimmed();
    if (projeto.isEmpty())
        return RespostaHttp::ErroHtml(400, QStringLiteral("Pedido sem cod_proj."));
    if (!banco.projetoExiste(projeto))
        return RespostaHttp::ErroHtml(404, QStringLiteral("Projeto inexistente: ") + projeto);
    std::vector<Registro> registros;
    try {
        registros = Separa(t, f);
    } catch (const ErroDeFormato& e) {
        return RespostaHttp::ErroHtml(400, QStringLiteral("Corpo do pedido malformado: ") + QString::fromStdString(e.what()));
    }
    QString resposta;
    banco.inicia();
    try {
        Aplicador aplicador(banco, t, projeto);
        for (Registro& reg : registros)
            resposta += QString::number(aplicador.aplica(reg)) + QLatin1Char('\n');
        banco.confirma();
    } catch (...) {
        banco.desfaz();
        throw;
    }
    return RespostaHttp::Texto(resposta);
}

} // namespace servidor
