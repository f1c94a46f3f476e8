// A start with a file draws the same picture as a start followed by "Laden"
// of that file: the whole window, not a corner of it. Each run is a child
// process of this binary, as the control center exists once per process.
#include "control/CadApp.h"

#include "control/ControlTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

using namespace controltest;

namespace {

const char* const kChildVariable = "LUMEN7_START_CHILD";

// A drawing far off the default range: a start shows it fitted.
void WriteDrawing(const char* name)
{
    std::ofstream(name) << "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n4600\n 20\n-400\n 11\n5400\n 21\n400\n"
                           "  0\nCIRCLE\n 10\n5000\n 20\n0\n 40\n300\n  0\nENDSEC\n  0\nEOF\n";
}

void Settle() { QTest::qWait(500); }

// Rows and columns that hold a drawn pixel span this much of the image.
QRect DrawnArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

TEST(StartWithFile, ChildComparesTheStartWithALoad)
{
    if (qgetenv(kChildVariable) != "compare")
        GTEST_SKIP() << "runs only as a child process of StartWithFile.ShowsTheSamePictureAsALoad";
    WriteDrawing("plate.dxf");
    QImage atStart;
    QImage afterLoad;
    QTimer::singleShot(800, [&] {
        Settle();
        atStart = View()->GrabFramebuffer();
        Dlg()->SetFileChooser([](int) { return QStringLiteral("plate.dxf"); });
        ClickButton(CCadDlg::IDC_LOAD);
        Settle();
        afterLoad = View()->GrabFramebuffer();
        ClickButton(CCadDlg::IDC_QUIT);
    });
    EXPECT_FALSE(theApp.InitInstance(QStringLiteral("plate.dxf")));
    ASSERT_EQ(Db()->GetSize(), 2);
    ASSERT_FALSE(atStart.isNull());
    ASSERT_EQ(atStart.size(), afterLoad.size());
    EXPECT_TRUE(atStart == afterLoad) << "the start and the load draw different pictures";
    // Fitted, the circle reaches across most of the square viewport.
    const int side = std::min(atStart.width(), atStart.height());
    EXPECT_GT(DrawnArea(atStart).width(), side / 2) << "a miniature drawing";
    EXPECT_GT(DrawnArea(atStart).height(), side / 2) << "a miniature drawing";
}

TEST(StartWithFile, ShowsTheSamePictureAsALoad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable), QStringLiteral("compare"));
    environment.insert(QStringLiteral("LUMEN7_TEST_WORKDIR"), dir.path());
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=StartWithFile.ChildComparesTheStartWithALoad")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
}
