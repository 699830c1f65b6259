#include "hostfw/busy.h"

namespace hostfw {

QString defaultAviText(AviKind kind)
{
    switch (kind) {
    case AviKind::Processing:
        return QStringLiteral("Processando...");
    case AviKind::Searching:
        return QStringLiteral("Pesquisando...");
    case AviKind::Saving:
        return QStringLiteral("Gravando...");
    }
    return {};
}

BusyGuard::BusyGuard(BusyIndicator* indicator, AviKind kind, const QString& text)
    : m_indicator(indicator)
{
    if (m_indicator)
        m_indicator->showBusy(kind, text.isEmpty() ? defaultAviText(kind) : text);
}

BusyGuard::~BusyGuard()
{
    if (m_indicator)
        m_indicator->hideBusy();
}

void BusyRecorder::showBusy(AviKind /*kind*/, const QString& text)
{
    ++m_depth;
    ++m_shows;
    m_texts.append(text);
}

void BusyRecorder::hideBusy()
{
    if (m_depth > 0)
        --m_depth;
}

}  // namespace hostfw
