#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <string>

namespace servertest {

// Upper bound for any single wait on the server; only reached when a test fails.
inline constexpr int failureBoundMs = 30'000;

struct Response
{
    int status = 0;  // 0: the connection closed without an answer
    QJsonObject body;
    bool closes = false;  // "Connection: close"
    QString error() const { return body.value(QStringLiteral("error")).toString(); }
};

// A client connection on raw sockets on loopback, to send exactly the bytes a test needs
// (a request that trickles in, a body that follows its headers later).
class RawConnection
{
public:
    explicit RawConnection(int port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        timeval tv{failureBoundMs / 1000, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    ~RawConnection() { ::close(m_fd); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    // The client's own port, as the server's end of the connection names it.
    int localPort() const
    {
        sockaddr_in own{};
        socklen_t size = sizeof own;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&own), &size);
        return ntohs(own.sin_port);
    }

    bool send(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    // Waits up to ms for the server to close the connection (or answer something);
    // answers whether it did.
    bool closedWithin(int ms)
    {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            return false;
        char c;
        return ::recv(m_fd, &c, 1, MSG_PEEK) <= 0;
    }

    // Reads one answer: status line, headers, Content-Length bytes of body.
    Response read()
    {
        Response r;
        QByteArray head;
        char c;
        while (!head.endsWith("\r\n\r\n")) {
            if (::recv(m_fd, &c, 1, 0) != 1)
                return r;
            head += c;
        }
        head = head.toLower();
        r.status = head.mid(9, 3).toInt();
        r.closes = head.contains("connection: close");
        const qsizetype at = head.indexOf("content-length:") + 15;
        const qsizetype length =
            at < 15 ? 0 : head.mid(at, head.indexOf('\r', at) - at).trimmed().toLongLong();
        QByteArray body;
        while (body.size() < length && ::recv(m_fd, &c, 1, 0) == 1)
            body += c;
        r.body = QJsonDocument::fromJson(body).object();
        return r;
    }

    Response call(const std::string& method, const QByteArray& token)
    {
        return send(request(method, token, R"({"args": []})")) ? read() : Response{};
    }

    static std::string request(const std::string& method, const QByteArray& token,
                               const std::string& body)
    {
        return "POST /rpc/" + method + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer "
               + token.toStdString() + "\r\nContent-Type: application/json\r\nContent-Length: "
               + std::to_string(body.size()) + "\r\n\r\n" + body;
    }

private:
    int m_fd = -1;
};

}  // namespace servertest
