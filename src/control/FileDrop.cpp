#include "control/FileDrop.h"

#include "log/Logger.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

// The first local file a drag carries, or an empty string.
QString DroppedFile(const QMimeData* mime)
{
    if (mime == nullptr || !mime->hasUrls())
        return QString();
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

} // namespace

CFileDrop::CFileDrop(QObject* parent, Handler open, Handler refuse)
    : QObject(parent), m_open(std::move(open)), m_refuse(std::move(refuse))
{
}

void CFileDrop::Watch(QObject* window)
{
    if (auto* widget = qobject_cast<QWidget*>(window))
        widget->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool CFileDrop::IsDrawingFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("dat") || suffix == QLatin1String("dxf");
}

bool CFileDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (DroppedFile(drag->mimeData()).isEmpty())
            return QObject::eventFilter(watched, event);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedFile(drop->mimeData());
        if (path.isEmpty())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        if (IsDrawingFile(path)) {
            LogInfo("File dropped: '%s'.", path.toLocal8Bit().constData());
            m_open(path);
        } else {
            LogWarn("Dropped file '%s' refused: only .dat and .dxf files are opened.", path.toLocal8Bit().constData());
            m_refuse(path);
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
