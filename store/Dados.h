#pragma once

#include "store/DataModules.h"

#include <memory>
#include <unordered_map>

namespace store {

// The six data modules of one run, created in start-up order (TDataGeral last, because its creation
// indexes the tables of all the others).
class Dados
{
public:
    Dados();
    ~Dados();
    Dados(const Dados&) = delete;
    Dados& operator=(const Dados&) = delete;

    TDataAnaliseResultados& analiseResultados() { return *m_analise; }
    TDataIdentificacao& identificacao() { return *m_identificacao; }
    TDataResultadosGerados& resultadosGerados() { return *m_resultados; }
    TDataRecursosAdquiridos& recursosAdquiridos() { return *m_recursos; }
    TDataAtividadesApoiadas& atividadesApoiadas() { return *m_atividades; }
    TDataGeral& geral() { return *m_geral; }

    Table* tabela(const QString& nome) const;  // any table of any module; nullptr when unknown
    Table& tabelaOuErro(const QString& nome) const;
    Table* tabelaDoSlot(int slot) const;       // the catalogued table of a slot; nullptr for empty slots
    std::vector<Table*> armazenadas() const;   // the 46 catalogued tables, in store order
    std::vector<Table*> todas() const;         // every table of every module

private:
    std::unique_ptr<TDataAnaliseResultados> m_analise;
    std::unique_ptr<TDataIdentificacao> m_identificacao;
    std::unique_ptr<TDataResultadosGerados> m_resultados;
    std::unique_ptr<TDataRecursosAdquiridos> m_recursos;
    std::unique_ptr<TDataAtividadesApoiadas> m_atividades;
    std::unique_ptr<TDataGeral> m_geral;
    std::vector<Table*> m_armazenadas;
    // Every table by name, ignoring case: rules and tools name tables in their own spelling, and each
    // row a deletion or a load touches may look one up.
    struct HashSemCaixa {
        size_t operator()(const QString& s) const;
    };
    struct IgualSemCaixa {
        bool operator()(const QString& a, const QString& b) const;
    };
    std::unordered_map<QString, Table*, HashSemCaixa, IgualSemCaixa> m_porNome;
};

// The run's instance, as the window, the command-line tool and the tests create it.
Dados& dados();
bool dadosCriados();
void criaDados();     // replaces any previous instance
void destroiDados();

// Short access in the manner of the modules' global names.
inline TDataGeral& DataGeral() { return dados().geral(); }
inline TDataIdentificacao& DataIdentificacao() { return dados().identificacao(); }
inline TDataResultadosGerados& DataResultadosGerados() { return dados().resultadosGerados(); }
inline TDataRecursosAdquiridos& DataRecursosAdquiridos() { return dados().recursosAdquiridos(); }
inline TDataAtividadesApoiadas& DataAtividadesApoiadas() { return dados().atividadesApoiadas(); }
inline TDataAnaliseResultados& DataAnaliseResultados() { return dados().analiseResultados(); }

// Installs the posting rules, which reach across modules.
void InstalaRegrasDePostagem(Dados& dados);

} // namespace store
