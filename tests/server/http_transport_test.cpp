// The HTTP transport against hostile and idle clients, over raw sockets on loopback: a
// request that trickles in is closed at its deadline while others are served, one address
// cannot hold more than its share of connections, idle kept-alive connections take no
// worker, and a request gets the same answer first on a connection or after another.

#include "raw_connection.h"
#include "test_server.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;
using namespace servertest;

namespace {

server::app::ServerConfig configWith(int requestTimeoutMs, int workers = 4, int perAddress = 64)
{
    server::app::ServerConfig c = TestServer::quietConfig();
    c.requestTimeoutMs = requestTimeoutMs;
    c.workers = workers;
    c.maxConnectionsPerAddress = perAddress;
    c.maxBodyBytes = 64 * 1024;
    return c;
}

}  // namespace

TEST(HttpTransportTest, ATricklingRequestIsClosedAtItsDeadlineWhileOthersAreServed)
{
    TestServer server(Engine::Sqlite, configWith(500));
    RawConnection slow(server.port());
    // Each byte comes well within any read timeout, but the whole request would take
    // far longer than its deadline: one byte per 50 ms wait for the close.
    const std::string request = RawConnection::request("GetPacientes", server.token(), "{}");
    size_t sent = 0;
    bool closed = false;
    bool otherServed = false;
    while (sent < request.size() && !closed) {
        if (!slow.send(request.substr(sent++, 1)))
            break;
        if (!otherServed && sent == 3) {
            const records::Reply r = server.client().GetPacientes();
            EXPECT_TRUE(r.ok) << r.error.toStdString();
            otherServed = true;
        }
        closed = slow.closedWithin(50);
    }
    EXPECT_TRUE(otherServed);
    EXPECT_LT(sent, request.size()) << "the whole request went in before the deadline";
    EXPECT_TRUE(closed || slow.closedWithin(failureBoundMs));
    EXPECT_EQ(slow.read().status, 0);
    EXPECT_TRUE(server.client().GetPacientes().ok);
}

