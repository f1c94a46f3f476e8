// The hover highlight on the real window: it names the object a click would
// pick, on random drawings and where objects touch, it is drawn blue for that
// object alone, and it goes when the cursor leaves the object.
#include "view/OpenGLMouse.h"

#include "view/ViewTestSupport.h"

#include <random>

using viewtest::CountPixels;
using viewtest::IsBlue;

namespace {

class ViewHover : public viewtest::ViewFixture {
protected:
    // Where the cursor hovers, and what a click there then picks (-1: nothing).
    std::pair<int, int> HoverAndClick(QPoint at)
    {
        view.SetMode(MODE_PICK);
        Move(at);
        const int hovered = view.GetHoveredId();
        receiver.received.clear();
        Click(Qt::LeftButton, at);
        const int picked = receiver.received.empty() ? -1 : view.GetPickedId();
        return {hovered, picked};
    }
};

} // namespace

TEST_F(ViewHover, OnRandomDrawingsTheHoverNamesWhatTheClickPicks)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> position(-450.0f, 450.0f);
    std::uniform_real_distribution<float> radius(5.0f, 120.0f);
    for (int i = 0; i < 40; ++i) {
        if (i % 2 == 0)
            AddLine(position(random), position(random), position(random), position(random));
        else
            AddCircle(position(random), position(random), radius(random));
    }
    view.Render();
    std::uniform_int_distribution<int> pixel(0, static_cast<int>(Side() / Ratio()) - 1);
    int hits = 0;
    int disagreements = 0;
    for (int i = 0; i < 300; ++i) {
        const QPoint at(pixel(random), view.height() - 1 - pixel(random));
        const auto [hovered, picked] = HoverAndClick(at);
        disagreements += hovered != picked ? 1 : 0;
        hits += picked >= 0 ? 1 : 0;
        if (hovered != picked)
            ADD_FAILURE() << "at " << at.x() << "," << at.y() << " hover " << hovered << " but click " << picked;
    }
    EXPECT_EQ(disagreements, 0);
    EXPECT_GT(hits, 20) << "too few cursors on an object to prove anything";
}

TEST_F(ViewHover, WhereObjectsTouchTheOlderOneIsHighlightedAloneAndTheClickAgrees)
{
    AddLine(-200, 100, 200, 100);  // #0
    AddCircle(0, 0, 100);          // #1, touching the line at (0, 100)
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    const auto [hovered, picked] = HoverAndClick(PixelOf(0, 100));
    EXPECT_EQ(hovered, 0);
    EXPECT_EQ(picked, 0);

    view.SetMode(MODE_PICK);
    Move(PixelOf(0, 100));
    const QImage lit = view.GrabFramebuffer();
    // Blue along the line, nowhere on the circle below it.
    const auto blueIn = [&](QRect area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += IsBlue(lit.pixel(x, y)) ? 1 : 0;
        return count;
    };
    const QPointF left = DevicePointOf(-200, 100), right = DevicePointOf(200, 100);
    EXPECT_GE(blueIn(QRect(QPoint(left.x(), left.y() - 2), QPoint(right.x(), right.y() + 2))), right.x() - left.x() - 2);
    const QPointF bottom = DevicePointOf(0, -100);
    EXPECT_EQ(blueIn(QRect(QPoint(bottom.x() - 20, bottom.y() - 20), QPoint(bottom.x() + 20, bottom.y() + 20))), 0);

    // Away from both objects the highlight is gone without a trace.
    Move(PixelOf(300, -300));
    EXPECT_EQ(view.GetHoveredId(), -1);
    EXPECT_EQ(view.GrabFramebuffer(), scene);
}

TEST_F(ViewHover, OnlyThePickModeHighlightsButEveryModeKnowsTheObjectUnderTheCursor)
{
    AddCircle(0, 0, 100);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    for (const int mode : {MODE_IDLE, MODE_POINT, MODE_DRAG}) {
        SCOPED_TRACE(mode);
        view.SetMode(mode);
        Move(PixelOf(100, 0));
        EXPECT_EQ(view.GetHoveredId(), 0);
        EXPECT_EQ(CountPixels(view.GrabFramebuffer(), IsBlue), 0);
    }
    view.SetMode(MODE_PICK);
    Move(PixelOf(100, 2));
    EXPECT_GT(CountPixels(view.GrabFramebuffer(), IsBlue), 100);
    Move(PixelOf(0, 0));  // inside the circle, far from its outline
    EXPECT_EQ(view.GetHoveredId(), -1);
    EXPECT_EQ(view.GrabFramebuffer(), scene);
}
