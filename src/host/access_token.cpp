#include "host/access_token.h"

#include "host/host_error.h"
#include "hostfw/access_token.h"

namespace host {

QString readAccessToken(const QString& path)
{
    try {
        return hostfw::readAccessToken(path);
    } catch (const records::Error& e) {
        throw HostError(e.message());
    }
}

}  // namespace host
