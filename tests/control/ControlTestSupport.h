// Driving the control center like a user: world points turned into mouse
// positions in the drawing window, clicks and drags, and a watcher that closes
// the modal windows a step opens and remembers what they showed.
#pragma once

#include "control/lumen7dlg.h"
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "view/scene/ViewRange.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace controltest {

inline CCadDlg* Dlg() { return CCadDlg::GetInstance(); }
inline CCadView* View() { return Dlg()->GetView(); }
inline CGO_Database* Db() { return View()->GetGraphics()->GetDatabase(); }

// The logical pixel whose lower left corner the drawing window maps onto the
// world point: the range fills a square viewport anchored at the bottom left.
inline QPoint PixelFor(float wx, float wy)
{
    const WorldCoordinates range = View()->GetGraphics()->GetWorldCoordinates();
    const double side = std::min(View()->BufferWidth(), View()->BufferHeight());
    const double ratio = View()->devicePixelRatio();
    const double fromLeft = (wx - range.xMin) / (range.xMax - range.xMin) * side;
    const double fromBottom = (wy - range.yMin) / (range.yMax - range.yMin) * side;
    return QPoint(static_cast<int>(std::lround(fromLeft / ratio)),
                  static_cast<int>(std::lround(View()->height() - 1 - fromBottom / ratio)));
}

inline void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(View(), button, Qt::NoModifier, at);
    QTest::mouseRelease(View(), button, Qt::NoModifier, at);
}

inline void ClickWorld(float x, float y) { Click(PixelFor(x, y)); }

inline void DragWorld(float x1, float y1, float x2, float y2)
{
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, PixelFor(x1, y1));
    QTest::mouseMove(View(), PixelFor(x2, y2));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, PixelFor(x2, y2));
}

// The control center's "Eingabe" line, and an entry typed into it and taken
// with Enter.
inline QLineEdit* Entry() { return qobject_cast<QLineEdit*>(Dlg()->GetControl(CCadDlg::IDC_ENTRY)); }

inline void Type(const char* text)
{
    Entry()->setText(QString::fromUtf8(text));
    QTest::keyClick(Entry(), Qt::Key_Return);
}

inline void ClickButton(int id)
{
    QWidget* button = Dlg()->GetControl(id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// The objects of the drawing in slot order, empty slots left out.
inline std::vector<const CGO_GeoObject*> Objects()
{
    std::vector<const CGO_GeoObject*> objects;
    for (int slot = 0; slot < Db()->GetSize(); ++slot) {
        if (const CGO_GeoObject* object = Db()->GetAt(slot))
            objects.push_back(object);
    }
    return objects;
}

// Transforms through sines and cosines land within float rounding.
inline void ExpectLine(const CGO_GeoObject* object, float x1, float y1, float x2, float y2)
{
    auto* line = dynamic_cast<const CGO_Line*>(object);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->GetP1().GetX(), x1, 1e-3);
    EXPECT_NEAR(line->GetP1().GetY(), y1, 1e-3);
    EXPECT_NEAR(line->GetP2().GetX(), x2, 1e-3);
    EXPECT_NEAR(line->GetP2().GetY(), y2, 1e-3);
}

inline bool IsBlackPixel(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0; }

inline void AddCircle(float x, float y, float radius)
{
    auto* circle = new CGO_Circle();
    circle->SetCenterAndRadius(CGO_Point(x, y), radius);
    Db()->Add(circle);
    View()->Render();
}

inline CGO_Line* AddLine(float x1, float y1, float x2, float y2)
{
    auto* line = new CGO_Line();
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    Db()->Add(line);
    View()->Render();
    return line;
}

// While it lives, every application-modal window that opens is closed again
// (dialogs cancelled, message boxes confirmed), and what it showed is kept
// together with the control center's action and status text at that moment.
class ModalCloser {
public:
    struct Closed {
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int action = -1;
        QString status;
    };

    ModalCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { CloseActive(); });
        m_timer.start(20);
    }

    const std::vector<Closed>& Seen() const { return m_seen; }

private:
    void CloseActive()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        Closed closed{QString(), QMessageBox::NoIcon, Dlg()->GetAction(), Dlg()->GetStatusText()};
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            closed.text = box->text();
            closed.icon = box->icon();
        }
        m_seen.push_back(closed);
        dialog->reject();
    }

    QTimer m_timer;
    std::vector<Closed> m_seen;
};

// Ends the operation under way, if any, with the middle button, and closes
// the dialog that opens.
inline void EndAnyAction()
{
    ModalCloser closer;
    if (Dlg()->GetAction() != ACTION_IDLE)
        Click(PixelFor(0, 0), Qt::MiddleButton);
}

// The program as a test wants it: both windows up, nothing under way, an
// empty drawing without history, and the start range in view. Call it
// through ASSERT_NO_FATAL_FAILURE.
inline void StartFresh()
{
    Dlg()->Open();
    ASSERT_TRUE(Dlg()->HasDrawingWindow()) << "no OpenGL for the drawing window";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
    EndAnyAction();
    Db()->Clear();
    Dlg()->GetHistory()->Clear();
    View()->TakeWorldCoordinates(viewrange::kDefaultRange);
    View()->Render();
}

// Answers the next message box with the button of the given text and keeps
// what it asked; a box that never comes leaves the question empty.
class QuestionAnswerer {
public:
    explicit QuestionAnswerer(QString answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start(20);
    }
    const QString& Question() const { return m_question; }

private:
    void Answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        m_question = box->text();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == m_answer) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << m_answer.toStdString();
        box->reject();
    }

    QString m_answer;
    QString m_question;
    QTimer m_timer;
};

// Tries to end the control center in one of the user's ways; returns whether
// it ended. A control center that stays open is ended afterwards.
inline bool TryToQuit(const std::function<void()>& way)
{
    QTimer::singleShot(50, way);
    bool forced = false;
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [&forced] {
        forced = true;
        Dlg()->Quit();
    });
    fallback.start(1500);
    Dlg()->DoModal();
    return !forced;
}

} // namespace controltest
