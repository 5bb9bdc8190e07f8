#pragma once

#include "edit/ui/DialogoEscolhaQt.h"

#include <QScopedPointer>

namespace Ui {
class TfrmSetor;
class TfrmConhec;
class TfrmConhecTit;
class TfrmAcesso;
class TfrmAcoes;
} // namespace Ui

// The five choice dialogs, each on its own form; their rules are edit::LogicaEscolha's.
namespace edit::ui {

// Economic sectors of a study, software, service or the project.
class TfrmSetor final : public DialogoEscolhaQt
{
    Q_OBJECT
public:
    explicit TfrmSetor(QWidget* parent = nullptr);
    ~TfrmSetor() override;

private:
    const QScopedPointer<Ui::TfrmSetor> m_ui;
};

// Knowledge areas of a record or of the project.
class TfrmConhec final : public DialogoEscolhaQt
{
    Q_OBJECT
public:
    explicit TfrmConhec(QWidget* parent = nullptr);
    ~TfrmConhec() override;

private:
    const QScopedPointer<Ui::TfrmConhec> m_ui;
};

// The knowledge area of a member's title: only chosen, the member dialog writes it.
class TfrmConhecTit final : public DialogoEscolhaQt
{
    Q_OBJECT
public:
    explicit TfrmConhecTit(QWidget* parent = nullptr);
    ~TfrmConhecTit() override;

private:
    const QScopedPointer<Ui::TfrmConhecTit> m_ui;
};

// Access forms of a database, sorted.
class TfrmAcesso final : public DialogoEscolhaQt
{
    Q_OBJECT
public:
    explicit TfrmAcesso(QWidget* parent = nullptr);
    ~TfrmAcesso() override;

private:
    const QScopedPointer<Ui::TfrmAcesso> m_ui;
};

// Corrective actions of a problem, sorted.
class TfrmAcoes final : public DialogoEscolhaQt
{
    Q_OBJECT
public:
    explicit TfrmAcoes(QWidget* parent = nullptr);
    ~TfrmAcoes() override;

private:
    const QScopedPointer<Ui::TfrmAcoes> m_ui;
};

} // namespace edit::ui
