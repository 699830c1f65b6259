// A stand-in for libavalnutr.so: exports IniProc, records each call, and reports what it
// saw of the host framework at that moment, so the tests can check that the host's
// settings and MDI area reach a module that links the framework itself.
#include "hostfw/host_settings.h"
#include "hostfw/widgets/mdi_host.h"

#include "records/error.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariantList>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Seen
{
    QList<QVariantList> calls;
    QString webUrl;
    int webPort = 0;
    QString accessToken;
    QMdiArea* mdiHost = nullptr;
};

Seen& seen()
{
    static Seen s;
    return s;
}

}  // namespace

#ifndef FAKE_MODULE_WITHOUT_INIPROC
// Patient code "ERRO" makes the entry fail the way the module's load does when the
// server refuses.
FAKE_EXPORT void IniProc(const QVariantList& params)
{
    Seen& s = seen();
    s.calls.append(params);
    s.webUrl = hostfw::hostSettings().webUrl;
    s.webPort = hostfw::hostSettings().webPort;
    s.accessToken = hostfw::hostSettings().accessToken;
    s.mdiHost = hostfw::mdiHost();
    if (params.value(1).toString() == QLatin1String("ERRO"))
        throw records::Error(QStringLiteral("Falha simulada do módulo."));
    if (s.mdiHost) {
        auto* form =
            new QLabel(QStringLiteral("Avaliação Nutricional: %1").arg(params.value(2).toString()));
        form->setObjectName(QStringLiteral("fakeForm"));
        s.mdiHost->addSubWindow(form)->show();
    }
}
#endif

FAKE_EXPORT int fakeModuleCallCount()
{
    return int(seen().calls.size());
}

FAKE_EXPORT void fakeModuleCall(int index, QVariantList* out)
{
    *out = seen().calls.value(index);
}

FAKE_EXPORT void fakeModuleSeen(QString* webUrl, int* webPort, QString* token, QMdiArea** mdi)
{
    *webUrl = seen().webUrl;
    *webPort = seen().webPort;
    *token = seen().accessToken;
    *mdi = seen().mdiHost;
}

FAKE_EXPORT void fakeModuleReset()
{
    seen() = Seen{};
}
