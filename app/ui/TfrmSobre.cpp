#include "app/ui/TfrmSobre.h"

#include "app/ui/Icones.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace app::ui {

TfrmSobre::TfrmSobre(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Sobre o KESTA II Off-line 1.3.1"));

    auto* figura = new QLabel(this);
    figura->setObjectName(QStringLiteral("imgSobre"));
    figura->setPixmap(Desenho(Figura::Programa, 64));
    figura->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* produto = new QLabel(QStringLiteral("REZOZUR Eva-Rudo"), this);
    QFont f = produto->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    produto->setFont(f);
    auto* versao = new QLabel(QStringLiteral("Versão 1.3.1"), this);
    versao->setObjectName(QStringLiteral("lbVersao"));
    auto* texto = new QLabel(QStringLiteral(
        "Ferramenta off-line de acompanhamento de projetos do KESTA.\n"
        "Prepara o relatório do projeto sem conexão, guarda-o em\n"
        "arquivo de projeto (.prj, cifrado com a chave fixa do programa,\n"
        "que o protege de leitura casual, não de um leitor determinado)\n"
        "e troca as alterações com o servidor do programa."), this);
    texto->setObjectName(QStringLiteral("lbTexto"));

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* textos = new QVBoxLayout;
    textos->addWidget(produto);
    textos->addWidget(versao);
    textos->addSpacing(8);
    textos->addWidget(texto);
    textos->addStretch();
    auto* topo = new QHBoxLayout;
    topo->addWidget(figura);
    topo->addSpacing(12);
    topo->addLayout(textos, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(ok);
    botoes->addStretch();
    auto* l = new QVBoxLayout(this);
    l->addLayout(topo);
    l->addLayout(botoes);
    setFixedSize(sizeHint());
}

} // namespace app::ui
