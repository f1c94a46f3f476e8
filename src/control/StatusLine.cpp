#include "control/StatusLine.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>

namespace {

// The hint pane gives way to the cursor's pane: what does not fit of its
// text ends in an ellipsis. The start of every hint says what to do.
class CElidingLabel : public QLabel {
public:
    CElidingLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
};

} // namespace

CStatusLine::CStatusLine(QWidget* window, const QString& text)
    : QStatusBar(window), m_statusPane(new CElidingLabel(text, this)), m_coordinatePane(new QLabel(this))
{
    setSizeGripEnabled(false);
    addWidget(m_statusPane, 1);
    m_coordinatePane->setMinimumWidth(
        m_coordinatePane->fontMetrics().horizontalAdvance(QStringLiteral("X: -00000.00  Y: -00000.00")));
    addPermanentWidget(m_coordinatePane);

    const int barHeight = sizeHint().height();
    const int top = window->height() - barHeight;
    auto* separator = new QFrame(window);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, top - 2, window->width(), 2);
    setGeometry(0, top, window->width(), barHeight);
}

QString CStatusLine::Text() const
{
    return m_statusPane->text();
}

void CStatusLine::SetText(const QString& text)
{
    m_statusPane->setText(text);
    m_statusPane->repaint();
}

QString CStatusLine::CoordinateText() const
{
    return m_coordinatePane->text();
}

void CStatusLine::SetCoordinateText(const QString& text)
{
    m_coordinatePane->setText(text);
}
