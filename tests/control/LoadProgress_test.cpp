// A long load shows its progress dialog, and "Abbrechen" there keeps the
// drawing that was on the screen, as a failed load would, without a message.
#include "control/ControlTestSupport.h"
#include "support/LogTail.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <fstream>

using namespace controltest;

namespace {

// A DXF file of many lines: reading it takes seconds.
QString WriteManyLines(const char* name, int lines)
{
    std::ofstream out(name);
    out << "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < lines; ++i)
        out << "0\nLINE\n8\n0\n10\n" << i << ".5\n20\n0\n30\n0\n11\n" << i << ".5\n21\n1\n31\n0\n";
    out << "0\nENDSEC\n0\nEOF\n";
    return QString::fromLatin1(name);
}

} // namespace

TEST(LoadProgress, AbbrechenInTheDialogKeepsTheOldDrawing)
{
    StartFresh();
    AddLine(1, 2, 3, 4);
    AddCircle(5, 6, 7);
    const QString path = WriteManyLines("many.dxf", 300000);
    testsupport::LogTail log;

    // Presses "Abbrechen" as soon as the dialog is up; a message box (there
    // must be none) is closed and counted.
    QElapsedTimer clock;
    qint64 shownAfterMs = -1;
    int boxes = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
                ++boxes;
                box->reject();
            }
            auto* dialog = qobject_cast<QProgressDialog*>(window);
            if (dialog == nullptr || !dialog->isVisible() || shownAfterMs >= 0)
                continue;
            shownAfterMs = clock.elapsed();
            EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
            auto* cancel = dialog->findChild<QPushButton*>();
            ASSERT_TRUE(cancel != nullptr && cancel->text() == QStringLiteral("Abbrechen"));
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    watcher.start(20);
    clock.start();
    Dlg()->LoadFile(path);
    watcher.stop();

    ASSERT_GE(shownAfterMs, 0) << "no progress dialog within " << clock.elapsed() << " ms";
    EXPECT_GE(shownAfterMs, 400) << "the dialog showed up at once";
    EXPECT_EQ(boxes, 0);
    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 2u);
    ExpectLine(objects[0], 1, 2, 3, 4);
    EXPECT_EQ(Dlg()->GetStatusText(), QStringLiteral("Laden abgebrochen."));
    EXPECT_TRUE(log.Contains("Loading graphics from file 'many.dxf' cancelled."));
}
