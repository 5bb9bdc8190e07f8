#include "edit/Procura.h"

#include "store/Dados.h"

#include <QPointer>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <unordered_map>

namespace edit {

namespace {

QString S(const char* t) { return QString::fromUtf8(t); }

PaginaProcurada P(const char* pagina, const char* folha, const char* tabela, const char* campoNome,
                  std::initializer_list<std::pair<const char*, const char*>> campos, const char* nomeFixo = "")
{
    PaginaProcurada p{S(pagina), S(folha), S(tabela), S(campoNome), S(nomeFixo), {}};
    for (const auto& [campo, rotulo] : campos)
        p.campos.push_back({S(campo), S(rotulo)});
    return p;
}

// The status letters of rows the user does not see as records: deleted, placeholders, and the
// letters of an edit or an operation still under way.
bool LetraOculta(QChar status)
{
    static const QString ocultas = QStringLiteral("DFEXYPQZM");
    return ocultas.contains(status);
}

// Where `agulha` next lies in `palheiro` from `de`. A short text is looked for by its first character
// (a vectorised scan) and compared there; a longer one by Qt's own search, which skips ahead.
qsizetype Acha(QStringView palheiro, QStringView agulha, qsizetype de)
{
    if (agulha.size() >= 5)
        return palheiro.indexOf(agulha, de);
    const QChar primeira = agulha.front();
    const size_t resto = size_t(agulha.size() - 1);
    for (;;) {
        const qsizetype p = palheiro.indexOf(primeira, de);
        if (p < 0 || p + agulha.size() > palheiro.size())
            return -1;
        if (resto == 0 || std::memcmp(palheiro.data() + p + 1, agulha.data() + 1, resto * sizeof(QChar)) == 0)
            return p;
        de = p + 1;
    }
}

// Folding of one UTF-16 unit: its first character of decomposition, repeatedly, then case-folded.
// Surrogates stay as they are, so a character outside the basic plane is compared exactly.
const std::array<char16_t, 65536>& TabelaDeDobra()
{
    static const std::array<char16_t, 65536> tabela = [] {
        std::array<char16_t, 65536> t{};
        for (int u = 0; u < 65536; ++u) {
            QChar c{char16_t(u)};
            if (c.isSurrogate()) {
                t[size_t(u)] = char16_t(u);
                continue;
            }
            for (int i = 0; i < 4 && c.decompositionTag() != QChar::NoDecomposition; ++i) {
                const QString d = c.decomposition();
                if (d.isEmpty() || d.front().isSurrogate())
                    break;
                c = d.front();
            }
            t[size_t(u)] = c.toCaseFolded().unicode();
        }
        return t;
    }();
    return tabela;
}

QString TrechoNumaLinha(const QString& valor, int inicio, int tamanho, int& onde)
{
    constexpr int Antes = 30;
    constexpr int Depois = 50;
    int de = std::max(0, inicio - Antes);
    int ate = std::min(int(valor.size()), inicio + tamanho + Depois);
    // Never cut a character outside the basic plane in two.
    if (de > 0 && valor.at(de).isLowSurrogate())
        --de;
    if (ate < valor.size() && valor.at(ate).isLowSurrogate())
        ++ate;
    // A cut falls between words where there is a blank near it.
    if (de > 0)
        for (int i = de; i < std::min(de + 12, inicio); ++i)
            if (valor.at(i).isSpace()) {
                de = i + 1;
                break;
            }
    if (ate < valor.size())
        for (int i = ate; i > std::max(ate - 12, inicio + tamanho); --i)
            if (valor.at(i - 1).isSpace()) {
                ate = i - 1;
                break;
            }
    QString t = valor.mid(de, ate - de);
    for (QChar& c : t)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    onde = inicio - de;
    if (de > 0) {
        t.prepend(QChar(0x2026));
        ++onde;
    }
    if (ate < valor.size())
        t.append(QChar(0x2026));
    return t;
}

} // namespace

const std::vector<PaginaProcurada>& PaginasProcuradas()
{
    static const std::vector<PaginaProcurada> paginas = {
        P("Identificação", "tsIdentificacao", "tbProjeto", "Titulo",
          {{"Titulo", "Título"}, {"Objetivo", "Objetivo"}, {"Processo", "Processo"}, {"Classe", "Classe"},
           {"Atividade", "Atividade"}, {"SubProg", "Subprograma"}, {"NumEdital", "Edital"}, {"NumChamada", "Chamada"},
           {"Agencia", "Agência"}, {"NumRelContratacao", "Nr. Rel. Contratação"}, {"DataDesembolso", "Desembolso"},
           {"DataFimPrevista", "Fim Previsto"}, {"Origem", "Origem"}, {"NumProjOrigem", "Nr. Projeto de Origem"},
           {"DataFim", "Data de Fim Real"}, {"DataAssinat", "Data de Assinatura do Convênio"},
           {"ValProposta", "Valor Solicitado na Proposta (US$)"}}),
        P("Áreas de Atuação", "tsAreasAtuacao", "tbSetorEconAting", "DescrSetorEcon",
          {{"DescrSetorEcon", "Setores Econômicos"}}),
        P("Áreas de Atuação", "tsAreasAtuacao", "tbAreaConhecAting", "DescricaoAreaConhec",
          {{"DescricaoAreaConhec", "Área do Conhecimento"}}),
        P("Locais de Execução", "tsLocPesq", "tbLocaisPesquisa", "Cidade",
          {{"Cidade", "Cidade"}, {"UF", "UF"}, {"Regiao", "Região"}, {"BIRO_Inst", "Código BIRO"},
           {"Nome_Inst", "Instituição"}}),
        P("Instituições", "tsInst", "tbProjeto", "Titulo",
          {{"InstGestora", "Gestora"}, {"InstExecutora", "Executora - Coordenadora"}}),
        P("Instituições", "tsInst", "tbInstituicao", "Nome",
          {{"BIRO", "Código BIRO"}, {"Nome", "Nome"}, {"TipoEnvolvimento", "Função"},
           {"TipoVinculacao", "Tipo de Vinculação"}}),
        P("Equipe", "tsMembro1", "tbMembro", "Nome",
          {{"BIRO", "Código BIRO"}, {"Nome", "Nome"}, {"DescricaoFuncao", "Função"},
           {"CargaHoraria", "Carga Horária Semanal"}, {"KESTA", "Código KESTA"}, {"TitulacaoAtual", "Titulação"},
           {"AreaConhecTitulacao", "Área do Conhecimento da Titulação"},
           {"PaisTitulacao", "País em que Obteve a Titulação"}, {"MotivoSaida", "Motivo da Saída"},
           {"TipInstAtivPosPro", "Tipo de Instituição em que Exerce Atividade Pós-Projeto"},
           {"DescAtivPosPro", "Descrição da Atividade Pós-Projeto"}, {"Endereco", "Endereço"}, {"Cidade", "Cidade"},
           {"UF", "UF"}, {"CEP", "CEP"}, {"Fone", "Fone"}, {"Fax", "Fax"}, {"Email", "E-mail"}}),
        P("Estudos", "tsEst", "tbEstudo", "Titulo",
          {{"TipoEstudo", "Tipo"}, {"Titulo", "Título"}, {"DataFim", "Conclusão"}, {"DataInicio", "Data de Início"},
           {"Co_autores", "Co-autores"}, {"Descricao", "Descrição"}}),
        P("Publicações", "tsPub", "tbPublicacao", "Titulo",
          {{"TipoPublicacao", "Tipo"}, {"Titulo", "Título"}, {"DataPublicacao", "Conclusão"},
           {"Qualificacao", "Qualificação"}, {"VeiculoPublic", "Veículo de Publicação"}, {"PaisPublicacao", "País"},
           {"Co_autores", "Co-autores"}}),
        P("Obras", "tsObr", "tbObrasEditadas", "Titulo",
          {{"TipoObra", "Tipo"}, {"Titulo", "Título"}, {"AnoEdicao", "Conclusão"}, {"Editora", "Editora"},
           {"TipoMidia", "Tipo de Mídia"}, {"Alcance", "Alcance Geográfico"}, {"Co_Autores", "Co-autores"}}),
        P("Prod.Tecno.", "tsPro", "tbProdTec", "NomeProd",
          {{"TipoProd", "Tipo"}, {"NomeProd", "Título"}, {"FaseDesenvolv", "Situação"},
           {"DescrTecnologica", "Tecnologia Envolvida"}, {"Descricao", "Descrição"},
           {"DescrTransfTec", "Descrição da Transferência"}}),
        P("Softwares", "tsSoftware", "tbSoftware", "Nome",
          {{"Nome", "Nome"}, {"DataConclusao", "Conclusão"}, {"InstRegistro", "Instituição de Registro"},
           {"Co_autores", "Co-autores"}, {"Descricao", "Descrição"}}),
        P("Eventos", "tsEventos", "tbEventosApoiados", "Nome",
          {{"Tipo", "Tipo"}, {"Nome", "Título"}, {"DataFim", "Conclusão"}, {"DataInicio", "Início"},
           {"Alcance", "Alcance Geográfico"}, {"Pais", "País"}, {"UF", "UF"}, {"Cidade", "Cidade"},
           {"QtdPartic", "Nr de Participantes"}, {"Descricao", "Descrição"}}),
        P("Bolsas", "tsBolsa", "tbBolsa", "NomeBolsista",
          {{"Modalidade", "Modalidade"}, {"BIROBolsista", "Código BIRO"}, {"NomeBolsista", "Nome do Bolsista"},
           {"DataConclusao", "Conclusao"}, {"DataInicio", "Data de Início"}, {"KESTA", "Código KESTA"},
           {"NomeInstDestino", "Instituição Destino da Bolsa"}, {"BIROInstDestino", "Código BIRO da Instituição"}}),
        P("Capacitação", "tsCapacitacao", "tbCapacit", "TipodeCapacitacao",
          {{"TipodeCapacitacao", "Tipo"}, {"DataFim", "Conclusão"}, {"DataInicio", "Início"},
           {"TipoEvento", "Tipo de Evento"}, {"NomeInstTreinam", "Nome da Instituição"},
           {"BIROInstTreinam", "BIRO da Instituição"}}),
        P("GQT", "tsPrograma", "tbQualidade", "Nome_InstCliente",
          {{"BIRO_InstCliente", "Código BIRO"}, {"Nome_InstCliente", "Instituição Cliente"}, {"Situacao", "Situação"},
           {"HorasDiagnostico", "Tempo de Diagnóstico (h)"}, {"HorasImplem", "Tempo de Implementação (h)"},
           {"Resultados", "Resultados"}, {"IndicDesemp", "Indicadores de Desempenho"}}),
        P("Laboratórios", "tsLaboratorio", "tbLaboratorio", "NomeLab",
          {{"BIROLab", "Código BIRO"}, {"NomeLab", "Nome"}, {"TipoApoio", "Tipo de Apoio"},
           {"DataInicio", "Início do Apoio"}}),
        P("Serviços Externos", "tsServico", "tbServico", "TipoServico",
          {{"TipoServico", "Nome"}, {"TipoApoio", "Tipo de Apoio"}, {"Descricao", "Descrição"}}),
        P("Cursos", "tsCurso", "tbCursos", "Nome",
          {{"Nome", "Nome"}, {"TipoApoio", "Tipo de Apoio"}, {"Nivel", "Nível"}, {"SubNivel", "Sub-nível"},
           {"Frequencia", "Frequência de Oferecimento"}, {"ConceitoCapes", "Conceito CAPES"},
           {"Escolaridade", "Escolaridade"}, {"CargaHoraria", "Carga Horária"},
           {"QtdeMatriculados", "Qtd. Alunos Matriculados"}, {"QtdeFormados", "Qtd. Alunos Formados"},
           {"QtdeTrabAcademicos", "Qtd. Trabalhos Acadêmicos"}, {"Observacao", "Observação"}}),
        P("Bases de Dados", "tsBase", "tbBase", "Identificacao",
          {{"Identificacao", "Nome"}, {"TipoApoioTxt", "Tipo de Apoio"}, {"TipoBase", "Tipo de Base de Dados"},
           {"QtdeReg", "Qtde. de Registros"}, {"FaseDesenv", "Fase de Desenvolvimento"},
           {"Descricao", "Descrição da Base"}}),
        P("Materiais Informacionais", "tsMaterial", "tbMaterialAdquirido", "TipoMaterial",
          {{"TipoMaterial", "Tipo"}, {"ValorAtual", "Valor"}, {"PaisExterior", "Brasil/Exterior"},
           {"AnoAquisicao", "Aquisição"}, {"QtdAdquirida", "Qtd. Adquirida"}}),
        P("Equipamentos", "tsEquipamento", "tbEquipamentos", "TipoEquip",
          {{"TipoEquip", "Tipo"}, {"ValorAtual", "Valor"}, {"PaisFabricacao", "País de Fabricação"},
           {"Descr_Equip", "Nome do Equipamento"}, {"Modelo", "Modelo"}, {"Fabricante", "Fabricante"},
           {"AnoFabricacao", "Ano de Fabricação"}, {"NrPatrim", "Nr. de Patrimônio"},
           {"OutraFonte", "Outra Fonte de Recursos"}, {"DescricaoUso", "Descrição do Uso"}}),
        P("Planos de Aplicação", "tsPlanoAplic", "tbPlanoAplic", "ItemDispendio",
          {{"ItemDispendio", "Item de Dispêndio"}, {"VlContratado", "Valor Contratado (US$)"},
           {"VlDesembolsado", "Valor Desembolsado (US$)"}, {"PaisExterior", "Brasil/Exterior"}}),
        P("Outros Financiamentos", "tsOutraFonte", "tbOutrasFontes", "NomeInst",
          {{"BIROInst", "Código BIRO"}, {"NomeInst", "Instituição"}, {"TipoFonte", "Recurso"},
           {"ValorRecurso", "Valor (US$)"}, {"TipoVincInst", "Tipo de Vinculação"}, {"Observacoes", "Observações"}}),
        P("Observações", "tsObservacoes", "tbAnalisQualitativa", "", {{"Descricao", "Análise Qualitativa"}},
          "Análise Qualitativa"),
        P("Observações", "tsObservacoes", "tbComentariosGerais", "", {{"Descricao", "Comentários Gerais"}},
          "Comentários Gerais"),
        P("Problemas", "tsProblemas", "tbProblemas", "CategoriaTxt",
          {{"CategoriaTxt", "Categoria"}, {"Repercussao", "Repercussão"}, {"DataOcorrenc", "Ocorrência"},
           {"NatProbAdm", "Natureza do Problema Administrativo"}, {"DescrProbTec", "Descrição do Problema Técnico"},
           {"Observacoes", "Observações"}}),
    };
    return paginas;
}

QString Dobra(QStringView texto)
{
    const auto& tabela = TabelaDeDobra();
    QString r(texto.size(), Qt::Uninitialized);
    QChar* d = r.data();
    for (const QChar c : texto)
        *d++ = QChar(tabela[c.unicode()]);
    return r;
}

QString LinhaDoAchado(const Achado& a)
{
    static const QString Traco = QStringLiteral(" \u2014 ");
    const auto& paginas = PaginasProcuradas();
    const QString pagina = a.pagina >= 0 && a.pagina < int(paginas.size()) ? paginas[size_t(a.pagina)].pagina : QString();
    return pagina + Traco + a.registro + Traco + a.campo + Traco + a.trecho;
}

// The folded texts of one table's visible records, field after field, each field followed by a
// separator that no search text holds, and where each field begins.
struct Procura::Indice {
    QPointer<store::Table> tabela;
    quint64 revisao = 0;
    QString filtro;
    bool filtrado = false;
    QString ordem;
    bool pronto = false;

