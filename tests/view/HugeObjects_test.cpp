// Lines and circles far larger than the visible range: drawn where they cross
// it, at the default range and after any range change, picked where they are
// drawn, and never changed in their stored coordinates.
#include "view/scene/Graphics.h"

#include "support/LogTail.h"
#include "view/ViewTestSupport.h"

#include <cmath>
#include <functional>
#include <string>

using testsupport::LogTail;
using viewtest::IsBlack;

namespace {

struct Range {
    float xMin, xMax, yMin, yMax;
};

class ViewHugeObjects : public viewtest::ViewFixture {
protected:
    void SetRange(const Range& r)
    {
        ASSERT_TRUE(view.GetGraphics()->SetWorldCoordinates(r.xMin, r.xMax, r.yMin, r.yMax));
        m_range = r;
    }

    // The drawing-buffer row (top row 0) of a world y, and the column of a
    // world x, under the current range.
    double RowOf(double wy) const
    {
        return view.BufferHeight() - (wy - m_range.yMin) / (m_range.yMax - m_range.yMin) * Side();
    }
    double WorldXOfColumn(int column) const
    {
        return m_range.xMin + (column + 0.5) / Side() * (m_range.xMax - m_range.xMin);
    }

    // How many columns of the square show a black pixel within 1.5 pixels
    // of the row the world curve y(x) predicts, and whether every black pixel
    // lies that close to it.
    struct Trace {
        int columnsHit = 0;
        int strayPixels = 0;
    };
    Trace TraceOf(const QImage& image, const std::function<double(double)>& y) const
    {
        Trace trace;
        const int side = static_cast<int>(Side());
        for (int column = 0; column < side; ++column) {
            const double row = RowOf(y(WorldXOfColumn(column))) - 0.5;
            bool hit = false;
            for (int r = 0; r < image.height(); ++r) {
                if (!IsBlack(image.pixel(column, r)))
                    continue;
                if (std::fabs(r - row) <= 1.5)
                    hit = true;
                else
                    ++trace.strayPixels;
            }
            trace.columnsHit += hit;
        }
        return trace;
    }

    void ExpectTraced(const std::function<double(double)>& y)
    {
        view.Render();
        const Trace trace = TraceOf(view.GrabFramebuffer(), y);
        EXPECT_GE(trace.columnsHit, Side() - 2) << "the curve is not drawn across the view";
        EXPECT_EQ(trace.strayPixels, 0);
    }

    int AddLineGetId(float x1, float y1, float x2, float y2)
    {
        AddLine(x1, y1, x2, y2);
        const CGO_Database* db = view.GetGraphics()->GetDatabase();
        return db->GetAt(db->GetSize() - 1)->GetId();
    }

