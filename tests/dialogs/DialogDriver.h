// Driving the operation dialogs in tests: a stand-in for the control center
// that the dialogs read the action, click and pick from, an OpenGL context
// for the display lists the objects build, and a modal run whose dialog a
// timer fills in and closes.
#pragma once

#include "control/OperationTable.h"
#include "control/lumen7dlg.h"
#include "edit/Editor.h"
#include "database/GO_Database.h"
#include "dialogs/DialogHost.h"
#include "view/scene/Graphics.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMap>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace dialogtest {

class FakeHost : public IDialogHost {
public:
    int GetAction() override { return action; }
    CGO_Point GetPoint() override { return point; }
    int GetPickedId() override { return pickedId; }
    CGraphics* GetGraphics() override { return &graphics; }
    CEditor& GetEditor() override { return editor; }
    void SetCaption(const QString& text) override { caption = text; }

    int action = ACTION_IDLE;
    CGO_Point point;
    int pickedId = -1;
    CGraphics graphics;
    CEditor editor{*graphics.GetDatabase(), nullptr};
    QString caption = QStringLiteral("CAD-Programm (-500, 500 | -500, 500)");
};

// A current compatibility-profile context on an offscreen surface.
class OffscreenGL {
public:
    OffscreenGL()
    {
        QSurfaceFormat format;
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setOptions(QSurfaceFormat::DeprecatedFunctions);
        m_surface.setFormat(format);
        m_surface.create();
        m_context.setFormat(format);
        m_bValid = m_context.create() && MakeCurrent();
    }
    bool IsValid() const { return m_bValid; }
    bool MakeCurrent() { return m_context.makeCurrent(&m_surface); }

private:
    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    bool m_bValid = false;
};

// The stand-in the dialogs of the running test are given.
inline FakeHost*& CurrentHost()
{
    static FakeHost* host = nullptr;
    return host;
}

// The dialog of an action, and the world-range dialog, over the stand-in.
inline int RunActionDialog(int action)
{
    return ::RunActionDialog(action, *CurrentHost());
}

inline int RunWorldCoordinatesDialog()
{
    return RunDialog(DIALOG_CHANGE_WC, *CurrentHost());
}

// Opens a dialog (open runs it modally and returns its result); as soon as it
// is shown, act gets it. act must end the dialog, for instance with Click.
// Returns what open returned.
inline int RunModal(const std::function<int()>& open, const std::function<void(QDialog*)>& act)
{
    QTimer poll;
    poll.setInterval(10);
    bool acted = false;
    int triesLeft = 500;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            acted = true;
            poll.stop();
            act(dialog);
            // A dialog the test forgot to end must not hang the run.
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the test left the dialog open";
                dialog->done(0);
            }
        } else if (--triesLeft == 0) {
            poll.stop();
        }
    });
    poll.start();
    const int result = open();
    if (!acted)
        ADD_FAILURE() << "no modal dialog appeared";
    return result;
}

inline void SetField(QDialog* dialog, int id, const QString& text)
{
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("control%1").arg(id));
    ASSERT_NE(field, nullptr) << "no edit field " << id;
    field->setText(text);
}

inline void Click(QDialog* dialog, int id)
{
    auto* button = dialog->findChild<QPushButton*>(QStringLiteral("control%1").arg(id));
    ASSERT_NE(button, nullptr) << "no button " << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Every edit field's text by control id.
inline QMap<int, QString> FieldTexts(QDialog* dialog)
{
    QMap<int, QString> texts;
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
        QString name = field->objectName();
        texts.insert(name.remove(QStringLiteral("control")).toInt(), field->text());
    }
    return texts;
}

// Each test gets a fresh stand-in for the control center with an empty
// drawing and the default range, and a current OpenGL context.
class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_pGL = new OffscreenGL; }
    static void TearDownTestSuite()
    {
        delete s_pGL;
        s_pGL = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_pGL->IsValid()) << "no OpenGL context";
        s_pGL->MakeCurrent();
        m_pHost = std::make_unique<FakeHost>();
        CurrentHost() = m_pHost.get();
    }

    void TearDown() override
    {
        s_pGL->MakeCurrent();
        CurrentHost() = nullptr;
        m_pHost.reset();
    }

    CGO_Database* Database() { return m_pHost->graphics.GetDatabase(); }

    // The object with this id, looked up without the database's log lines.
    template <class Object>
    const Object* Get(int id)
    {
        return dynamic_cast<const Object*>(Database()->Lookup(id));
    }

    inline static OffscreenGL* s_pGL = nullptr;
    std::unique_ptr<FakeHost> m_pHost;
};

} // namespace dialogtest
