#pragma once

#include <QList>
#include <QString>

namespace workspace {

// The caption of the panel shown while the server catalogue is brought up to date.
QString catalogueProgressCaption();  // "Atualizando Tabela..."

// Where the catalogue seeding shows its progress: the form's panel panAtualizaTabela
// with the bar prgAtualizaTabela. Each call repaints at once (the seeding runs on the
// user-interface thread without returning to the event loop). Implementations must
// not throw: hide() runs while an error is on its way out.
class SeedProgress
{
public:
    virtual ~SeedProgress() = default;
    // Makes the panel visible with the bar at 0 and the given maximum.
    virtual void show(const QString& caption, int maximum) = 0;
    // Moves the bar to position.
    virtual void step(int position) = 0;
    // Hides the panel.
    virtual void hide() = 0;
};

// A progress display for tests and the command line: keeps the panel's state and
// every call in order.
class SeedProgressRecorder : public SeedProgress
{
public:
    struct Event
    {
        enum class Kind
        {
            Show,
            Step,
            Hide
        };
        Kind kind;
        int value = 0;  // the maximum of a show, the position of a step
        QString caption;

        bool operator==(const Event&) const = default;
    };

    void show(const QString& caption, int maximum) override;
    void step(int position) override;
    void hide() override;

    bool visible() const { return m_visible; }
    int position() const { return m_position; }
    int maximum() const { return m_maximum; }
    const QString& caption() const { return m_caption; }
    const QList<Event>& events() const { return m_events; }
    // The maximum of every show, in order (68, 52, 154 ...).
    QList<int> shownMaxima() const;
    // The highest position reached after the show with index showIndex.
    int highestPositionOfShow(int showIndex) const;
    void clear();

private:
    bool m_visible = false;
    int m_position = 0;
    int m_maximum = 0;
    QString m_caption;
    QList<Event> m_events;
};

}  // namespace workspace
