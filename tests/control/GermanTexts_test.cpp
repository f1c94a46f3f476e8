// Qt's own texts are German too: the file dialog's buttons and type filters
// and its question before a file is replaced, whatever LANG says (this test
// also runs under LANG=C, see tests/CMakeLists.txt).
#include "control/GermanTranslations.h"
#include "control/lumen7dlg.h"

#include "control/ControlTestSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>

#include <fstream>

using namespace controltest;

namespace {

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

QStringList ButtonTexts(QWidget* window)
{
    QStringList texts;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible())
            texts << Plain(button->text());
    return texts;
}

} // namespace

TEST(GermanTexts, TheSaveDialogAndItsOverwriteQuestionAreGerman)
{
    ASSERT_TRUE(InstallGermanTranslations()) << "Qt's German translations are not installed";
    Dlg()->Open();
    Dlg()->SetFileChooser(nullptr);
    std::ofstream("exists.dat") << "old";
    QStringList dialogButtons, filters, questionButtons;
    QString question;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no file dialog";
        dialogButtons = ButtonTexts(dialog->findChild<QDialogButtonBox*>());
        filters = dialog->nameFilters();
        QTimer::singleShot(100, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                // Nothing asked: end the dialog so the test can fail instead of hang.
                if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    open->reject();
            }
            ASSERT_NE(box, nullptr) << "no question before replacing the file";
            question = box->text();
            questionButtons = ButtonTexts(box);
            box->button(QMessageBox::No)->click();
            QTimer::singleShot(100, [] {
                if (auto* again = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                    again->reject();
            });
        });
        // Typed as a user would, then "Speichern".
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("exists.dat"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ClickButton(CCadDlg::IDC_SAVE);
    EXPECT_TRUE(dialogButtons.contains(QStringLiteral("Speichern"))) << dialogButtons.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(dialogButtons.contains(QStringLiteral("Abbrechen"))) << dialogButtons.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Zeichnung (*.dat)"), QStringLiteral("DXF (*.dxf)")}));
    EXPECT_TRUE(question.contains(QStringLiteral("exists.dat"))) << question.toStdString();
    EXPECT_FALSE(question.contains(QStringLiteral("already exists"))) << question.toStdString();
    EXPECT_TRUE(questionButtons.contains(QStringLiteral("Ja"))) << questionButtons.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(questionButtons.contains(QStringLiteral("Nein")));
    // Answered no: the old file is still there.
    std::ifstream in("exists.dat");
    std::string content;
    in >> content;
    EXPECT_EQ(content, "old");
}
