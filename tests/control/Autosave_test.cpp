// Autosave in the control center: written after 50 steps, private, and gone
// once nothing is unsaved; damaged autosaves set aside without blocking the
// start; a file another instance holds opened read-only.
#include "control/Autosave.h"
#include "control/AutosaveFolder.h"
#include "control/ControlTestSupport.h"
#include "control/SharedFileGuard.h"
#include "database/AutosaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>
#include <unistd.h>

using namespace controltest;

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode & 07777;
}

} // namespace

TEST(Autosave, WrittenPrivatelyAfterFiftyStepsAndRemovedOnceNothingIsUnsaved)
{
    ASSERT_NO_FATAL_FAILURE(StartFresh());
    CAutosave* autosave = Dlg()->GetAutosave();
    ASSERT_TRUE(autosave->IsEnabled());
    const QString path = autosave->DrawingPath();
    for (int step = 1; step <= CAutosave::kStepsBetweenWrites; ++step) {
        Dlg()->GetEditor().CreateLine(CGO_Point(step, 0), CGO_Point(step, 10));
        autosave->Wait();
        EXPECT_EQ(QFileInfo::exists(path), step == CAutosave::kStepsBetweenWrites) << step;
    }
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ModeOf(autosavefolder::Path()), 0700u);
    std::string error;
    EXPECT_TRUE(autosave::CheckDrawingFile(QFile::encodeName(path).toStdString(), error)) << error;
    // Undone back to the drawing as it was: nothing is unsaved any more.
    while (Dlg()->GetHistory()->Undo()) {
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(Autosave, DamagedAutosavesAreSetAsideAndNeverBlockTheStart)
{
    ASSERT_NO_FATAL_FAILURE(StartFresh());
    AddLine(0, 0, 1, 1);
    std::vector<unsigned char> valid;
    std::string error;
    ASSERT_TRUE(Db()->Encode(valid, error, true));
    const QByteArray whole(reinterpret_cast<const char*>(valid.data()), static_cast<int>(valid.size()));
    const struct {
        const char* name;
        QByteArray bytes;
        bool folder;
        bool unreadable;
    } rows[] = {
        {"empty", QByteArray(), false, false},
        {"truncated", whole.left(whole.size() - 3), false, false},
        {"foreign", QByteArray("PK\x03\x04 no drawing at all"), false, false},
        {"a folder", QByteArray(), true, false},
        {"unreadable", whole, false, true},
    };
    QString error2;
    ASSERT_TRUE(autosavefolder::Prepare(error2));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.unreadable && ::geteuid() == 0)
            continue; // root reads it all the same
        const QString stem = QStringLiteral("autosave-999999-%1").arg(QString::fromLatin1(row.name).length());
        const QString path = autosavefolder::DrawingPath(stem);
        if (row.folder) {
            ASSERT_TRUE(QDir().mkpath(path));
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(row.bytes);
            file.close();
            if (row.unreadable)
                file.setPermissions(QFileDevice::WriteOwner);
        }
        ModalCloser closer;
        EXPECT_FALSE(Dlg()->OfferRecovery());
        ASSERT_EQ(closer.Seen().size(), 1u);
        EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(closer.Seen()[0].text.startsWith(QStringLiteral("Eine automatische Sicherung von ")));
        EXPECT_TRUE(closer.Seen()[0].text.contains(QString::fromUtf8("ist beschädigt"))) << closer.Seen()[0].text.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral(".beschaedigt")));
        EXPECT_EQ(Db()->GetCount(), 1);
    }
}

TEST(Autosave, AFileAnotherInstanceHoldsOpensReadOnlyAndCtrlSAsksForANewName)
{
    ASSERT_NO_FATAL_FAILURE(StartFresh());
    AddLine(0, 0, 1, 1);
    const QString shared = QDir::current().absoluteFilePath(QStringLiteral("shared.dat"));
    const QString copy = QDir::current().absoluteFilePath(QStringLiteral("copy.dat"));
    ASSERT_TRUE(Db()->Save(QFile::encodeName(shared).constData()));
    QString error;
    ASSERT_TRUE(autosavefolder::Prepare(error));
    // The other instance, as far as the lock can tell.
    QLockFile other(CSharedFileGuard::LockPathFor(shared));
    ASSERT_TRUE(other.tryLock(0));
    {
        QuestionAnswerer answerer(QString::fromUtf8("Schreibgeschützt öffnen"));
        Dlg()->LoadFile(shared);
        EXPECT_TRUE(answerer.Question().contains(QStringLiteral("bereits in einem anderen lumen7-Fenster")))
            << answerer.Question().toStdString();
    }
    EXPECT_EQ(Db()->GetCount(), 1);
    int asked = 0;
    Dlg()->SetFileChooser([&asked, copy](int) {
        ++asked;
        return copy;
    });
    Dlg()->OnSaveToCurrentFile();
    Dlg()->SetFileChooser(nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QFileInfo::exists(copy));
    // Saved under its new name, the drawing is no longer read-only.
    Dlg()->SetFileChooser([&asked](int) {
        ++asked;
        return QString();
    });
    Dlg()->OnSaveToCurrentFile();
    Dlg()->SetFileChooser(nullptr);
    EXPECT_EQ(asked, 1);
}
