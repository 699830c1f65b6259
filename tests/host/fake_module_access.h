#pragma once

#include "host/module_loader.h"

#include <QMdiArea>
#include <QVariantList>

namespace host::fakes {

// Reads what the fake module recorded, through its exported functions.
class FakeModule
{
public:
    explicit FakeModule(ModuleLoader& loader)
        : m_count(reinterpret_cast<int (*)()>(loader.resolve("fakeModuleCallCount"))),
          m_call(reinterpret_cast<void (*)(int, QVariantList*)>(loader.resolve("fakeModuleCall"))),
          m_seen(reinterpret_cast<void (*)(QString*, int*, QString*, QMdiArea**)>(
              loader.resolve("fakeModuleSeen"))),
          m_reset(reinterpret_cast<void (*)()>(loader.resolve("fakeModuleReset")))
    {
    }

    struct Seen
    {
        QString webUrl;
        int webPort = 0;
        QString token;
        QMdiArea* mdi = nullptr;
    };

    int callCount() const { return m_count(); }
    QVariantList call(int index) const
    {
        QVariantList out;
        m_call(index, &out);
        return out;
    }
    Seen seen() const
    {
        Seen s;
        m_seen(&s.webUrl, &s.webPort, &s.token, &s.mdi);
        return s;
    }
    void reset() const { m_reset(); }

private:
    int (*m_count)();
    void (*m_call)(int, QVariantList*);
    void (*m_seen)(QString*, int*, QString*, QMdiArea**);
    void (*m_reset)();
};

}  // namespace host::fakes
