#pragma once

#include <QString>

#include <memory>

namespace store {
class Table;
}

namespace edit {

// Working copies of tables while an edit dialog is open, kept in memory under the names of the files
// they stand for ("temp/tab_edit.cof" ...). A copy holds the rows in their natural order, the filter
// text and switch, the index definitions and the current index, so restoring it gives back exactly
// the table that was saved. Saving again under the same name replaces the copy.
void GuardaCopia(const QString& nome, const store::Table& tabela);
bool ExisteCopia(const QString& nome);
// Puts the table back as the copy holds it; a pending edit of the table is abandoned. Throws
// store::TableError when there is no copy by that name.
void RestauraCopia(const QString& nome, store::Table& tabela);
void DescartaCopia(const QString& nome);

// The copies the dialogs keep besides the main table's (ArquivoCopiaEdicao).
inline const QString CopiaTrabalhosDoDono = QStringLiteral("temp/tabTrab1_edit.cof");
inline const QString CopiaBolsistaDoMembro = QStringLiteral("temp/tabMbBolsista_edit.cof");
inline const QString CopiaTrabalhosDaGrade = QStringLiteral("temp/tabTrab_edit.cof");

// A copy held by its owner rather than by name: what a commit takes before it starts, so that a
// failure halfway can put the tables back.
class FotoDeTabela
{
public:
    explicit FotoDeTabela(const store::Table& tabela);
    ~FotoDeTabela();
    FotoDeTabela(FotoDeTabela&&) noexcept;
    FotoDeTabela& operator=(FotoDeTabela&&) noexcept;

    void restaura(store::Table& tabela) const;

private:
    struct Dados;
    std::unique_ptr<Dados> m_dados;
};

} // namespace edit
