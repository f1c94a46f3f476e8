// The hover prediction against the real thing: the scene's selection-mode
// pick (CGraphics::Pick) in a headless context, on random drawings and on
// the cases where the two may part: geometry on the region's very edge.
#include "snap/HitTest.h"

#include "database/DatabaseTestUtil.h"
#include "log/Logger.h"
#include "snap/SpatialIndex.h"
#include "support/HeadlessGL.h"
#include "view/scene/Graphics.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using dbtest::MakeCircle;
using dbtest::MakeLine;

namespace {

struct Shape {
    bool line;
    float a, b, c, d; // x1 y1 x2 y2, or x y r
};

constexpr int kSide = 500;
constexpr double kPickSize = 5.0;
const GLint kViewport[4] = {0, 0, kSide, kSide};

// Selection writes a log line per list; these tests pick thousands of times.
class QuietLog {
public:
    QuietLog() : m_nLevel(CLogger::GetInstance()->GetLevel()) { CLogger::GetInstance()->SetLevel(CLogger::LEVEL_WARN); }
    ~QuietLog() { CLogger::GetInstance()->SetLevel(m_nLevel); }

private:
    int m_nLevel;
};

// A drawing in the current context; lists left by an earlier scene go.
struct PickScene {
    CGraphics graphics;
    CSpatialIndex index{*graphics.GetDatabase()};

    PickScene()
    {
        CGO_GeoObject::ResetIdFactory();
        glDeleteLists(CGO_GeoObject::DISPLAY_LIST_OFFSET, 1000);
    }
    CGO_Database& Db() { return *graphics.GetDatabase(); }

    // The projection and modelview that picking starts from.
    void Render()
    {
        glViewport(0, 0, kSide, kSide);
        graphics.RenderScene();
    }
    // The id the selection-mode click picks at window point (x, y), or -1.
    int Click(double x, double y)
    {
        const int name = graphics.Pick(x, y, kPickSize, kViewport);
        return name > 0 ? name - CGO_GeoObject::DISPLAY_LIST_OFFSET : -1;
    }
    CGO_Box Region(double x, double y, double grow = 0.0)
    {
        return hittest::PickRegion(graphics.GetWorldCoordinates(), kViewport, x, y, kPickSize + grow);
    }
    int Hover(double x, double y, double grow = 0.0) { return hittest::HitTest(index, Region(x, y, grow)).m_nId; }
};

} // namespace

// The two part only where geometry lies within the selection's float
// rounding of the region's edge: a region grown or shrunk by that much
// agrees with the click. At the default and other moderate ranges that is a
// thousandth of a pixel; deep in a zoom far from the origin, where a pixel
// comes near the float steps of the coordinates, it reaches hundredths.
TEST(HoverPick, PredictsTheClickOnRandomDrawings)
{
    testsupport::HeadlessGL gl(kSide, kSide);
    ASSERT_TRUE(gl.IsValid());
    QuietLog quiet;
    const struct {
        const char* name;
        WorldCoordinates range;
        int maxParted; // of 400 picks
    } ranges[] = {
        {"default range", {-500, 500, -500, 500}, 2},
        {"uneven range", {-333.3, 712.9, -100.1, 945.3}, 2},
        {"deep zoom far out", {1e5, 1e5 + 50, -2e5, -2e5 + 50}, 20},
    };
    std::mt19937 random(31);
    for (const auto& r : ranges) {
        PickScene scene;
        ASSERT_TRUE(scene.graphics.SetWorldCoordinates(float(r.range.xMin), float(r.range.xMax), float(r.range.yMin),
                                                       float(r.range.yMax)));
        const WorldCoordinates range = scene.graphics.GetWorldCoordinates();
        const double spanX = range.xMax - range.xMin, spanY = range.yMax - range.yMin;
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int i = 0; i < 300; ++i) {
            const float x = float(range.xMin + unit(random) * spanX), y = float(range.yMin + unit(random) * spanY);
            const float s = float(unit(random) * spanX * 0.12), a = float(unit(random) * 6.3);
            scene.Db().Add(i % 2 ? static_cast<CGO_GeoObject*>(MakeLine(x, y, x + s * std::cos(a), y + s * std::sin(a)))
                                 : MakeCircle(x, y, s / 2));
        }
        scene.Render();
        const double far = std::max({std::fabs(range.xMin), std::fabs(range.xMax), std::fabs(range.yMin), std::fabs(range.yMax)});
        const double roundingPixels = 4 * 0x1p-24 * far / (std::min(spanX, spanY) / kSide) + 1e-3;
        std::uniform_int_distribution<int> pixel(0, kSide - 1);
        int hits = 0, parted = 0;
        for (int i = 0; i < 400; ++i) {
            const double x = pixel(random), y = pixel(random);
            const int click = scene.Click(x, y);
            const int hover = scene.Hover(x, y);
            hits += click >= 0;
            if (click == hover)
                continue;
            ++parted;
            const bool atEdge = scene.Hover(x, y, roundingPixels) == click || scene.Hover(x, y, -roundingPixels) == click;
            EXPECT_TRUE(atEdge) << r.name << " pixel " << x << ", " << y << ": click " << click << ", hover " << hover;
        }
        EXPECT_GT(hits, 100) << r.name;
        EXPECT_LE(parted, r.maxParted) << r.name;
    }
}

