#include "write_through.h"

#include "error.h"
#include "remote_methods.h"

namespace records {
namespace {

using WithNulls = Reply (AppServer::*)(const Delta&, const QString&);
using DeltaOnly = Reply (AppServer::*)(const Delta&);

struct WriteMethod
{
    Remote method;
    WithNulls withNulls;
    DeltaOnly deltaOnly;
};

// Every remote method that stores a change log; the names are the remote list's.
const WriteMethod kWriteMethods[] = {
    {Remote::SetMetoAval, &AppServer::SetMetoAval, nullptr},
    {Remote::SetMetoAvalEnerg, &AppServer::SetMetoAvalEnerg, nullptr},
    {Remote::SetInfoAval, &AppServer::SetInfoAval, nullptr},
    {Remote::SetResuAval, nullptr, &AppServer::SetResuAval},
    {Remote::SetResuAvalEnerg, nullptr, &AppServer::SetResuAvalEnerg},
    {Remote::SetNutrePaci, nullptr, &AppServer::SetNutrePaci},
    {Remote::SetDiag, nullptr, &AppServer::SetDiag},
    {Remote::SetInsMetoAval, nullptr, &AppServer::SetInsMetoAval},
    {Remote::SetInsTipoDado, nullptr, &AppServer::SetInsTipoDado},
    {Remote::SetInsDadoAval, nullptr, &AppServer::SetInsDadoAval},
};

const WriteMethod& lookup(const QString& name)
{
    for (const WriteMethod& m : kWriteMethods) {
        const std::string_view known = remoteMethod(m.method).name;
        if (name == QLatin1StringView(known.data(), static_cast<qsizetype>(known.size())))
            return m;
    }
    throw Error(QStringLiteral("Método de gravação desconhecido: '%1'.").arg(name));
}

}  // namespace

QJsonValue checkReply(const Reply& reply)
{
    if (!reply.ok && reply.stale)
        throw StaleDataError(reply.error);
    if (!reply.ok)
        throw Error(reply.error.isEmpty() ? QStringLiteral("O servidor não respondeu.")
                                          : reply.error);
    return reply.payload;
}

bool takesNullFieldList(const QString& writeMethod)
{
    return lookup(writeMethod).withNulls != nullptr;
}

Reply sendDelta(AppServer& server, const QString& writeMethod, const Delta& delta,
                const QString& nullFieldList)
{
    const WriteMethod& m = lookup(writeMethod);
    return m.withNulls ? (server.*m.withNulls)(delta, nullFieldList) : (server.*m.deltaOnly)(delta);
}

void writeThrough(DataSet& dataSet, AppServer& server, const QString& writeMethod)
{
    if (dataSet.changeCount() == 0)
        return;
    try {
        const bool withNulls = takesNullFieldList(writeMethod);
        const QString nullFields = withNulls ? dataSet.nullFieldList() : QString();
        checkReply(sendDelta(server, writeMethod, dataSet.delta(), nullFields));
        dataSet.mergeChangeLog();
    } catch (...) {
        dataSet.cancelUpdates();
        throw;
    }
}

void attachWriteThrough(DataSet& dataSet, AppServer& server)
{
    if (!dataSet.layout() || dataSet.layout()->writeMethod.isEmpty())
        throw Error(QStringLiteral("%1 não tem método de gravação.").arg(dataSet.name()));
    attachWriteThrough(dataSet, server, dataSet.layout()->writeMethod);
}

void attachWriteThrough(DataSet& dataSet, AppServer& server, const QString& writeMethod)
{
    lookup(writeMethod);  // refuse an unknown method now, not at the first post
    DataSet::Hook previous = std::move(dataSet.afterPost);
    dataSet.afterPost = [&server, writeMethod, previous](DataSet& ds) {
        writeThrough(ds, server, writeMethod);
        if (previous)
            previous(ds);
    };
}

}  // namespace records
