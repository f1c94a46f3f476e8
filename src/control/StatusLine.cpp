#include "control/StatusLine.h"

#include <QFrame>
#include <QLabel>

CStatusLine::CStatusLine(QWidget* window, const QString& text)
    : QStatusBar(window), m_statusPane(new QLabel(text, this)), m_coordinatePane(new QLabel(this))
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
