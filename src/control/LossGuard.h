// What a DXF load left out, kept while that file is the drawing's: saving
// over it would lose those entities, so the user is asked first.
#pragma once

#include "exchange/SkippedEntities.h"

#include <QString>

class QWidget;

class CLossGuard {
public:
    enum class Answer { NotNeeded, SaveUnderNewName, Overwrite, Cancel };

    // After a load; a file without skipped entities needs no guard.
    void Remember(const QString& path, const CSkippedEntities& skipped);
    // After a save over the file: what it held is gone.
    void Forget() { m_path.clear(); }
    bool Guards(const QString& path) const;

    // "platte.dxf enthielt 12 Elemente, die lumen7 nicht übernommen hat (3
    // LWPOLYLINE, 8 TEXT, 1 INSERT). Beim Überschreiben gehen sie verloren."
    QString Text() const;
    // Asks when path is the guarded file; "Unter neuem Namen speichern" is
    // the default.
    Answer Ask(const QString& path, QWidget* owner) const;

private:
    QString m_path;
    CSkippedEntities m_skipped;
};
