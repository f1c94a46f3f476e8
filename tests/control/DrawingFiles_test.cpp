// The control center's file buttons with DXF files, pictures and printing:
// the purpose each file is chosen for, the status line while it runs, the
// one message about what a DXF file held that the drawing cannot, and the
// error boxes.
#include "control/ControlTestSupport.h"
#include "exchange/ExchangeTestUtil.h"
#include "support/LogTail.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>

using namespace controltest;

namespace {

const QString kIdle = QStringLiteral("CAD Control Center");

class ControlCenterExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dlg()->Open();
        ASSERT_TRUE(Dlg()->HasDrawingWindow());
        View()->MakeCurrent();
        Db()->Clear();
        View()->Render();
    }

    void TearDown() override
    {
        Dlg()->SetFileChooser(nullptr);
        Dlg()->SetPrintDialog(nullptr);
    }

    // Always answers path, and notes the purpose and the status line.
    void ChooseAlways(const QString& path)
    {
        Dlg()->SetFileChooser([this, path](int purpose) {
            asked << QStringLiteral("%1:%2").arg(purpose).arg(Dlg()->GetStatusText());
            return path;
        });
    }

    static QString Here(const char* name) { return QFileInfo(QString::fromUtf8(name)).absoluteFilePath(); }

    QStringList asked;
    testsupport::LogTail log;
};

} // namespace

TEST_F(ControlCenterExchange, SavedAsDxfTheDrawingLoadsBackWithoutAQuestion)
{
    AddLine(10, 20, 30, 40);
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(-5, 5), 2.5f);
    Db()->Add(circle);
    const std::vector<extest::Shape> before = extest::ShapesOf(*Db());
    const QString path = Here("Plan ü.dxf");
    ChooseAlways(path);
    ModalCloser closer;
    ClickButton(CCadDlg::IDC_SAVE);
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(extest::ReadText(path.toStdString()).rfind("  0\nSECTION\n", 0), 0u);

    ClickButton(CCadDlg::IDC_LOAD);
    EXPECT_TRUE(closer.Seen().empty()) << "a saved drawing needs no question, a clean file no message";
    EXPECT_EQ(extest::ShapesOf(*Db()), before);
    EXPECT_EQ(Objects()[1]->GetId(), 1);
    EXPECT_EQ(asked, (QStringList{"1:Speichere Grafik...", "0:Lade Grafik..."}));
    EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
}

TEST_F(ControlCenterExchange, WhatTheDrawingCannotHoldIsListedInOneMessage)
{
    const std::string dxf = extest::EntitiesFile(
        extest::DxfText()
            .Line("0", "0", "10", "10")
            .G(0, "SPLINE").G(10, "0").G(20, "0")
            .G(0, "SPLINE").G(10, "0").G(20, "0")
            .G(0, "TEXT").G(1, "hi").G(10, "0").G(20, "0")
            .G(0, "LINE").G(67, "1").G(10, "0").G(20, "0").G(11, "1").G(21, "1"));
    extest::WriteText("other.dxf", dxf);
    ChooseAlways(Here("other.dxf"));
    ModalCloser closer;
    ClickButton(CCadDlg::IDC_LOAD);
    ASSERT_EQ(closer.Seen().size(), 1u);
    const ModalCloser::Closed& message = closer.Seen()[0];
    EXPECT_EQ(message.icon, QMessageBox::Information);
    for (const char* part : {"2 × SPLINE", "1 × TEXT", "1 im Papierbereich", "ohne Layer, Farben und Linientypen"})
        EXPECT_TRUE(message.text.contains(QString::fromUtf8(part))) << message.text.toStdString();
    EXPECT_EQ(message.status, QStringLiteral("Lade Grafik..."));
    EXPECT_EQ(Objects().size(), 1u);
    EXPECT_TRUE(log.Contains("[WARN] Entities of file '" + Here("other.dxf").toStdString() +
                             "' not loaded: 2 SPLINE, 1 TEXT; 1 on paper space; layers, colours and line types are not kept"));
    EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
}

// However many kinds a file holds, the box names ten, with short names, and
// says how many more there are: it fits on any screen.
TEST_F(ControlCenterExchange, AFileOfThousandsOfKindsGivesABoxOfTenLines)
{
    extest::DxfText text;
    for (int i = 0; i < 5000; ++i)
        text.G(0, "TYPE" + std::to_string(i) + std::string(300, 'X'));
    extest::WriteText("kinds.dxf", extest::EntitiesFile(text));
    ChooseAlways(Here("kinds.dxf"));
    ModalCloser closer;
    ClickButton(CCadDlg::IDC_LOAD);
    ASSERT_EQ(closer.Seen().size(), 1u);
    const QStringList lines = closer.Seen()[0].text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 12) << closer.Seen()[0].text.toStdString();
    EXPECT_EQ(lines.last(), QString::fromUtf8("    und 4990 weitere Arten"));
    for (const QString& line : lines.mid(1))
        EXPECT_LT(line.size(), 80) << line.toStdString();
}

