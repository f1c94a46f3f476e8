// The status line along the bottom of the control center: the hint for the
// current action on the left, where the cursor is over the drawing on the
// right, and a sunken rule above both.
#pragma once

#include <QStatusBar>
#include <QString>

class QLabel;

class CStatusLine : public QStatusBar {
    Q_OBJECT
public:
    // Lays itself along the bottom edge of window, which has a fixed size.
    CStatusLine(QWidget* window, const QString& text);

    QString Text() const;
    // Shown at once, even while the caller keeps the event loop waiting.
    void SetText(const QString& text);
    QString CoordinateText() const;
    void SetCoordinateText(const QString& text);

private:
    QLabel* m_statusPane;
    QLabel* m_coordinatePane;
};
