#include "edit/ui/EstadoDaJanela.h"

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

namespace edit {

std::unique_ptr<QSettings> ConfiguracoesDeEstado()
{
    QString arquivo = qEnvironmentVariable("REZOZUR_ESTADO");
    if (arquivo.isEmpty())
        arquivo = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                  + QStringLiteral("/rezozur/estado.ini");
    return std::make_unique<QSettings>(arquivo, QSettings::IniFormat);
}

void RestauraGeometria(QWidget& janela, const QString& chave, double fracao)
{
    const QByteArray salva = ConfiguracoesDeEstado()->value(chave + QStringLiteral("/geometria")).toByteArray();
    // restoreGeometry brings a window left on a screen that is gone back onto the one there is.
    if (!salva.isEmpty() && janela.restoreGeometry(salva))
        return;
    QScreen* tela = janela.screen() ? janela.screen() : QGuiApplication::primaryScreen();
    if (!tela)
        return;
    const QRect area = tela->availableGeometry();
    QSize tamanho(int(area.width() * fracao), int(area.height() * fracao));
    tamanho = tamanho.expandedTo(janela.minimumSize()).boundedTo(area.size());
    janela.resize(tamanho);
    janela.move(area.center() - QPoint(tamanho.width() / 2, tamanho.height() / 2));
}

void GuardaGeometria(const QWidget& janela, const QString& chave)
{
    ConfiguracoesDeEstado()->setValue(chave + QStringLiteral("/geometria"), janela.saveGeometry());
}

bool RestauraLarguras(QHeaderView& cabecalho, const QString& grade)
{
    const QList<QVariant> larguras =
        ConfiguracoesDeEstado()->value(QStringLiteral("grades/") + grade).toList();
    if (larguras.isEmpty() || larguras.size() != cabecalho.count())
        return false;
    for (int c = 0; c < larguras.size(); ++c)
        cabecalho.resizeSection(c, std::max(larguras.at(c).toInt(), cabecalho.minimumSectionSize()));
    return true;
}

void GuardaLarguras(const QHeaderView& cabecalho, const QString& grade)
{
    QList<QVariant> larguras;
    for (int c = 0; c < cabecalho.count(); ++c)
        larguras << cabecalho.sectionSize(c);
    ConfiguracoesDeEstado()->setValue(QStringLiteral("grades/") + grade, larguras);
}

} // namespace edit
