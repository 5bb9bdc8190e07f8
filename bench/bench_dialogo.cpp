// The member dialog opened in edit mode and cancelled, on a project of n members and 5n academic works,
// against encoding those tables once with the table-file encoder, in the same run. Prints
// "ratio dialog-open-cancel <ours/encode>" for n = 20,000 and "ratio dialog-2n-over-n" (the dialog
// at 2n over the dialog at n).
#include "edit/Edicao.h"
#include "edit/EdicaoMembro.h"
#include "edit/FonteDeItens.h"
#include "edit/FormularioRoteirizado.h"

#include "core/InteracaoRoteirizada.h"
#include "store/Dados.h"
#include "store/Alocador.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Relogio = std::chrono::steady_clock;

double segundos(Relogio::time_point inicio) { return std::chrono::duration<double>(Relogio::now() - inicio).count(); }

void preenche(int membros)
{
    store::destroiDados();
    store::criaDados();
    store::Table& m = store::DataIdentificacao().tbMembro;
    store::Table& b = store::DataIdentificacao().tbMembroBolsista;
    store::Table& t = store::DataAtividadesApoiadas().tbTrabalhoAcademico;
    for (store::Table* x : {&m, &b, &t})
        x->disableControls();
    for (int i = 0; i < membros; ++i) {
        const QString cod = QString::number(1000 + i);
        m.append();
        m.setValue(QStringLiteral("Status"), QStringLiteral("N"));
        m.setValue(QStringLiteral("Cod_Membro"), cod);
        m.setValue(QStringLiteral("Nome"), QStringLiteral("MEMBRO %1").arg(i));
        m.setValue(QStringLiteral("BIRO"), QStringLiteral("B%1").arg(i));
        m.setValue(QStringLiteral("EquipeOriginal"), QStringLiteral("S"));
        m.setValue(QStringLiteral("DescricaoFuncao"), QStringLiteral("PESQUISADOR"));
        m.setValue(QStringLiteral("TitulacaoAtual"), QStringLiteral("DOUTORADO"));
        m.setValue(QStringLiteral("AreaConhecTitulacao"), QStringLiteral("FÍSICA"));
        m.setValue(QStringLiteral("PaisTitulacao"), QStringLiteral("BRASIL"));
        m.post();
        if (i % 4 == 0) {
            b.append();
            b.setValue(QStringLiteral("Status"), QStringLiteral("N"));
            b.setValue(QStringLiteral("Cod_Membro"), cod);
            b.setValue(QStringLiteral("FontePagadora"), QStringLiteral("KESTA"));
            b.setValue(QStringLiteral("ModalidadeBolsa"), QStringLiteral("DTI"));
            b.post();
        }
        for (int k = 0; k < 5; ++k) {
            t.append();
            t.setValue(QStringLiteral("Status"), QStringLiteral("N"));
            t.setValue(QStringLiteral("Cod_Trab"), QString::number(10 * i + k));
            t.setValue(QStringLiteral("Cod_Membro"), cod);
            t.setValue(QStringLiteral("TipoTrab"), QStringLiteral("TESE"));
            t.setValue(QStringLiteral("TituloTrab"), QStringLiteral("TRABALHO %1 %2").arg(i).arg(k));
            t.post();
        }
    }
    for (store::Table* x : {&m, &b, &t})
        x->enableControls();
    m.first();
    for (int i = 0; i < membros / 2; ++i)
        m.next();
}

// One open in edit mode on a member in the middle, then Cancelar; the best of three.
double dialogo()
{
    store::Table& m = store::DataIdentificacao().tbMembro;
    double melhor = 1e9;
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
        const auto inicio = Relogio::now();
        edit::FormularioRoteirizado form;
        edit::EdicaoMembro logica(form, {});
        form.instala(logica);
        edit::AbreEdicao(false, form.dialogo([&form] { form.clica(edit::EdicaoEntidade::Cancelar); }), m, nullptr,
                         QStringLiteral("Cod_Membro"));
        melhor = std::min(melhor, segundos(inicio));
    }
    return melhor;
}

double codifica()
{
    double melhor = 1e9;
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
        const auto inicio = Relogio::now();
        qsizetype bytes = 0;
        bytes += store::DataIdentificacao().tbMembro.encodeFile().size();
        bytes += store::DataIdentificacao().tbMembroBolsista.encodeFile().size();
        bytes += store::DataAtividadesApoiadas().tbTrabalhoAcademico.encodeFile().size();
        melhor = std::min(melhor, segundos(inicio));
        if (bytes == 0)
            std::puts("encoder wrote nothing");
    }
    return melhor;
}

} // namespace

int main(int argc, char** argv)
{
    store::FixaLimitesDoAlocador();
    QCoreApplication app(argc, argv);
    app::InteracaoRoteirizada roteiro;
    edit::TrocaLeitorDeItens([](const QString&) { return QStringList{QStringLiteral("X")}; });
    const int n = 20000;
    preenche(n);
    const double nosso = dialogo();
    const double peer = codifica();
    preenche(2 * n);
    const double dobro = dialogo();
    std::printf("dialog n=%d: %.4f s, encode: %.4f s, dialog 2n: %.4f s\n", n, nosso, peer, dobro);
    std::printf("ratio dialog-open-cancel %.3f\n", nosso / peer);
    std::printf("ratio dialog-2n-over-n %.3f\n", dobro / nosso);
    store::destroiDados();
    return 0;
}
