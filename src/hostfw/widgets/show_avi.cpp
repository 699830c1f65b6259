#include "hostfw/widgets/show_avi.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace hostfw {

namespace {

const QString OverlayName = QStringLiteral("hostfwShowAvi");

class BusyOverlay : public QFrame
{
public:
    explicit BusyOverlay(QWidget* form) : QFrame(form), m_label(new QLabel(this))
    {
        setObjectName(OverlayName);
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Raised);
        setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(this);
        m_label->setAlignment(Qt::AlignCenter);
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 0);  // a running bar without a known end
        bar->setTextVisible(false);
        layout->addWidget(m_label);
        layout->addWidget(bar);
        hide();
        form->installEventFilter(this);
    }

    ~BusyOverlay() override
    {
        if (m_depth > 0)
            QApplication::restoreOverrideCursor();
    }

    void up(const QString& text)
    {
        m_label->setText(text);
        if (m_depth++ == 0) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            show();
        }
        place();
        raise();
        repaint();
    }

    void down()
    {
        if (m_depth == 0)
            return;
        if (--m_depth == 0) {
            hide();
            QApplication::restoreOverrideCursor();
        }
    }

    bool isUp() const { return m_depth > 0; }
    QString text() const { return m_label->text(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize && isUp())
            place();
        return false;
    }

private:
    void place()
    {
        adjustSize();
        const QWidget* form = parentWidget();
        const int w = qMax(width(), 240);
        resize(w, height());
        move((form->width() - w) / 2, (form->height() - height()) / 2);
    }

    QLabel* m_label;
    int m_depth = 0;
};

BusyOverlay* overlayOf(const QWidget* form)
{
    // Only BusyOverlay objects carry this name.
    QFrame* frame =
        form ? form->findChild<QFrame*>(OverlayName, Qt::FindDirectChildrenOnly) : nullptr;
    return static_cast<BusyOverlay*>(frame);
}

}  // namespace

void ActiveShowAvi(QWidget* form, AviKind kind, const QString& text)
{
    if (!form)
        return;
    BusyOverlay* overlay = overlayOf(form);
    if (!overlay)
        overlay = new BusyOverlay(form);
    overlay->up(text.isEmpty() ? defaultAviText(kind) : text);
}

void DeactiveShowAvi(QWidget* form)
{
    if (BusyOverlay* overlay = overlayOf(form))
        overlay->down();
}

bool IsShowAviVisible(const QWidget* form)
{
    const BusyOverlay* overlay = overlayOf(form);
    return overlay && overlay->isUp();
}

QString ShowAviText(const QWidget* form)
{
    const BusyOverlay* overlay = overlayOf(form);
    return overlay && overlay->isUp() ? overlay->text() : QString();
}

ShowAviGuard::ShowAviGuard(QWidget* form, AviKind kind, const QString& text) : m_form(form)
{
    ActiveShowAvi(m_form, kind, text);
}

ShowAviGuard::~ShowAviGuard()
{
    DeactiveShowAvi(m_form);
}

}  // namespace hostfw
