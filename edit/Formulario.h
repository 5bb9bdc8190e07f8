#pragma once

#include "edit/CampoMascarado.h"

#include <QString>
#include <QStringList>

namespace edit {

// How an entity dialog ends: still open (a check failed), confirmed, or cancelled.
enum class Resultado { Nenhum, Ok, Cancelar };

// The form of an entity dialog as its logic sees it: controls and pages named by their objectName.
// The Qt dialogs implement it over their widgets (edit/ui/FormularioQt.h); tests use
// FormularioRoteirizado. Controls bound to a field (EdicaoEntidade::liga) write into the record
// themselves as the user changes them; the logic reads the record, and asks mostraRegistro() after it
// changed fields itself.
class Formulario
{
public:
    virtual ~Formulario() = default;

    // The dialog's mode tag: 1 insert, 0 edit (set by AbreEdicao).
    virtual int modo() const = 0;

    // The text a control shows: an edit's or a memo's text (a masked edit's with blanks for its empty
    // positions), a list box's chosen item, the stored value of a radio group's or check box's choice.
    virtual QString valor(const QString& controle) const = 0;
    virtual void defineValor(const QString& controle, const QString& valor) = 0;
    // A masked edit's maximum length (its mask's); 32767 for a plain edit.
    virtual int tamanhoMaximo(const QString& controle) const = 0;
    // Check boxes that are not bound to a field.
    virtual bool marcado(const QString& controle) const = 0;
    virtual void marca(const QString& controle, bool sim) = 0;

    virtual bool habilitado(const QString& controle) const = 0;
    virtual void habilita(const QString& controle, bool sim) = 0;
    // Disabled and greyed, telling why (a tooltip): the identity fields of a record the server knows.
    virtual void protege(const QString& controle, const QString& motivo) = 0;

    virtual QString foco() const = 0;  // the active control's name; empty when none
    virtual void foca(const QString& controle) = 0;

    virtual QString pagina() const = 0;  // the current page's name
    virtual void mostraPagina(const QString& pagina) = 0;

    // The items of a list box (sorted, as the boxes show them).
    virtual QStringList itens(const QString& controle) const = 0;
    virtual void defineItens(const QString& controle, const QStringList& itens) = 0;

    virtual void defineTitulo(const QString& titulo) = 0;
    // Loads every bound control from its record.
    virtual void mostraRegistro() = 0;
    // Ends the modal run with the result (the logic has run its closing steps already).
    virtual void fecha(Resultado resultado) = 0;
};

// A control of a form seen as a masked edit, for the field checks of edit/ValidaNumeros.h.
class CampoDoFormulario : public CampoMascarado
{
public:
    CampoDoFormulario(Formulario& form, QString controle)
        : m_form(form)
        , m_controle(std::move(controle))
    {
    }
    QString texto() const override { return m_form.valor(m_controle); }
    void defineTexto(const QString& texto) override { m_form.defineValor(m_controle, texto); }
    int tamanhoMaximo() const override { return m_form.tamanhoMaximo(m_controle); }

private:
    Formulario& m_form;
    QString m_controle;
};

} // namespace edit
