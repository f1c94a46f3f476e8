// Shared set-up of the drawing-window tests: a real window on the (virtual)
// display, a receiver that records the messages, and helpers that map world
// points to mouse positions and to pixels of the drawing buffer at any
// device pixel ratio.
#pragma once

#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "view/CadMessages.h"
#include "view/CadView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <vector>

namespace viewtest {

// What the window looked like to the receiver at the moment of a message.
struct Received {
    unsigned message;
    std::uintptr_t wParam;
    int mode;
    int band;
    int pickedId;
};

class RecordingReceiver : public ICadMessageReceiver {
public:
    explicit RecordingReceiver(COpenGLMouse* view) : m_view(view) {}
    long SendCadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override
    {
        received.push_back({message, wParam, m_view->GetMode(), m_view->GetBand(), m_view->GetPickedId()});
        return 0;
    }
    std::vector<Received> received;

private:
    COpenGLMouse* m_view;
};

// Counts renders, so a test can wait until the window has stopped painting,
// and can hold back paints: other test processes' windows come and go on the
// same display, and their expose events would redraw the scene in the middle
// of a feedback check.
class CountingView : public CCadView {
public:
    void Render() override
    {
        ++renders;
        CCadView::Render();
    }
    int renders = 0;
    bool holdPaints = false;

protected:
    void exposeEvent(QExposeEvent* event) override
    {
        if (!holdPaints)
            CCadView::exposeEvent(event);
    }
    bool event(QEvent* event) override
    {
        if (holdPaints && event->type() == QEvent::UpdateRequest)
            return true;
        return CCadView::event(event);
    }
};

inline bool IsWhite(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }
inline bool IsBlack(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0; }
inline bool IsBlue(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 255; }

inline int CountPixels(const QImage& image, bool (*test)(QRgb))
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// The smallest rectangle around every black pixel.
inline QRect BlackBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsBlack(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        CGO_GeoObject::ResetIdFactory();
        ASSERT_TRUE(view.Create("CAD-Programm (-500, 500 | -500, 500)", 0, 0, 400, 400));
        view.SetReceiver(&receiver);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        SetClientSize(400, 400);
    }

    // Client size in logical pixels; waits until the window has painted
    // itself at that size, so no paint arrives in the middle of a test.
    void SetClientSize(int width, int height)
    {
        view.resize(width, height);
        Settle();
        ASSERT_EQ(view.width(), width);
        ASSERT_EQ(view.height(), height);
        view.Render();
    }

    // Lets pending paints through until none comes any more, then holds
    // paints back again; explicit Render calls still draw.
    void Settle()
    {
        view.holdPaints = false;
        for (int round = 0; round < 50; ++round) {
            const int before = view.renders;
            QTest::qWait(20);
            if (view.renders == before && round > 1)
                break;
        }
        view.holdPaints = true;
    }

    double Ratio() const { return view.devicePixelRatio(); }
    // Side of the square viewport in device pixels.
    double Side() const { return std::min(view.BufferWidth(), view.BufferHeight()); }

    // The logical pixel whose lower left corner is the world point, for the
    // default range of -500 to 500 on both axes.
    QPoint PixelOf(double wx, double wy) const
    {
        const double logicalSide = Side() / Ratio();
        const double x = (wx + 500.0) / 1000.0 * logicalSide;
        const double y = view.height() - 1 - (wy + 500.0) / 1000.0 * logicalSide;
        return QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    }

    // A world point in device-pixel coordinates of the grabbed image (top row 0).
    QPointF DevicePointOf(double wx, double wy) const
    {
        return QPointF((wx + 500.0) / 1000.0 * Side(), view.BufferHeight() - (wy + 500.0) / 1000.0 * Side());
    }

    void AddLine(float x1, float y1, float x2, float y2)
    {
        auto* line = new CGO_Line;
        line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
        view.GetGraphics()->GetDatabase()->Add(line);
    }

    void AddCircle(float cx, float cy, float radius)
    {
        auto* circle = new CGO_Circle;
        circle->SetCenterAndRadius(CGO_Point(cx, cy), radius);
        view.GetGraphics()->GetDatabase()->Add(circle);
    }

    void Press(Qt::MouseButton button, QPoint at) { QTest::mousePress(&view, button, Qt::NoModifier, at); }
    void Release(Qt::MouseButton button, QPoint at) { QTest::mouseRelease(&view, button, Qt::NoModifier, at); }
    void Click(Qt::MouseButton button, QPoint at)
    {
        Press(button, at);
        Release(button, at);
    }
    void Move(QPoint at) { QTest::mouseMove(&view, at); }

    CountingView view;
    RecordingReceiver receiver{&view};
};

} // namespace viewtest
