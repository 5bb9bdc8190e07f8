#include "JanelaFixture.h"

#include <QApplication>
#include <QDir>

// Pictures of every page for a person to look at: written only when REZOZUR_CAPTURAS names a folder.
TEST_F(JanelaTest, CapturesEveryPageWhenAskedTo)
{
    const QString pasta = qEnvironmentVariable("REZOZUR_CAPTURAS");
    if (pasta.isEmpty())
        GTEST_SKIP() << "REZOZUR_CAPTURAS not set";
    QDir().mkpath(pasta);
    preencheProjeto();
    abreProjeto();
    int n = 0;
    auto grava = [&](const QString& nome) {
        QApplication::processEvents();
        const QString arquivo = QStringLiteral("%1/%2-%3.png").arg(pasta).arg(n++, 2, 10, QLatin1Char('0')).arg(nome);
        EXPECT_TRUE(janela->grab().save(arquivo)) << arquivo.toStdString();
    };
    for (int i = 0; i < janela->pgGeral->pageCount(); ++i) {
        janela->pgGeral->setActivePage(i);
        auto* sub = qobject_cast<app::ui::TPageControl*>(janela->pgGeral->page(i));
        if (!sub) {
            grava(janela->pgGeral->caption(i));
            continue;
        }
        for (int j = 0; j < sub->pageCount(); ++j) {
            sub->setActivePage(j);
            grava(janela->pgGeral->caption(i) + QLatin1Char('-') + sub->caption(j));
        }
    }
}
