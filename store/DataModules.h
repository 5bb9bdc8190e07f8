#pragma once

#include "store/Esquemas.h"
#include "store/Table.h"

#include <memory>
#include <vector>

namespace store {

// A data module owns its tables for the whole run, in component order.
class DataModule
{
public:
    explicit DataModule(Modulo modulo);
    virtual ~DataModule();
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    Modulo modulo() const { return m_modulo; }
    std::vector<Table*> tabelas() const;
    Table* tabela(const QString& nome) const;  // nullptr when the module has no such table

protected:
    Table& porNome(const char* nome) const;

private:
    Modulo m_modulo;
    std::vector<std::unique_ptr<Table>> m_tabelas;
};

class TDataGeral : public DataModule
{
public:
    explicit TDataGeral(class Dados& dados);

    Table& tbSetorEconAting;
    Table& tbAreaConhecAting;
    Table& tbProjetos;

    // Whole-store operations over the catalogued tables, in store order.
    void DataGeralCreate();
    // The table files are read from and written to `pasta` (ProgramDir when empty).
    void LoadTables(const QString& pasta = QString());
    // LoadTables and CreateIndexes in one for tables already decoded (one per stored table, in store
    // order), filled and indexed on worker threads.
    void InstallTablesAndIndexes(std::vector<Table::FileContents>&& conteudos);
    void LoadTable(Table& tabela);
    void SaveTables(const QString& pasta = QString());
    // The table files' contents, one per stored table in store order, as SaveTables writes them.
    std::vector<QByteArray> EncodeTables();
    void SaveTable(Table& tabela);
    void ClearTables();
    void CloseTables();
    void CreateIndexes();
    // The indexes of one table as CreateIndexes makes them (none for a table it has nothing for),
    // and CreateIndexes for every table but those already done so.
    void CreateIndexes(Table& tabela);
    void CreateIndexesExcept(const std::vector<const Table*>& prontas);
    void ClearIndexes();
    void EmptyRecord();

private:
    class Dados& m_dados;
};

class TDataIdentificacao : public DataModule
{
public:
    TDataIdentificacao();

    Table& tbInstituicao;
    Table& tbMembro;
    Table& tbPlanoAplic;
    Table& tbLocaisPesquisa;
    Table& tbOutrasFontes;
    Table& tbMembroBolsistaTrabalho;
    Table& tbMembroBolsista;
    Table& tbProjeto;

    // The given column of the project's coordinator in tbMembro; empty when there is none.
    QString CampoDoCoordenador(const QString& coluna);
};

class TDataResultadosGerados : public DataModule
{
public:
    TDataResultadosGerados();

    Table& tbEstudo;
    Table& tbObrasEditadas;
    Table& tbProdTec;
    Table& tbServico;
    Table& tbSoftware;
    Table& tbPublicacao;
    Table& tbEstudosAreaConhec;
    Table& tbPublicEstudo;
    Table& tbPublicPublicoAlvo;
    Table& tbObraAreaConhec;
    Table& tbSoftSetores;
    Table& tbServicoAreaConhec;
    Table& tbPublicAreaConhec;
    Table& tbServicoSetores;
    Table& tbPatente;
    Table& tbEstudosSetores;
};

class TDataRecursosAdquiridos : public DataModule
{
public:
    TDataRecursosAdquiridos();

    Table& tbEquipamentos;
    Table& tbMaterialAdquirido;
    Table& tbMaterialAreaConhec;
};

class TDataAtividadesApoiadas : public DataModule
{
public:
    TDataAtividadesApoiadas();

    Table& tbLaboratorio;
    Table& tbBolsa;
    Table& tbBolsaAreaConhec;
    Table& tbTrabalhoAcademico;
    Table& tbTrabalhoAreaConhec;
    Table& tbCapacit;
    Table& tbCapacitMembro;
    Table& tbCursos;
    Table& tbCursosAreaConhec;
    Table& tbEventosApoiados;
    Table& tbEventosAreaConhec;
    Table& tbBase;
    Table& tbBaseArea;
    Table& tbBaseAcesso;
    Table& tbNivel;
    Table& tbSubNivel;
};

class TDataAnaliseResultados : public DataModule
{
public:
    TDataAnaliseResultados();

    Table& tbProblemas;
    Table& tbQualidade;
    Table& tbComentariosGerais;
    Table& tbAcoesCorretivas;
    Table& tbAnalisQualitativa;
};

} // namespace store