    Range m_range{-500, 500, -500, 500};
};

// The ranges every test draws at: the default, zoomed in, far from the
// origin, and zoomed in so far that a unit is hundreds of pixels.
const Range kRanges[] = {
    {-500, 500, -500, 500},
    {-10, 10, -210, -190},
    {1e6f, 1e6f + 1000, -700, 300},
    {-0.25f, 0.25f, -200.25f, -199.75f},
};

TEST_F(ViewHugeObjects, LongLinesAreDrawnWhereTheyCrossTheViewAtEveryRange)
{
    AddLine(-1e10f, -200, 1e10f, -200);
    for (const Range& range : kRanges) {
        SCOPED_TRACE(testing::Message() << "X(" << range.xMin << ", " << range.xMax << ")");
        SetRange(range);
        ExpectTraced([](double) { return -200.0; });
    }
}

TEST_F(ViewHugeObjects, LongSlantedLineIsDrawnOnItsOwnCourse)
{
    // Stored as floats, the ends lose the offset; the course follows them.
    const float x1 = -1e12f, y1 = -1e12f * 0.25f, x2 = 1e12f, y2 = 1e12f * 0.25f - 200;
    AddLine(x1, y1, x2, y2);
    const auto course = [&](double x) {
        return y1 + (x - x1) * (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
    };
    for (const Range& range : {kRanges[0], Range{-100, 300, -75, 325}}) {
        SCOPED_TRACE(testing::Message() << "X(" << range.xMin << ", " << range.xMax << ")");
        SetRange(range);
        ExpectTraced(course);
    }
}

TEST_F(ViewHugeObjects, HugeCircleIsDrawnWhereItCrossesTheView)
{
    // Its top, at y = 0 and x = -43711, is a vertex of the 360-gon; the two
    // segments from it fall by about 1% to either side, through the view.
    AddCircle(0, -1e12f, 1e12f);
    const CGO_Point top = CGO_Circle::OutlineVertex(CGO_Point(0, -1e12f), 1e12f, 90);
    const CGO_Point left = CGO_Circle::OutlineVertex(CGO_Point(0, -1e12f), 1e12f, 91);
    const CGO_Point right = CGO_Circle::OutlineVertex(CGO_Point(0, -1e12f), 1e12f, 89);
    const auto outline = [&](double x) {
        const CGO_Point& end = x < top.x ? left : right;
        return top.y + (x - top.x) * (static_cast<double>(end.y) - top.y) / (static_cast<double>(end.x) - top.x);
    };
    for (const Range& range : {kRanges[0], Range{-50, 50, -430, -330}, Range{1e5f, 1e5f + 1e4f, -5000, 5000}}) {
        SCOPED_TRACE(testing::Message() << "X(" << range.xMin << ", " << range.xMax << ")");
        SetRange(range);
        ExpectTraced(outline);
    }
}

TEST_F(ViewHugeObjects, RangeChangeRebuildsOnlyTheListsOfHugeObjects)
{
    AddLine(-4000, 100, 4000, 100);     // ordinary at the default range, huge against a unit
    AddCircle(0, 0, 50);                // ordinary
    AddLine(-1e10f, -200, 1e10f, -200); // huge
    AddCircle(3e6f, 0, 1e9f);           // huge, out of sight
    CGO_Database* db = view.GetGraphics()->GetDatabase();
    std::vector<CGO_ObjectState> states;
    for (int slot = 0; slot < db->GetSize(); ++slot)
        states.push_back(db->GetAt(slot)->SaveState());

    const auto rebuilt = [](const LogTail& tail) {
        std::string ids;
        for (const std::string& line : tail.Lines())
            if (line.find("generated.") != std::string::npos)
                ids += line.substr(line.rfind('#') + 1, 1);
        return ids;
    };
    LogTail tail;
    SetRange({-10, 10, -210, -190});
    EXPECT_EQ(rebuilt(tail), "23");
    tail.Restart();
    SetRange({-10, 10, -210, -190});
    EXPECT_EQ(rebuilt(tail), "") << "an unchanged range rebuilds nothing";
    tail.Restart();
    SetRange({0, 1, 99.5f, 100.5f});
    EXPECT_EQ(rebuilt(tail), "023");
    ExpectTraced([](double) { return 100.0; });
    tail.Restart();
    SetRange({-500, 500, -500, 500});
    EXPECT_EQ(rebuilt(tail), "023");

    for (int slot = 0; slot < db->GetSize(); ++slot)
        EXPECT_TRUE(db->GetAt(slot)->SaveState() == states[static_cast<std::size_t>(slot)]) << "slot " << slot;
}

TEST_F(ViewHugeObjects, HugeLineIsPickedWhereItIsDrawn)
{
    AddLine(-300, 300, 300, 300);
    const int huge = AddLineGetId(-1e10f, -200, 1e10f, -200);
    for (const Range& range : {kRanges[0], kRanges[1]}) {
        SCOPED_TRACE(testing::Message() << "X(" << range.xMin << ", " << range.xMax << ")");
        SetRange(range);
        view.Render();
        view.SetMode(MODE_PICK);
        const int column = static_cast<int>(Side() / 3);
        const QPoint at(static_cast<int>(std::lround(column / Ratio())),
                        static_cast<int>(std::lround(RowOf(-200) / Ratio())));
        Click(Qt::LeftButton, at);
        EXPECT_EQ(view.GetPickedId(), huge);
    }
}

} // namespace
