// Files dropped on either window: a drawing (.dat or .dxf) is opened as
// "Laden" would open it, anything else is refused with a message.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class CFileDrop : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QString& path)>;

    // open gets a drawing's path, refuse the path of any other dropped file.
    CFileDrop(QObject* parent, Handler open, Handler refuse);

    // Watches the window for drops (a widget is also made to accept them).
    void Watch(QObject* window);

    static bool IsDrawingFile(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_open;
    Handler m_refuse;
};
