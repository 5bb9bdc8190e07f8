// Spelling in a memo with the system's Brazilian Portuguese dictionary: what is underlined as the user
// types, the context menu's suggestions and "Adicionar ao dicionário", texts in capitals, and a
// missing dictionary.

#include "PassosDeJanela.h"

#include "core/InteracaoRoteirizada.h"
#include "edit/Ortografia.h"
#include "edit/ui/RealceOrtografico.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

using passos::S;

namespace {

// The words of the memo's text drawn with the spelling underline.
QStringList Sublinhadas(QPlainTextEdit& memo)
{
    QStringList r;
    for (QTextBlock b = memo.document()->firstBlock(); b.isValid(); b = b.next())
        for (const QTextLayout::FormatRange& f : b.layout()->formats())
            if (f.format.underlineStyle() == QTextCharFormat::WaveUnderline)
                r << b.text().mid(f.start, f.length);
    return r;
}

// Right-click on the first occurrence of `palavra`: the menu that pops up, or null.
QMenu* MenuSobre(QPlainTextEdit& memo, const QString& palavra)
{
    const int onde = int(memo.toPlainText().indexOf(palavra));
    EXPECT_GE(onde, 0) << qPrintable(palavra);
    QTextCursor c(memo.document());
    c.setPosition(onde + 1);
    const QPoint pos = memo.cursorRect(c).center();
    QContextMenuEvent e(QContextMenuEvent::Mouse, pos, memo.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(memo.viewport(), &e);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList Textos(const QMenu& menu)
{
    QStringList r;
    for (QAction* a : menu.actions())
        r << (a->isSeparator() ? S("--") : a->text());
    return r;
}

void Aciona(QMenu* menu, const QString& texto)
{
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
        if (a->text() == texto) {
            a->trigger();
            menu->close();
            return;
        }
    ADD_FAILURE() << "no item " << qPrintable(texto) << " in " << qPrintable(Textos(*menu).join(S(" | ")));
    menu->close();
}

class OrtografiaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(edit::Ortografia::BaseDoSistema() + S(".dic")))
            GTEST_SKIP() << "dicionário pt_BR ausente (pacote hunspell-pt-br): " << qPrintable(edit::Ortografia::BaseDoSistema());
        ASSERT_TRUE(pasta.isValid());
        usuario = pasta.filePath(S("dados/palavras.txt"));
        ortografia = std::make_unique<edit::Ortografia>(edit::Ortografia::BaseDoSistema(), usuario);
        memo.resize(500, 200);
        edit::InstalaOrtografia(&memo, ortografia.get());
        memo.show();
        ortografia->esperaLeitura();
        if (ortografia->motivo().startsWith(S("programa construído sem o Hunspell")))
            GTEST_SKIP() << "construído sem o Hunspell (pacote libhunspell-dev)";
        ASSERT_TRUE(ortografia->disponivel()) << qPrintable(ortografia->motivo());
        QCoreApplication::processEvents();  // the dictionary's arrival reaches the memo
    }

    QTemporaryDir pasta;
    QString usuario;
    std::unique_ptr<edit::Ortografia> ortografia;
    QPlainTextEdit memo;
    app::InteracaoRoteirizada roteiro;
};