TEST(HttpTransportTest, OneAddressHoldsNoMoreThanItsConnections)
{
    TestServer server(Engine::Sqlite, configWith(10'000, 4, 3));
    std::vector<std::unique_ptr<RawConnection>> held;
    for (int i = 0; i < 3; ++i) {
        held.push_back(std::make_unique<RawConnection>(server.port()));
        ASSERT_EQ(held.back()->call("GetPacientes", server.token()).status, 200);
    }
    RawConnection extra(server.port());
    const Response refused = extra.call("GetPacientes", server.token());
    EXPECT_EQ(refused.status, 503);
    EXPECT_TRUE(refused.error().contains(u"Conexões demais"_s)) << refused.error().toStdString();
    EXPECT_TRUE(refused.closes);
    EXPECT_TRUE(extra.closedWithin(failureBoundMs));

    // The held connections still serve; once one closes, a new one is admitted.
    EXPECT_EQ(held[0]->call("GetPacientes", server.token()).status, 200);
    held[2].reset();
    EXPECT_TRUE(waitUntil(
        [&] {
            RawConnection again(server.port());
            return again.call("GetPacientes", server.token()).status == 200;
        },
        std::chrono::milliseconds(failureBoundMs)));
}

TEST(HttpTransportTest, IdleKeptAliveConnectionsTakeNoWorker)
{
    // Far more idle connections than workers, some after a call, some that never sent a
    // byte: a new client is still answered, and so are the idle ones when they call.
    TestServer server(Engine::Sqlite, configWith(10'000, 2));
    std::vector<std::unique_ptr<RawConnection>> idle;
    for (int i = 0; i < 12; ++i) {
        idle.push_back(std::make_unique<RawConnection>(server.port()));
        if (i % 2 == 0) {
            ASSERT_EQ(idle.back()->call("GetPacientes", server.token()).status, 200);
        }
    }
    EXPECT_TRUE(server.newClient(server.token())->GetPacientes().ok);
    for (auto& c : idle)
        EXPECT_EQ(c->call("GetPacientes", server.token()).status, 200);
}

TEST(HttpTransportTest, WhatFollowsAnAnswerIsReadLikeAFirstRequest)
{
    // Each row on a fresh connection (read by the I/O thread) and right after a call on a
    // kept-alive one (the worker that answered may read it itself): whole, pipelined,
    // split, refused or malformed, it gets the same answer. Every POST path reaches the API
    // layer, which names a path it does not know; a refusal there keeps the connection. The
    // deadline is far beyond the read bound: a Content-Length the server will not read is
    // refused without waiting for the body.
    TestServer server(Engine::Sqlite, configWith(120'000));
    const std::string call =
        RawConnection::request("GetPacientes", server.token(), R"({"args": []})");
    const std::string head = call.substr(0, call.find("\r\n\r\n") + 4);
    const std::string auth = "\r\nHost: x\r\nAuthorization: Bearer " + server.token().toStdString();
    const auto line = [&](const std::string& requestLine) {
        return requestLine + auth + "\r\nContent-Length: 12\r\n\r\n{\"args\": []}";
    };
    const auto length = [&](const std::string& value) {
        return "POST /rpc/SetInfoAval HTTP/1.1" + auth + "\r\nContent-Length: " + value
               + "\r\n\r\n{\"args\": [";
    };
    struct Row
    {
        const char* name;
        std::vector<std::string> parts;
        std::vector<int> statuses;
        bool closes;
        const char* text = "";  // in the last answer's error
    };
    const char* const invalid = "Requisição HTTP inválida";
    // clang-format off
    const Row rows[] = {
        {"one request", {call}, {200}, false},
        {"two in one write", {call + call}, {200, 200}, false},
        {"headers, then body", {head, call.substr(head.size())}, {200}, false},
        {"a byte, then the rest", {call.substr(0, 1), call.substr(1)}, {200}, false},
        {"a query string", {line("POST /rpc/GetPacientes?x=1 HTTP/1.1")}, {200}, false},
        {"another path", {line("POST /outro HTTP/1.1")}, {404}, false, "POST /outro"},
        {"a GET", {line("GET /rpc/GetPacientes HTTP/1.1")}, {404}, false, "GET /rpc/GetPacientes"},
        {"a wrong token", {RawConnection::request("GetPacientes", "x", "{}")}, {401}, false},
        {"a body over the limit", {length("65537")}, {413}, true, "o limite de 65536 bytes"},
        {"a length past 32 bits", {length("99999999999")}, {413}, true, "maior que o limite"},
        {"a negative length", {length("-1")}, {400}, true, invalid},
        {"a length with letters", {length("12abc")}, {400}, true, invalid},
        {"a length past 64 bits", {length("999999999999999999999999999")}, {400}, true, invalid},
        {"malformed", {"NOT HTTP AT ALL\r\n\r\n"}, {400}, true},
        {"Connection: close",
         {line("POST /rpc/GetPacientes HTTP/1.1\r\nConnection: close")}, {200}, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        for (const bool afterAnswer : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (afterAnswer ? ", after an answer" : ""));
            RawConnection c(server.port());
            if (afterAnswer) {
                ASSERT_EQ(c.call("GetPacientes", server.token()).status, 200);
            }
            for (const std::string& part : row.parts)
                ASSERT_TRUE(c.send(part));
            for (size_t i = 0; i < row.statuses.size(); ++i) {
                const Response r = c.read();
                const bool last = i + 1 == row.statuses.size();
                EXPECT_EQ(r.status, row.statuses[i]) << r.error().toStdString();
                EXPECT_EQ(r.closes, row.closes && last);
                if (last) {
                    EXPECT_TRUE(r.error().contains(QString::fromUtf8(row.text)))
                        << r.error().toStdString();
                }
            }
            if (row.closes)
                EXPECT_TRUE(c.closedWithin(failureBoundMs));
            else
                EXPECT_EQ(c.call("GetPacientes", server.token()).status, 200);
        }
    }
}
