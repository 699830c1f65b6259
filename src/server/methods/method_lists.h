#pragma once

#include "common.h"

#include <QHash>
#include <QJsonArray>

#include <QJsonObject>

namespace server::methods {

enum class MethodList
{
    Anthropometric,
    Energy
};

// One catalogue method as a row of its method list: the catalogue's columns encoded once,
// the consultation's key and choice filled in for each answer.
struct ListedMethod
{
    QString code;
    MethodList list = MethodList::Anthropometric;
    QVariant ageFrom;  // VRIDADEINITB, VRIDADEFINTB: coded ages, null when open
    QVariant ageTo;
    QJsonArray row;
};

// The catalogue's methods as list rows, in catalogue order (sequence, then code).
QList<ListedMethod> listedMethods(Transaction& tx);

// The consultation's stored method choices of both lists by method code: CDTBMETOAVAL,
// IDTABELAAV, CDTABELACO and the chosen reference's name NMREFEBIBL.
QHash<QString, SqlRow> storedMethodChoices(Transaction& tx, const records::ConsultationKey& k);

// The consultation's method list (GetDados elements 0 and 1): one row per catalogue
// method of the list offered at the coded age (VRIDADEINITB <= age <= VRIDADEFINTB, an
// empty bound being open) or already stored for the consultation, joined with the stored
// choice ("N" and no reference when none), in catalogue order.
QJsonObject methodListPacket(const QList<ListedMethod>& catalogue,
                             const QHash<QString, SqlRow>& storedChoices,
                             const records::ConsultationKey& k, double codedAge, MethodList list);

// SetMetoAval, SetMetoAvalEnerg, GetExistMetoAval.
void registerMethodLists(RouteTable& routes, Database& db);

}  // namespace server::methods
