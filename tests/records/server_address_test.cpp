// HOST:PORT as the host window, the command line and the server's --listen read it.

#include "records/server_address.h"

#include <gtest/gtest.h>

using namespace records;
using namespace Qt::StringLiterals;

namespace {

struct Row
{
    QString text;
    PortZero zero;
    std::optional<ServerAddress> expected;
};

}  // namespace

TEST(ServerAddressTest, ReadsHostColonPortAndRefusesTheRest)
{
    constexpr PortZero refused = PortZero::Refused;
    constexpr PortZero allowed = PortZero::Allowed;
    const Row rows[] = {
        {u"127.0.0.1:8512"_s, refused, ServerAddress{u"127.0.0.1"_s, 8512}},
        {u"servidor.hospital:1"_s, refused, ServerAddress{u"servidor.hospital"_s, 1}},
        {u"localhost:65535"_s, refused, ServerAddress{u"localhost"_s, 65535}},
        {u"  db.local:7000 "_s, refused, ServerAddress{u"db.local"_s, 7000}},
        {u"[::1]:8512"_s, refused, ServerAddress{u"::1"_s, 8512}},
        // Only a listening server may ask for any free port.
        {u"host:0"_s, refused, std::nullopt},
        {u"127.0.0.1:0"_s, allowed, ServerAddress{u"127.0.0.1"_s, 0}},
        {u"[::]:9000"_s, allowed, ServerAddress{u"::"_s, 9000}},
        {u""_s, refused, std::nullopt},
        {u"8512"_s, allowed, std::nullopt},
        {u"127.0.0.1"_s, refused, std::nullopt},
        {u":8512"_s, refused, std::nullopt},
        {u"host:"_s, refused, std::nullopt},
        {u"host:65536"_s, allowed, std::nullopt},
        {u"host:999999"_s, refused, std::nullopt},
        {u"host:80a"_s, refused, std::nullopt},
        {u"host:+80"_s, refused, std::nullopt},
        {u"host:-1"_s, allowed, std::nullopt},
        {u"host: 80"_s, refused, std::nullopt},
        {u"ho st:80"_s, refused, std::nullopt},
        {u"http://host:80"_s, refused, std::nullopt},
        {u"user@host:80"_s, refused, std::nullopt},
        {u"[::1:80"_s, refused, std::nullopt},
        {u"::1:80"_s, refused, std::nullopt},
        {u"[]:80"_s, refused, std::nullopt},
        {u"[host]:80"_s, refused, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(parseServerAddress(row.text, row.zero), row.expected);
    }
}

TEST(ServerAddressTest, WritesIpv6InBrackets)
{
    EXPECT_EQ((ServerAddress{u"::1"_s, 8512}.toString()), u"[::1]:8512"_s);
    EXPECT_EQ((ServerAddress{u"localhost"_s, 80}.toString()), u"localhost:80"_s);
}
