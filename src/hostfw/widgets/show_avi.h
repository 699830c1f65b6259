#pragma once

#include "hostfw/busy.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace hostfw {

// The busy animation over a form: a small framed box in the middle of the form with
// the kind's text (or the given one) and a running bar, and the wait cursor. Calls
// nest: it stays up until every ActiveShowAvi has been matched by a DeactiveShowAvi.
// A null form does nothing.
void ActiveShowAvi(QWidget* form, AviKind kind, const QString& text = {});
void DeactiveShowAvi(QWidget* form);

// Whether the animation is up over the form, and the text it shows.
bool IsShowAviVisible(const QWidget* form);
QString ShowAviText(const QWidget* form);

// Shows the animation for its own lifetime: hidden again on the normal and the error
// path alike.
class ShowAviGuard
{
public:
    ShowAviGuard(QWidget* form, AviKind kind, const QString& text = {});
    ~ShowAviGuard();
    ShowAviGuard(const ShowAviGuard&) = delete;
    ShowAviGuard& operator=(const ShowAviGuard&) = delete;

private:
    QPointer<QWidget> m_form;
};

// The busy seam of a form's non-widget core, shown over the form.
class FormBusyIndicator : public BusyIndicator
{
public:
    explicit FormBusyIndicator(QWidget* form) : m_form(form) {}
    void showBusy(AviKind kind, const QString& text) override { ActiveShowAvi(m_form, kind, text); }
    void hideBusy() override { DeactiveShowAvi(m_form); }

private:
    QPointer<QWidget> m_form;
};

}  // namespace hostfw
