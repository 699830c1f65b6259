// The client's list of remote methods against the server's route table: the same names
// with the same number of arguments, so a call the client makes is a call the server
// serves.

#include <server/api/route_table.h>
#include <server/auth/audit.h>
#include <server/methods/routes.h>
#include <server/storage/database.h>

#include <records/remote_methods.h>

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Methods the client declares that the server does not serve yet. The list shrinks to
// empty as the server gains them; the test below fails when one of these becomes served,
// so the list stays true.
const QSet<QString> kNotServedYet = {};

// Registration only binds the routes to the database; nothing here runs a handler.
class NoDatabase : public server::storage::Database
{
public:
    server::storage::Engine engine() const override { return server::storage::Engine::Sqlite; }
    QString describe() const override { return u"none"_s; }
    std::unique_ptr<server::storage::Transaction> begin(server::storage::Access) override
    {
        throw server::storage::StorageError(u"no database"_s);
    }
};

}  // namespace

TEST(RemoteMethodsTest, ClientAndServerAgreeOnNamesAndArgumentCounts)
{
    NoDatabase db;
    server::api::RouteTable routes;
    server::methods::registerAll(routes, db);
    server::auth::registerAuditMethods(routes, db);

    QSet<QString> declared;
    for (const records::RemoteMethod& m : records::remoteMethods()) {
        const QString name = QString::fromLatin1(m.name.data(), qsizetype(m.name.size()));
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(declared.contains(name)) << "declared twice";
        declared.insert(name);
        if (kNotServedYet.contains(name)) {
            EXPECT_FALSE(routes.contains(name)) << "served now: take it off kNotServedYet";
            continue;
        }
        ASSERT_TRUE(routes.contains(name)) << "declared by the client, not served";
        EXPECT_EQ(routes.signature(name).size(), m.argCount);
    }
    for (const QString& name : kNotServedYet)
        EXPECT_TRUE(declared.contains(name)) << name.toStdString() << " is not a client method";
    for (const QString& name : routes.methods())
        EXPECT_TRUE(declared.contains(name))
            << name.toStdString() << " is served but the client does not declare it";
}