// Touching from outside does not count, touching from inside does.
TEST(HoverPick, AgreesOnTheRegionsEdgeAndOnPoints)
{
    testsupport::HeadlessGL gl(kSide, kSide);
    ASSERT_TRUE(gl.IsValid());
    QuietLog quiet;
    // 2 world units per pixel: the region at pixel (250, 250) is [-5, 5]
    // on both axes, and 5.000001 is the next float beyond its edge.
    const float edge = 5.0f, beyond = std::nextafter(5.0f, 10.0f);
    const struct {
        const char* name;
        std::vector<Shape> shapes;
        int id;
    } cases[] = {
        {"line on the right edge", {{true, edge, -100, edge, 100}}, 0},
        {"line on the bottom edge", {{true, -100, -edge, 100, -edge}}, 0},
        {"line a float step beyond", {{true, beyond, -100, beyond, 100}}, -1},
        {"line through the corner only", {{true, 0, 10, 10, 0}}, -1},
        {"line ending on the edge from outside", {{true, -100, 0, -edge, 0}}, -1},
        {"line ending just inside", {{true, -100, 0, -4.99f, 0}}, 0},
        {"line from the edge inwards", {{true, edge, 0, 0, 1}}, 0},
        {"line past the corner", {{true, 0, 2 * beyond, 2 * beyond, 0}}, -1},
        {"zero-length line", {{true, 1, 2, 1, 2}}, 0},
        {"zero-radius circle", {{false, -3, 4, 0, 0}}, 0},
        {"circle around the region", {{false, 0, 0, 20, 0}}, -1},
        {"circle through the region", {{false, 20, 0, 19, 0}}, 0},
        {"lowest id of several", {{false, 100, 0, 50, 0}, {true, -9, 0, 9, 0}, {true, 0, -9, 0, 9}}, 1},
    };
    for (const auto& c : cases) {
        PickScene scene;
        for (const Shape& s : c.shapes)
            scene.Db().Add(s.line ? static_cast<CGO_GeoObject*>(MakeLine(s.a, s.b, s.c, s.d)) : MakeCircle(s.a, s.b, s.c));
        scene.Render();
        EXPECT_EQ(scene.Click(250, 250), c.id) << c.name;
        EXPECT_EQ(scene.Hover(250, 250), c.id) << c.name;
    }
}

TEST(HoverPick, LowestIdWinsNotLowestSlot)
{
    testsupport::HeadlessGL gl(kSide, kSide);
    ASSERT_TRUE(gl.IsValid());
    QuietLog quiet;
    PickScene scene;
    for (int i = 0; i < 3; ++i)
        scene.Db().Add(MakeLine(-10, float(i), 10, float(i)));
    // Id 2 goes back into slot 0, ahead of id 1 in slot 1.
    scene.Db().RemoveAt(0);
    scene.Db().RemoveAt(2);
    CGO_Line* moved = CGO_Line::Restore(2);
    moved->RestoreState(scene.Db().Lookup(1)->SaveState());
    ASSERT_TRUE(scene.Db().PutAt(0, moved));
    scene.Render();
    EXPECT_EQ(scene.Click(250, 250), 1);
    const hittest::CHit hit = hittest::HitTest(scene.index, scene.Region(250, 250));
    EXPECT_EQ(hit.m_nId, 1);
    EXPECT_EQ(hit.m_nSlot, 1);
}