TEST_F(ControlCenterExchange, ABrokenDxfFileIsRefusedAndTheDrawingStays)
{
    AddLine(1, 2, 3, 4);
    ChooseAlways(Here("saved.dat"));
    ClickButton(CCadDlg::IDC_SAVE);
    extest::WriteText("broken.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n");
    ChooseAlways(Here("broken.dxf"));
    ModalCloser closer;
    ClickButton(CCadDlg::IDC_LOAD);
    ASSERT_EQ(closer.Seen().size(), 1u);
    EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(closer.Seen()[0].text.startsWith(
        QStringLiteral("Die Datei '%1' konnte nicht geladen werden: der Inhalt ist fehlerhaft (line 7: ")
            .arg(Here("broken.dxf"))))
        << closer.Seen()[0].text.toStdString();
    ASSERT_EQ(Objects().size(), 1u);
    ExpectLine(Objects()[0], 1, 2, 3, 4);
}

TEST_F(ControlCenterExchange, ExportWritesThePictureTheChosenNameCalls)
{
    AddLine(0, 0, 100, 50);
    ChooseAlways(Here("picture.png"));
    ModalCloser closer;
    ClickButton(CCadDlg::IDC_EXPORT);
    EXPECT_TRUE(closer.Seen().empty());
    EXPECT_EQ(QImage(Here("picture.png")).size(), QSize(1000, 545));
    EXPECT_EQ(asked, QStringList{"2:Exportiere Grafik..."});
    EXPECT_TRUE(log.Contains("[INFO] Graphics exported to file '" + Here("picture.png").toStdString() + "'."));

    ChooseAlways(Here("picture.bmp"));
    ClickButton(CCadDlg::IDC_EXPORT);
    ASSERT_EQ(closer.Seen().size(), 1u);
    EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(closer.Seen()[0].text.contains(QStringLiteral("PNG (*.png)")));
    EXPECT_FALSE(QFileInfo::exists(Here("picture.bmp")));
    EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
}

TEST_F(ControlCenterExchange, PrintGoesThroughThePrintDialog)
{
    AddLine(0, 0, 10, 10);
    QStringList statuses;
    bool confirm = true;
    Dlg()->SetPrintDialog([&](QPrinter& printer) {
        statuses << Dlg()->GetStatusText();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Here("printed.pdf"));
        return confirm;
    });
    ClickButton(CCadDlg::IDC_PRINT);
    EXPECT_GT(QFileInfo(Here("printed.pdf")).size(), 0);
    EXPECT_EQ(statuses, QStringList{"Drucke Grafik..."});
    EXPECT_TRUE(log.Contains("[INFO] Printing graphics..."));
    EXPECT_TRUE(log.Contains("[INFO] Graphics printed."));

    QFile::remove(Here("printed.pdf"));
    confirm = false;
    ClickButton(CCadDlg::IDC_PRINT);
    EXPECT_FALSE(QFileInfo::exists(Here("printed.pdf"))) << "a cancelled print printed";
    EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
}

// The real file dialog: a name typed without an extension is saved in the
// type of the filter the user picked.
TEST_F(ControlCenterExchange, TheChosenFilterDecidesTheTypeOfANameWithoutExtension)
{
    AddLine(1, 1, 2, 2);
    const struct {
        int button;
        const char* filter;
        const char* typed;
        const char* written;
    } cases[] = {
        {CCadDlg::IDC_SAVE, "DXF (*.dxf)", "by filter", "by filter.dxf"},
        {CCadDlg::IDC_SAVE, "DXF (*.dxf)", "by name.dat", "by name.dat"},
        {CCadDlg::IDC_EXPORT, "SVG (*.svg)", "picture", "picture.svg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QStringList filters;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            driver.stop();
            filters = dialog->nameFilters();
            dialog->setDirectory(QDir::current());
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (types == nullptr || name == nullptr) {
                ADD_FAILURE() << "not Qt's own file dialog";
                dialog->reject();
                return;
            }
            // As the user picks it: the dialog reacts to the activation.
            const int index = types->findText(QString::fromUtf8(c.filter));
            types->setCurrentIndex(index);
            emit types->activated(index);
            emit types->textActivated(types->itemText(index));
            name->setText(QString::fromUtf8(c.typed));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        driver.start(20);
        ClickButton(c.button);
        EXPECT_TRUE(QFileInfo::exists(Here(c.written)));
        if (c.button == CCadDlg::IDC_SAVE)
            EXPECT_EQ(filters, (QStringList{"Zeichnung (*.dat)", "DXF (*.dxf)"}));
        else
            EXPECT_EQ(filters, (QStringList{"SVG (*.svg)", "PDF (*.pdf)", "PNG (*.png)"}));
    }
    EXPECT_EQ(extest::ReadText(Here("by filter.dxf").toStdString()).rfind("  0\nSECTION\n", 0), 0u);
    EXPECT_NE(extest::ReadText(Here("by name.dat").toStdString()).rfind("  0\nSECTION\n", 0), 0u);
}
