#include "database_location.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace server::storage {

QString engineName(Engine engine)
{
    return engine == Engine::Sqlite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL");
}

DatabaseLocation DatabaseLocation::sqlite(const QString& file)
{
    DatabaseLocation location;
    location.engine = Engine::Sqlite;
    location.sqliteFile = file;
    return location;
}

DatabaseLocation DatabaseLocation::postgres(const QString& url)
{
    const QUrl u(url, QUrl::StrictMode);
    auto bad = [&url](const QString& why) {
        return StorageError(QStringLiteral("Endereço PostgreSQL inválido '%1': %2.").arg(url, why));
    };
    if (!u.isValid())
        throw bad(QStringLiteral("não é uma URL"));
    if (u.scheme() != QLatin1String("postgresql") && u.scheme() != QLatin1String("postgres"))
        throw bad(QStringLiteral("use postgresql://usuario@servidor:porta/banco"));
    DatabaseLocation location;
    location.engine = Engine::Postgres;
    location.host = u.host();
    location.port = u.port(5432);
    location.user = u.userName();
    location.password = u.password();
    location.database = u.path().mid(1);
    if (location.host.isEmpty())
        throw bad(QStringLiteral("falta o servidor"));
    if (location.database.isEmpty() || location.database.contains(QLatin1Char('/')))
        throw bad(QStringLiteral("falta o nome do banco"));
    const QUrlQuery query(u);
    for (const auto& [name, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (name != QLatin1String("schema"))
            throw bad(QStringLiteral("parâmetro desconhecido '%1'").arg(name));
        // The schema name reaches SQL as an identifier, so only plain names are taken.
        static const QRegularExpression identifier(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
        if (!identifier.match(value).hasMatch())
            throw bad(QStringLiteral("nome de esquema inválido '%1'").arg(value));
        location.schema = value;
    }
    return location;
}

QString DatabaseLocation::display() const
{
    if (engine == Engine::Sqlite)
        return QStringLiteral("SQLite %1").arg(sqliteFile);
    QString text = QStringLiteral("PostgreSQL postgresql://%1%2:%3/%4")
                       .arg(user.isEmpty() ? QString() : user + QLatin1Char('@'), host)
                       .arg(port)
                       .arg(database);
    if (!schema.isEmpty())
        text += QStringLiteral("?schema=") + schema;
    return text;
}

}  // namespace server::storage
