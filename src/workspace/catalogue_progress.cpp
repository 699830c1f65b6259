#include "catalogue_progress.h"

#include "workspace_messages.h"

namespace workspace {

QString catalogueProgressCaption()
{
    return msgPadrao().Msg(QStringLiteral("Atu_Tab"));
}

void SeedProgressRecorder::show(const QString& caption, int maximum)
{
    m_visible = true;
    m_position = 0;
    m_maximum = maximum;
    m_caption = caption;
    m_events.append({Event::Kind::Show, maximum, caption});
}

void SeedProgressRecorder::step(int position)
{
    m_position = position;
    m_events.append({Event::Kind::Step, position, {}});
}

void SeedProgressRecorder::hide()
{
    m_visible = false;
    m_events.append({Event::Kind::Hide, 0, {}});
}

QList<int> SeedProgressRecorder::shownMaxima() const
{
    QList<int> out;
    for (const Event& e : m_events)
        if (e.kind == Event::Kind::Show)
            out.append(e.value);
    return out;
}

int SeedProgressRecorder::highestPositionOfShow(int showIndex) const
{
    int shows = -1;
    int highest = 0;
    for (const Event& e : m_events) {
        if (e.kind == Event::Kind::Show) {
            ++shows;
            continue;
        }
        if (shows == showIndex && e.kind == Event::Kind::Step && e.value > highest)
            highest = e.value;
    }
    return highest;
}

void SeedProgressRecorder::clear()
{
    *this = SeedProgressRecorder();
}

}  // namespace workspace
