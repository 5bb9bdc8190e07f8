#include "server/Falhas.h"

namespace servidor {

namespace {

struct NomeTipo {
    const char* nome;
    TipoFalha tipo;
};

constexpr NomeTipo Nomes[] = {
    {"html", TipoFalha::Html},       {"internal", TipoFalha::Internal}, {"corte", TipoFalha::Corte},
    {"demora", TipoFalha::Demora},   {"lixo", TipoFalha::Lixo},         {"linhas-a-menos", TipoFalha::LinhasAMenos},
    {"fecha", TipoFalha::Fecha},       {"pausa", TipoFalha::Pausa},       {"gateway", TipoFalha::Gateway},
};

} // namespace

std::optional<TipoFalha> TipoFalhaDeNome(const QString& nome)
{
    for (const NomeTipo& n : Nomes) {
        if (nome.compare(QLatin1String(n.nome), Qt::CaseInsensitive) == 0)
            return n.tipo;
    }
    return std::nullopt;
}

QString NomeDaFalha(TipoFalha tipo)
{
    for (const NomeTipo& n : Nomes) {
        if (n.tipo == tipo)
            return QLatin1String(n.nome);
    }
    return {};
}

void Falhas::adiciona(Falha falha)
{
    m_falhas.push_back(std::move(falha));
}

void Falhas::limpa()
{
    m_falhas.clear();
}

std::optional<Falha> Falhas::consulta(const QString& procedimento)
{
    std::optional<Falha> escolhida;
    for (Falha& f : m_falhas) {
        if (f.procedimento != QLatin1String("*") && f.procedimento.compare(procedimento, Qt::CaseInsensitive) != 0)
            continue;
        ++f.vistos;
        if (f.vistos <= f.depois)
            continue;
        if (f.vezes > 0 && f.aplicadas >= f.vezes)
            continue;
        if (!escolhida) {
            ++f.aplicadas;
            escolhida = f;
        }
    }
    return escolhida;
}

} // namespace servidor
