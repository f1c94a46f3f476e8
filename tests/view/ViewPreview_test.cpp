// The full previews over the scene: the circle being drawn, the object being
// dragged, the object being mirrored. Blue lies only where the result will
// be, and nothing is left of it once the operation ends.
#include "view/OpenGLMouse.h"

#include "view/ViewTestSupport.h"

#include <cmath>
#include <functional>

using viewtest::IsBlue;

namespace {

class ViewPreview : public viewtest::ViewFixture {
protected:
    // Distance of a device pixel's centre from the nearest of the shapes, in
    // device pixels; each shape gives the distance of a world point.
    using Shape = std::function<double(double wx, double wy)>;

    static Shape Segment(CGO_Point a, CGO_Point b)
    {
        return [=](double x, double y) {
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double length2 = dx * dx + dy * dy;
            const double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
            return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
        };
    }
    static Shape Circle(CGO_Point c, double r)
    {
        return [=](double x, double y) { return std::fabs(std::hypot(x - c.x, y - c.y) - r); };
    }

    // Every blue pixel lies on one of the shapes, and each shape has about
    // as many blue pixels as its length in pixels.
    void ExpectBlueOnlyOn(const std::vector<std::pair<Shape, double>>& shapes)
    {
        const QImage image = view.GrabFramebuffer();
        const double worldPerPixel = 1000.0 / Side();
        std::vector<int> lit(shapes.size(), 0);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!IsBlue(image.pixel(x, y)))
                    continue;
                const double wx = -500.0 + (x + 0.5) * worldPerPixel;
                const double wy = -500.0 + (image.height() - y - 0.5) * worldPerPixel;
                bool onOne = false;
                for (std::size_t i = 0; i < shapes.size(); ++i) {
                    if (shapes[i].first(wx, wy) <= 1.6 * worldPerPixel) {
                        ++lit[i];
                        onOne = true;
                    }
                }
                ASSERT_TRUE(onOne) << "blue pixel " << x << "," << y << " is on none of the shapes";
            }
        }
        for (std::size_t i = 0; i < shapes.size(); ++i)
            EXPECT_GE(lit[i], 0.7 * shapes[i].second / worldPerPixel) << "shape " << i << " is hardly drawn";
    }
};

} // namespace

TEST_F(ViewPreview, TheCircleBeingDrawnIsShownWholeWithItsRadius)
{
    AddLine(-400, 0, 400, 0);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    const CGO_Point centre(-100, 50);
    view.SetMode(MODE_POINT, centre, BAND_LINE);
    view.SetPreview(PREVIEW_CIRCLE);
    Move(PixelOf(20, 210));
    const double r = std::hypot(120.0, 160.0);
    ExpectBlueOnlyOn({{Segment(centre, CGO_Point(20, 210)), r}, {Circle(centre, r), 2 * M_PI * r}});
    Click(Qt::LeftButton, PixelOf(20, 210));
    EXPECT_EQ(view.GrabFramebuffer(), scene) << "the preview left a trace";
}

TEST_F(ViewPreview, TheDraggedObjectIsShownAtItsNewPlaceAndStaysWhereItIsUntilTheDrop)
{
    AddCircle(0, 0, 60);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    view.SetMode(MODE_PICK);
    Click(Qt::LeftButton, PixelOf(60, 0));
    ASSERT_EQ(view.GetPickedId(), 0);
    view.SetMode(MODE_DRAG);
    Press(Qt::LeftButton, PixelOf(0, 0));
    Move(PixelOf(150, -100));
    ExpectBlueOnlyOn({{Segment(CGO_Point(0, 0), CGO_Point(150, -100)), 180}, {Circle(CGO_Point(150, -100), 60), 377}});
    // Only the picture changed: the object and its list are as they were.
    const auto* circle = dynamic_cast<const CGO_Circle*>(view.GetGraphics()->GetDatabase()->GetAt(0));
    EXPECT_EQ(circle->GetCenter().x, 0.0f);
    Click(Qt::RightButton, PixelOf(150, -100));
    EXPECT_EQ(view.GrabFramebuffer(), scene);
    view.Render();
    EXPECT_EQ(view.GrabFramebuffer(), scene) << "the object's display list changed";
}

TEST_F(ViewPreview, TheObjectBeingMirroredIsShownMirroredAtTheLineToTheCursor)
{
    AddLine(100, 100, 300, 100);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    view.SetMode(MODE_PICK);
    Click(Qt::LeftButton, PixelOf(200, 100));
    view.SetMode(MODE_POINT, CGO_Point(0, -300), BAND_LINE);
    view.SetPreview(PREVIEW_MIRROR);
    // The mirror line is the y-axis: the line appears on the left.
    Move(PixelOf(0, 300));
    ExpectBlueOnlyOn({{Segment(CGO_Point(0, -300), CGO_Point(0, 300)), 600},
                      {Segment(CGO_Point(-100, 100), CGO_Point(-300, 100)), 200}});
    Click(Qt::LeftButton, PixelOf(0, 300));
    EXPECT_EQ(view.GrabFramebuffer(), scene);
}
