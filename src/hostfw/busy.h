#pragma once

#include <QString>
#include <QStringList>

namespace hostfw {

// The kinds of busy animation the module shows; each has a default text.
enum class AviKind
{
    Processing,
    Searching,
    Saving
};

QString defaultAviText(AviKind kind);

// Where a non-widget core shows its busy animation. The widget layer gives each form
// one (over the form); tests use BusyRecorder. Show and hide calls nest: the
// animation stays up until every show has been matched by a hide.
class BusyIndicator
{
public:
    virtual ~BusyIndicator() = default;
    virtual void showBusy(AviKind kind, const QString& text) = 0;
    virtual void hideBusy() = 0;
};

// Shows the animation for the lifetime of the guard, so it is hidden again on the
// normal and on the error path alike. A null indicator makes it do nothing. An empty
// text means the kind's default text.
class BusyGuard
{
public:
    BusyGuard(BusyIndicator* indicator, AviKind kind, const QString& text = {});
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BusyIndicator* m_indicator;
};

// A busy indicator for tests and the command line: counts and remembers.
class BusyRecorder : public BusyIndicator
{
public:
    void showBusy(AviKind kind, const QString& text) override;
    void hideBusy() override;

    bool visible() const { return m_depth > 0; }
    int depth() const { return m_depth; }
    int showCount() const { return m_shows; }
    const QStringList& texts() const { return m_texts; }

private:
    int m_depth = 0;
    int m_shows = 0;
    QStringList m_texts;
};

}  // namespace hostfw