    std::vector<int> colunas;  // per searched field; -1 when the table lacks it
    int colunaNome = -1;
    std::vector<store::Table::Bookmark> linhas;
    std::u16string texto;
    std::vector<quint32> inicios;  // linhas.size() * colunas.size() + 1 entries

    bool emDia(const store::Table& t) const
    {
        return pronto && tabela == &t && revisao == t.rowRevision() && filtrado == t.filtered() && filtro == t.filter()
               && ordem == t.indexName();
    }

    void monta(const PaginaProcurada& p, store::Table& t)
    {
        tabela = &t;
        revisao = t.rowRevision();
        filtro = t.filter();
        filtrado = t.filtered();
        ordem = t.indexName();
        colunas.clear();
        for (const CampoProcurado& c : p.campos)
            colunas.push_back(t.fieldIndex(c.campo));
        colunaNome = p.campoNome.isEmpty() ? -1 : t.fieldIndex(p.campoNome);
        const int status = t.fieldIndex(QStringLiteral("Status"));
        linhas.clear();
        texto.clear();
        inicios.clear();
        const auto& dobra = TabelaDeDobra();
        const std::vector<store::Table::Bookmark> visiveis = t.visibleRows();
        linhas.reserve(visiveis.size());
        inicios.reserve(visiveis.size() * colunas.size() + 1);
        // The values are read where they lie, with no copy of each: the table's blocks in natural
        // order (shared, not copied), found by bookmark.
        const store::Table::FileContents copia = t.snapshot();
        const std::vector<store::Table::Bookmark> naturais = t.naturalRows();
        store::Table::Bookmark maior = 0;
        for (store::Table::Bookmark b : naturais)
            maior = std::max(maior, b);
        // Bookmarks only grow: a table that saw many rows come and go is looked up by hash instead.
        const bool denso = maior <= 8 * naturais.size() + 4096;
        std::vector<const store::Celulas*> porMarca(denso ? size_t(maior) + 1 : 0, nullptr);
        std::unordered_map<store::Table::Bookmark, const store::Celulas*> porHash;
        if (!denso)
            porHash.reserve(naturais.size());
        for (size_t i = 0; i < naturais.size() && i < copia.rows.size(); ++i) {
            if (denso)
                porMarca[size_t(naturais[i])] = &copia.rows[i];
            else
                porHash.emplace(naturais[i], &copia.rows[i]);
        }
        for (store::Table::Bookmark b : visiveis) {
            const store::Celulas* celulas = nullptr;
            if (denso)
                celulas = b < porMarca.size() ? porMarca[size_t(b)] : nullptr;
            else if (const auto achado = porHash.find(b); achado != porHash.end())
                celulas = achado->second;
            if (!celulas)
                continue;
            if (status >= 0) {
                const store::Celulas::Vista s = celulas->vista(size_t(status));
                if (s.n == 1 && LetraOculta(QChar(s.largo ? *static_cast<const char16_t*>(s.p)
                                                          : char16_t(*static_cast<const uchar*>(s.p)))))
                    continue;
            }
            linhas.push_back(b);
            for (int coluna : colunas) {
                inicios.push_back(quint32(texto.size()));
                if (coluna >= 0) {
                    // Read where the value lies: one byte a character (Latin-1) or two.
                    const store::Celulas::Vista v = celulas->vista(size_t(coluna));
                    const size_t n = texto.size();
                    texto.resize(n + size_t(v.n));
                    char16_t* d = texto.data() + n;
                    if (v.largo) {
                        const auto* o = static_cast<const char16_t*>(v.p);
                        for (qsizetype i = 0; i < v.n; ++i)
                            d[i] = dobra[o[i]];
                    } else {
                        const auto* o = static_cast<const uchar*>(v.p);
                        for (qsizetype i = 0; i < v.n; ++i)
                            d[i] = dobra[o[i]];
                    }
                }
                texto.push_back(u'\0');
            }
            // The text's size is guessed from the first rows, so that it grows once or twice only.
            if (linhas.size() == 256)
                texto.reserve(texto.size() * visiveis.size() / 256 + texto.size() / 8);
        }
        inicios.push_back(quint32(texto.size()));
        pronto = true;
    }
};

Procura::Procura(Tabelas tabelas) : m_tabelas(std::move(tabelas))
{
    if (!m_tabelas)
        m_tabelas = [](const QString& nome) { return store::dadosCriados() ? store::dados().tabela(nome) : nullptr; };
    m_indices.resize(PaginasProcuradas().size());
}

Procura::~Procura() = default;

void Procura::esquece()
{
    for (auto& i : m_indices)
        i.reset();
}

Procura::Indice& Procura::indice(int pagina, store::Table& t)
{
    auto& i = m_indices[size_t(pagina)];
    if (!i)
        i = std::make_unique<Indice>();
    if (!i->emDia(t))
        i->monta(PaginasProcuradas()[size_t(pagina)], t);
    return *i;
}

void Procura::prepara()
{
    const auto& paginas = PaginasProcuradas();
    for (int ip = 0; ip < int(paginas.size()); ++ip)
        if (store::Table* t = m_tabelas(paginas[size_t(ip)].tabela); t && t->active())
            indice(ip, *t);
}

ResultadoDaProcura Procura::procura(const QString& texto, int limite)
{
    ResultadoDaProcura r;
    QString agulha = Dobra(texto.trimmed());
    agulha.remove(QChar(0));
    if (agulha.isEmpty())
        return r;
    const auto& paginas = PaginasProcuradas();
    for (int ip = 0; ip < int(paginas.size()); ++ip) {
        const PaginaProcurada& p = paginas[size_t(ip)];
        store::Table* t = m_tabelas(p.tabela);
        if (!t || !t->active())
            continue;
        const Indice& ix = indice(ip, *t);
        const QStringView palheiro(ix.texto.data(), qsizetype(ix.texto.size()));
        const size_t nCampos = ix.colunas.size();
        qsizetype de = 0;
        while (de < palheiro.size()) {
            const qsizetype pos = Acha(palheiro, agulha, de);
            if (pos < 0)
                break;
            const size_t seg = size_t(std::upper_bound(ix.inicios.begin(), ix.inicios.end(), quint32(pos)) - ix.inicios.begin()) - 1;
            ++r.total;
            if (limite <= 0 || int(r.achados.size()) < limite) {
                const size_t linha = seg / nCampos;
                const size_t campo = seg % nCampos;
                const store::Table::Bookmark b = ix.linhas[linha];
                Achado a;
                a.pagina = ip;
                a.tabela = p.tabela;
                a.linha = b;
                a.registro = ix.colunaNome >= 0 ? t->rowValue(b, ix.colunaNome).simplified() : p.nomeFixo;
                if (a.registro.isEmpty())
                    a.registro = QStringLiteral("(sem nome)");
                a.campo = p.campos[campo].rotulo;
                a.tamanho = int(agulha.size());
                a.trecho = TrechoNumaLinha(t->rowValue(b, ix.colunas[campo]), int(pos - ix.inicios[seg]), a.tamanho, a.inicio);
                r.achados.push_back(std::move(a));
            }
            de = qsizetype(ix.inicios[seg + 1]);  // one match per record and field
        }
    }
    return r;
}

} // namespace edit
