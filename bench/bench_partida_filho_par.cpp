// The start-up peer: a bare Qt program that reads the project file's bytes and shows an empty main
// window. Started by bench_partida; with "--texto" after the file, its window also shows one line of
// text in its status bar, which is what loading the system's fonts costs any window that shows text.
#include "EsperaPronto.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication aplicacao(argc, argv);
    if (argc < 2)
        return 2;
    QFile arquivo(QString::fromLocal8Bit(argv[1]));
    if (!arquivo.open(QIODevice::ReadOnly))
        return 3;
    const QByteArray bytes = arquivo.readAll();
    QMainWindow janela;
    if (argc > 2 && qstrcmp(argv[2], "--texto") == 0)
        janela.statusBar()->showMessage(QStringLiteral("Pronto"));
    janela.show();
    // Shown with the bytes read is all it does: both moments are the same one.
    const auto pronta = [&] { return janela.isVisible() && !bytes.isEmpty(); };
    partida::EsperaPronto(pronta, pronta);
    return aplicacao.exec();
}
