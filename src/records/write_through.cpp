#include "write_through.h"

#include "error.h"

namespace records {
namespace {

using WithNulls = Reply (AppServer::*)(const Delta&, const QString&);
using DeltaOnly = Reply (AppServer::*)(const Delta&);

struct WriteMethod
{
    const char* name;
    WithNulls withNulls;
    DeltaOnly deltaOnly;
};

// Every remote method that stores a change log, in one place.
const WriteMethod kWriteMethods[] = {
    {"SetMetoAval", &AppServer::SetMetoAval, nullptr},
    {"SetMetoAvalEnerg", &AppServer::SetMetoAvalEnerg, nullptr},
    {"SetInfoAval", &AppServer::SetInfoAval, nullptr},
    {"SetResuAval", nullptr, &AppServer::SetResuAval},
    {"SetResuAvalEnerg", nullptr, &AppServer::SetResuAvalEnerg},
    {"SetNutrePaci", nullptr, &AppServer::SetNutrePaci},
    {"SetDiag", nullptr, &AppServer::SetDiag},
    {"SetInsMetoAval", nullptr, &AppServer::SetInsMetoAval},
    {"SetInsTipoDado", nullptr, &AppServer::SetInsTipoDado},
    {"SetInsDadoAval", nullptr, &AppServer::SetInsDadoAval},
};

const WriteMethod& lookup(const QString& name)
{
    for (const WriteMethod& m : kWriteMethods) {
        if (name == QLatin1String(m.name))
            return m;
    }
    throw Error(QStringLiteral("Método de gravação desconhecido: '%1'.").arg(name));
}

}  // namespace

QJsonValue checkReply(const Reply& reply)
{
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