TEST_F(OrtografiaTest, SublinhaSugereEAprendePalavras)
{
    // Typed key by key, accents included: only the misspelled words are underlined.
    memo.setFocus();
    passos::tecla(&memo, S("A análise foi exelente e concluida no prazo."));
    EXPECT_EQ(Sublinhadas(memo), (QStringList{S("exelente"), S("concluida")}));

    // The context menu puts the suggestions and "Adicionar ao dicionário" above its usual items.
    QMenu* menu = MenuSobre(memo, S("exelente"));
    ASSERT_NE(menu, nullptr);
    const QStringList itens = Textos(*menu);
    ASSERT_GE(itens.indexOf(S("Adicionar ao dicionário")), 1) << qPrintable(itens.join(S(" | ")));
    EXPECT_TRUE(itens.mid(0, itens.indexOf(S("Adicionar ao dicionário"))).contains(S("excelente")))
        << qPrintable(itens.join(S(" | ")));
    EXPECT_EQ(itens.value(itens.indexOf(S("Adicionar ao dicionário")) + 1), S("--"));
    Aciona(menu, S("excelente"));
    EXPECT_EQ(memo.toPlainText(), S("A análise foi excelente e concluida no prazo."));
    EXPECT_EQ(Sublinhadas(memo), QStringList{S("concluida")});

    // A correct word gets the usual menu only.
    menu = MenuSobre(memo, S("análise"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Textos(*menu).contains(S("Adicionar ao dicionário")));
    menu->close();

    // A word added is accepted at once, kept in the user's file, and known to the next run.
    memo.moveCursor(QTextCursor::End);
    passos::tecla(&memo, S(" Rezozur"));
    EXPECT_EQ(Sublinhadas(memo), (QStringList{S("concluida"), S("Rezozur")}));
    // Looking at the words again is no change of the text: a form binding the memo sees no edit.
    int mudancas = 0;
    const auto conexao = QObject::connect(&memo, &QPlainTextEdit::textChanged, [&] { ++mudancas; });
    Aciona(MenuSobre(memo, S("Rezozur")), S("Adicionar ao dicionário"));
    EXPECT_EQ(Sublinhadas(memo), QStringList{S("concluida")});
    EXPECT_EQ(mudancas, 0);
    QObject::disconnect(conexao);
    QFile arquivo(usuario);
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(arquivo.readAll(), QByteArray("Rezozur\n"));
    edit::Ortografia proxima(edit::Ortografia::BaseDoSistema(), usuario);
    proxima.esperaLeitura();
    EXPECT_TRUE(proxima.correta(S("Rezozur")));
    EXPECT_FALSE(proxima.correta(S("Rezozux")));

    // Texts in capitals, as the server keeps them: each word is looked up in lower case, and the
    // suggestions come in capitals.
    memo.selectAll();
    passos::tecla(&memo, S("A AVALIAÇÃO FOI EXCELENTE"));
    QTest::keyClick(&memo, Qt::Key_Return);
    passos::tecla(&memo, S("MAS A AVALIACAO DO KESTA ATRAZOU"));
    EXPECT_EQ(Sublinhadas(memo), (QStringList{S("AVALIACAO"), S("KESTA"), S("ATRAZOU")}));
    menu = MenuSobre(memo, S("AVALIACAO"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Textos(*menu).contains(S("AVALIAÇÃO"))) << qPrintable(Textos(*menu).join(S(" | ")));
    Aciona(menu, S("Adicionar ao dicionário"));
    // Added from capitals, the word is kept in lower case and so accepted in any case.
    EXPECT_TRUE(ortografia->correta(S("avaliacao")));
    EXPECT_EQ(Sublinhadas(memo), (QStringList{S("KESTA"), S("ATRAZOU")}));

    // Numbers, e-mail and web addresses are not words.
    memo.selectAll();
    passos::tecla(&memo, S("Ver www.exemplo.gov.br ou fulano@exemplo.com, item 3b, prazo 12/2024."));
    EXPECT_EQ(Sublinhadas(memo), QStringList{});
}

TEST(OrtografiaAusente, OMemoFuncionaEABarraDeStatusAvisaUmaVez)
{
    app::InteracaoRoteirizada roteiro;
    QTemporaryDir pasta;
    edit::Ortografia ortografia(pasta.filePath(S("nao-existe/pt_BR")), pasta.filePath(S("palavras.txt")));
    QPlainTextEdit memo;
    edit::InstalaOrtografia(&memo, &ortografia);
    ortografia.esperaLeitura();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ortografia.disponivel());
    EXPECT_TRUE(roteiro.status.value(2).startsWith(S("Verificação ortográfica indisponível: "))) << qPrintable(roteiro.status.value(2));
    // Said once: a second memo leaves the panel to the texts that came after.
    roteiro.status[2] = S("outro texto");
    QPlainTextEdit outro;
    edit::InstalaOrtografia(&outro, &ortografia);
    QCoreApplication::processEvents();
    EXPECT_EQ(roteiro.status.value(2), S("outro texto"));
    // Typing works as ever and nothing is underlined.
    memo.show();
    memo.setFocus();
    passos::tecla(&memo, S("exelente texto"));
    EXPECT_EQ(memo.toPlainText(), S("exelente texto"));
    EXPECT_EQ(Sublinhadas(memo), QStringList{});
    QMenu* menu = MenuSobre(memo, S("exelente"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Textos(*menu).contains(S("Adicionar ao dicionário")));
    menu->close();
}

} // namespace
