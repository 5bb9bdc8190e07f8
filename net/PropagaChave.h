#pragma once

#include <QString>

namespace store {
class Dados;
}

// When the server gives a record created off-line its permanent code, every child row that still
// refers to the provisional code must follow, in every data module, before the children are sent.
namespace net {

// One operation per parent kind. Each walks its child links in a fixed order; a child table ends
// with "Primary" as its current index and its filter switched on. Rows of every status are reached,
// deleted ones included. Failures of the table facility escape to the caller.
void PropagateKeyInstituicao(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyMembro(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyEstudo(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyPublicacao(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyObras(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyProd(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeySoft(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyServ(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyLaboratorio(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyBolsa(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyTrabalho(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyCapacit(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyCurso(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyEvento(store::Dados& dados, const QString& velho, const QString& novo);
void PropagateKeyProblema(store::Dados& dados, const QString& velho, const QString& novo);

// True when two codes are the same for the server: blanks around them and letter case ignored.
bool MesmoCodigo(const QString& a, const QString& b);

// The choice made while the server's answers are read: the operation of the parent's catalogue slot,
// run only when the slot names a key field and the new code differs from the old one. Returns true
// when an operation ran.
bool PropagaChave(store::Dados& dados, int slot, const QString& velho, const QString& novo);

} // namespace net
