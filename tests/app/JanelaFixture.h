#pragma once

#include "core/InteracaoRoteirizada.h"
#include "app/ui/TfrmMenu1.h"

#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable strings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A shown main window over a fresh store, with the scripted seam installed after the window's own.
class JanelaTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A small project: the project record, two institutions, one study, one grant, one problem.
    void preencheProjeto();
    // Marks the project open and shows its pages, as opening or loading a project does.
    void abreProjeto();
    // The small project, made and saved through Save As into `pasta` under `nome` (the program's
    // folder set there and its commands connected), then closed: the path of the saved file.
    QString salvaProjetoEFecha(const QString& pasta, const QString& nome);

    // A control of the window by its name. The record pages make their controls when they first
    // show; every page is made first, as if the user had visited them all.
    template <typename T = QWidget>
    T* achar(const char* nome) const
    {
        janela->paginas();
        T* w = janela->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    bool habilitado(const char* nome) const;

    std::unique_ptr<app::ui::TfrmMenu1> janela;
    std::unique_ptr<app::InteracaoRoteirizada> roteiro;
};
