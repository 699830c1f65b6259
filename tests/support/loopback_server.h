#pragma once

#include "test_server.h"

#include "workspace/net_connection.h"

#include <QHash>
#include <QJsonArray>
#include <QList>
#include <QStringList>

#include <memory>

namespace workspacetest {

// The test server on SQLite (see test_server.h), with the HTTP transport the form's
// connection uses to reach it and the records the workspace tests set up.
class LoopbackServer
{
public:
    LoopbackServer();
    ~LoopbackServer();

    int port() const { return m_server.port(); }
    // Points the host settings (WebURL, WebPort, token) at this server.
    void useForHost() const;
    // The HTTP transport, counting the calls it makes.
    workspace::NetConnection::Transport transport();
    int calls() const { return m_traffic->calls; }
    // A client of our own, for setting up and checking records.
    records::AppServer& client() { return m_server.client(); }
    // Registers a patient in the host registry.
    void addPatient(const QString& code, const QString& name, const QString& sexCode,
                    const QDate& birth, bool deceased = false);
    // Adds a bibliographic reference to a reference list: "METO" with the owning method,
    // "PESO" or "OSSA" with an empty owner. A code the server seeded takes the name given.
    void addReference(const QString& list, const QString& owner, const QString& code,
                      const QString& name);
    // Empties a reference list (whatever the server seeded into it); a method list also
    // loses its method's default reference, as a method without references has none.
    void removeReferences(const QString& list, const QString& owner);

    // What went through the transport: the methods called, in order, with their
    // arguments; and failures to simulate: the next `times` calls of a method answer
    // with an error (after `skip` calls of it succeed).
    QStringList calledMethods() const { return m_traffic->methods; }
    QList<QJsonArray> argumentsOf(const QString& method) const;
    void clearTraffic() const;
    void failNext(const QString& method, int times = 1, int skip = 0) const;

    struct Traffic
    {
        int calls = 0;  // all of them, clearTraffic() or not
        QStringList methods;
        QList<QJsonArray> arguments;
        QHash<QString, int> skips;
        QHash<QString, int> failures;
    };

private:
    servertest::TestServer m_server;
    std::shared_ptr<Traffic> m_traffic = std::make_shared<Traffic>();
};

}  // namespace workspacetest
