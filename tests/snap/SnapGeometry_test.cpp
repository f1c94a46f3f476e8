// Snap points and crossings against a long-double reference written the
// textbook way (Cramer's rule, the quadratic formula, the radical line), on
// random and degenerate lines and circles up to the float limit.
#include "snap/SnapGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using snapgeo::CCrossing;

namespace {

using Real = long double;

struct RefPoint {
    Real x, y;
};

// The reference answer, and whether it is too close to a change in the
// number of points for the two computations to be compared point by point.
struct Reference {
    std::vector<RefPoint> points;
    bool borderline = false;
};

bool Near01(Real t) { return std::fabs(t) < 1e-6L || std::fabs(t - 1) < 1e-6L; }

Reference RefSegments(CGO_Point a1, CGO_Point a2, CGO_Point b1, CGO_Point b2)
{
    Reference ref;
    const Real a = Real(a2.x) - a1.x, c = Real(a2.y) - a1.y;
    const Real b = -(Real(b2.x) - b1.x), d = -(Real(b2.y) - b1.y);
    const Real det = a * d - b * c;
    const Real lengths = std::hypot(a, c) * std::hypot(b, d);
    if (lengths == 0 || std::fabs(det) < 1e-6L * lengths) {
        ref.borderline = lengths != 0 && det != 0;
        return ref;
    }
    const Real ex = Real(b1.x) - a1.x, ey = Real(b1.y) - a1.y;
    const Real t = (ex * d - b * ey) / det;
    const Real u = (a * ey - ex * c) / det;
    ref.borderline = Near01(t) || Near01(u);
    if (t >= 0 && t <= 1 && u >= 0 && u <= 1)
        ref.points.push_back({a1.x + t * a, a1.y + t * c});
    return ref;
}

Reference RefSegmentCircle(CGO_Point p1, CGO_Point p2, CGO_Point c, float radius)
{
    Reference ref;
    const Real r = std::fabs(Real(radius));
    const Real dx = Real(p2.x) - p1.x, dy = Real(p2.y) - p1.y;
    const Real fx = Real(p1.x) - c.x, fy = Real(p1.y) - c.y;
    const Real A = dx * dx + dy * dy, B = 2 * (fx * dx + fy * dy), C = fx * fx + fy * fy - r * r;
    if (A == 0 || r == 0)
        return ref;
    const Real disc = B * B - 4 * A * C;
    const Real h = std::fabs(fx * dy - fy * dx) / std::sqrt(A);
    const Real scale = std::max({std::fabs(Real(p1.x)), std::fabs(Real(p1.y)), std::fabs(Real(p2.x)),
                                 std::fabs(Real(p2.y)), std::fabs(Real(c.x)), std::fabs(Real(c.y)), r});
    ref.borderline = std::fabs(h - r) < 1e-4L * r + 1e-5L * scale;
    if (disc < 0)
        return ref;
    for (Real sign : {-1.0L, 1.0L}) {
        const Real t = (-B + sign * std::sqrt(disc)) / (2 * A);
        ref.borderline = ref.borderline || Near01(t);
        if (t >= 0 && t <= 1)
            ref.points.push_back({p1.x + t * dx, p1.y + t * dy});
    }
    return ref;
}

Reference RefCircles(CGO_Point c1, float r1, CGO_Point c2, float r2)
{
    Reference ref;
    const Real ra = std::fabs(Real(r1)), rb = std::fabs(Real(r2));
    const Real dx = Real(c2.x) - c1.x, dy = Real(c2.y) - c1.y;
    const Real d = std::hypot(dx, dy);
    if (ra == 0 || rb == 0 || d == 0)
        return ref;
    const Real scale = std::max({ra, rb, d, std::fabs(Real(c1.x)), std::fabs(Real(c1.y))});
    ref.borderline = std::fabs(d - (ra + rb)) < 1e-4L * scale || std::fabs(d - std::fabs(ra - rb)) < 1e-4L * scale;
    if (d > ra + rb || d < std::fabs(ra - rb))
        return ref;
    const Real a = (d * d + ra * ra - rb * rb) / (2 * d);
    const Real h = std::sqrt(std::max(Real(0), ra * ra - a * a));
    const Real mx = c1.x + a * dx / d, my = c1.y + a * dy / d;
    ref.points.push_back({mx - h * dy / d, my + h * dx / d});
    ref.points.push_back({mx + h * dy / d, my - h * dx / d});
    return ref;
}

Real SegmentDistance(CGO_Point p, CGO_Point a, CGO_Point b)
{
    const Real dx = Real(b.x) - a.x, dy = Real(b.y) - a.y;
    const Real ex = Real(p.x) - a.x, ey = Real(p.y) - a.y;
    const Real len2 = dx * dx + dy * dy;
    const Real t = len2 > 0 ? std::clamp((ex * dx + ey * dy) / len2, Real(0), Real(1)) : 0;
    return std::hypot(ex - t * dx, ey - t * dy);
}

Real CircleDistance(CGO_Point p, CGO_Point c, float r)
{
    return std::fabs(std::hypot(Real(p.x) - c.x, Real(p.y) - c.y) - std::fabs(Real(r)));
}

// A few float steps of the largest coordinate involved.
Real Slack(std::initializer_list<float> values, Real steps = 4)
{
    Real scale = 0;
    for (float v : values)
        scale = std::max(scale, std::fabs(Real(v)));
    return scale * steps * 0x1p-24L;
}

bool Finite(CGO_Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Only reference points a float can hold are ever offered.
std::vector<RefPoint> Representable(const std::vector<RefPoint>& points)
{
    std::vector<RefPoint> kept;
    for (const RefPoint& p : points) {
        if (std::fabs(p.x) <= FLT_MAX && std::fabs(p.y) <= FLT_MAX)
            kept.push_back(p);
    }
    return kept;
}

int g_nCompared = 0;

void ExpectMatches(const CCrossing& got, const Reference& ref, Real slack, const std::string& what)
{
    for (int i = 0; i < got.m_nCount; ++i)
        ASSERT_TRUE(Finite(got.m_pt[i])) << what;
    if (ref.borderline)
        return;
    const std::vector<RefPoint> expected = Representable(ref.points);
    ASSERT_EQ(got.m_nCount, static_cast<int>(expected.size())) << what;
    g_nCompared += got.m_nCount;
    for (const RefPoint& e : expected) {
        bool found = false;
        for (int i = 0; i < got.m_nCount; ++i)
            found = found || std::hypot(got.m_pt[i].x - e.x, got.m_pt[i].y - e.y) <= slack;
        EXPECT_TRUE(found) << what << " misses (" << double(e.x) << ", " << double(e.y) << ")";
    }
}

struct Random {
    std::mt19937 engine{20240611};
    float Coordinate(float scale) { return std::uniform_real_distribution<float>(-scale, scale)(engine); }
    CGO_Point Point(float scale) { return CGO_Point(Coordinate(scale), Coordinate(scale)); }
    float Radius(float scale) { return std::uniform_real_distribution<float>(0.0f, scale)(engine); }
};

const float kScales[] = {1.0f, 1e3f, 1e-3f, 1e-30f, 1e15f, 1e30f, 1.7e38f};

} // namespace

TEST(SnapGeometry, RandomCrossingsAgreeWithReferenceAndLieOnBothObjects)
{
    Random random;
    for (float scale : kScales) {
        for (int i = 0; i < 4000; ++i) {
            const CGO_Point a1 = random.Point(scale), a2 = random.Point(scale);
            const CGO_Point b1 = random.Point(scale), b2 = random.Point(scale);
            const float r1 = random.Radius(scale), r2 = random.Radius(scale);
            const std::string what = "scale " + std::to_string(scale) + " case " + std::to_string(i);

            const CCrossing ll = snapgeo::IntersectSegments(a1, a2, b1, b2);
            const Real llSlack = Slack({a1.x, a1.y, a2.x, a2.y, b1.x, b1.y, b2.x, b2.y});
            ExpectMatches(ll, RefSegments(a1, a2, b1, b2), llSlack, "segments " + what);
            for (int k = 0; k < ll.m_nCount; ++k) {
                EXPECT_LE(SegmentDistance(ll.m_pt[k], a1, a2), llSlack) << what;
                EXPECT_LE(SegmentDistance(ll.m_pt[k], b1, b2), llSlack) << what;
            }

            const CCrossing lc = snapgeo::IntersectSegmentCircle(a1, a2, b1, r1);
            const Real lcSlack = Slack({a1.x, a1.y, a2.x, a2.y, b1.x, b1.y, r1});
            ExpectMatches(lc, RefSegmentCircle(a1, a2, b1, r1), lcSlack, "segment-circle " + what);
            for (int k = 0; k < lc.m_nCount; ++k) {
                EXPECT_LE(SegmentDistance(lc.m_pt[k], a1, a2), lcSlack) << what;
                EXPECT_LE(CircleDistance(lc.m_pt[k], b1, r1), lcSlack) << what;
            }

            // Centres closer together than the radii, so most pairs cross.
            const CGO_Point c2(b1.x + random.Coordinate(scale) / 2, b1.y + random.Coordinate(scale) / 2);
            const CCrossing cc = snapgeo::IntersectCircles(b1, r1, c2, r2);
            const Real ccSlack = Slack({b1.x, b1.y, c2.x, c2.y, r1, r2});
            ExpectMatches(cc, RefCircles(b1, r1, c2, r2), ccSlack, "circles " + what);
            for (int k = 0; k < cc.m_nCount; ++k) {
                EXPECT_LE(CircleDistance(cc.m_pt[k], b1, r1), ccSlack) << what;
                EXPECT_LE(CircleDistance(cc.m_pt[k], c2, r2), ccSlack) << what;
            }
        }
    }
    // Not vacuous: most cases have points to compare.
    EXPECT_GT(g_nCompared, 35000);
}

TEST(SnapGeometry, DegenerateCasesGiveDefinedPoints)
{
    using P = CGO_Point;
    const struct {
        const char* name;
        CCrossing got;
        std::vector<P> expected;
    } cases[] = {
        {"crossing lines", snapgeo::IntersectSegments(P(-1, 0), P(1, 0), P(0, -1), P(0, 1)), {P(0, 0)}},
        {"lines meeting at a corner", snapgeo::IntersectSegments(P(0, 0), P(10, 0), P(10, 0), P(10, 5)), {P(10, 0)}},
        {"T-joint", snapgeo::IntersectSegments(P(0, 0), P(10, 0), P(4, 0), P(4, 5)), {P(4, 0)}},
        {"crossing beyond an extent", snapgeo::IntersectSegments(P(0, 0), P(1, 0), P(5, -1), P(5, 1)), {}},
        {"parallel lines", snapgeo::IntersectSegments(P(0, 0), P(10, 0), P(0, 1), P(10, 1)), {}},
        {"collinear overlapping", snapgeo::IntersectSegments(P(0, 0), P(10, 10), P(5, 5), P(20, 20)), {}},
        {"collinear end to end", snapgeo::IntersectSegments(P(0, 0), P(1, 0), P(1, 0), P(2, 0)), {}},
        {"identical lines", snapgeo::IntersectSegments(P(3, 4), P(7, 1), P(3, 4), P(7, 1)), {}},
        {"zero-length line on a line", snapgeo::IntersectSegments(P(5, 0), P(5, 0), P(0, 0), P(10, 0)), {}},
        {"two zero-length lines", snapgeo::IntersectSegments(P(5, 0), P(5, 0), P(5, 0), P(5, 0)), {}},
        {"tangent line", snapgeo::IntersectSegmentCircle(P(-10, 5), P(10, 5), P(0, 0), 5), {P(0, 5)}},
        {"line through the centre", snapgeo::IntersectSegmentCircle(P(-10, 0), P(10, 0), P(0, 0), 5),
         {P(-5, 0), P(5, 0)}},
        {"line ending inside", snapgeo::IntersectSegmentCircle(P(0, 0), P(10, 0), P(0, 0), 5), {P(5, 0)}},
        {"line inside the circle", snapgeo::IntersectSegmentCircle(P(-1, 0), P(1, 0), P(0, 0), 5), {}},
        {"line missing the circle", snapgeo::IntersectSegmentCircle(P(-10, 6), P(10, 6), P(0, 0), 5), {}},
        {"negative radius", snapgeo::IntersectSegmentCircle(P(-10, 0), P(10, 0), P(0, 0), -5),
         {P(-5, 0), P(5, 0)}},
        {"zero-length line on a circle", snapgeo::IntersectSegmentCircle(P(5, 0), P(5, 0), P(0, 0), 5), {}},
        {"line through a zero-radius circle", snapgeo::IntersectSegmentCircle(P(-1, 0), P(1, 0), P(0, 0), 0), {}},
        {"circles touching outside", snapgeo::IntersectCircles(P(0, 0), 5, P(10, 0), 5), {P(5, 0)}},
        {"circles touching inside", snapgeo::IntersectCircles(P(0, 0), 10, P(5, 0), 5), {P(10, 0)}},
        {"small circle touching inside", snapgeo::IntersectCircles(P(5, 0), 5, P(0, 0), 10), {P(10, 0)}},
        {"crossing circles", snapgeo::IntersectCircles(P(0, 0), 5, P(8, 0), 5), {P(4, 3), P(4, -3)}},
        {"concentric circles", snapgeo::IntersectCircles(P(1, 1), 5, P(1, 1), 3), {}},
        {"identical circles", snapgeo::IntersectCircles(P(1, 1), 5, P(1, 1), 5), {}},
        {"circles apart", snapgeo::IntersectCircles(P(0, 0), 1, P(10, 0), 1), {}},
        {"circle inside circle", snapgeo::IntersectCircles(P(0, 0), 10, P(1, 0), 2), {}},
        {"zero-radius circle on a circle", snapgeo::IntersectCircles(P(5, 0), 0, P(0, 0), 5), {}},
        {"two zero-radius circles", snapgeo::IntersectCircles(P(0, 0), 0, P(0, 0), 0), {}},
        {"circles at the float limit", snapgeo::IntersectCircles(P(-FLT_MAX, 0), FLT_MAX, P(FLT_MAX, 0), FLT_MAX),
         {P(0, 0)}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.got.m_nCount, static_cast<int>(c.expected.size())) << c.name;
        for (const CGO_Point& e : c.expected) {
            bool found = false;
            for (int i = 0; i < c.got.m_nCount; ++i)
                found = found || (std::fabs(c.got.m_pt[i].x - e.x) < 1e-5f && std::fabs(c.got.m_pt[i].y - e.y) < 1e-5f);
            EXPECT_TRUE(found) << c.name << ": (" << e.x << ", " << e.y << ")";
        }
    }
}

TEST(SnapGeometry, ExactCornersAndFloatLimits)
{
    // A corner that two lines share is their crossing, to the bit.
    const CGO_Point corner(0.1f, 0.7f);
    const CCrossing atCorner = snapgeo::IntersectSegments(CGO_Point(-3.3f, 2.9f), corner, corner, CGO_Point(5.1f, 8.3f));
    ASSERT_EQ(atCorner.m_nCount, 1);
    EXPECT_EQ(atCorner.m_pt[0].x, corner.x);
    EXPECT_EQ(atCorner.m_pt[0].y, corner.y);

    // Points beyond the float range are left out, never infinite.
    const CCrossing far = snapgeo::IntersectSegmentCircle(CGO_Point(-FLT_MAX, 0), CGO_Point(FLT_MAX, 0),
                                                          CGO_Point(FLT_MAX, 0), FLT_MAX);
    ASSERT_EQ(far.m_nCount, 1);
    EXPECT_EQ(far.m_pt[0].x, 0.0f);

    const float nan = std::nanf("");
    EXPECT_EQ(snapgeo::IntersectSegments(CGO_Point(nan, 0), CGO_Point(1, 1), CGO_Point(0, 1), CGO_Point(1, 0)).m_nCount, 0);
    EXPECT_EQ(snapgeo::IntersectCircles(CGO_Point(0, 0), INFINITY, CGO_Point(1, 0), 1).m_nCount, 0);
    EXPECT_EQ(snapgeo::IntersectSegmentCircle(CGO_Point(0, 0), CGO_Point(1, 0), CGO_Point(0, 0), nan).m_nCount, 0);
}

TEST(SnapGeometry, MidpointsAndQuadrantsAreExact)
{
    const struct {
        CGO_Point a, b, expected;
    } midpoints[] = {
        {{1, 3}, {3, 7}, {2, 5}},
        {{FLT_MAX, FLT_MAX}, {FLT_MAX, FLT_MAX}, {FLT_MAX, FLT_MAX}}, // no overflow in between
        {{-FLT_MAX, FLT_MAX}, {FLT_MAX, -FLT_MAX}, {0, 0}},
        {{0.1f, -0.3f}, {0.1f, -0.3f}, {0.1f, -0.3f}},             // a zero-length line's own point
        {{FLT_TRUE_MIN, 0}, {FLT_TRUE_MIN, 0}, {FLT_TRUE_MIN, 0}},
        {{1, 0}, {0x1p-30f, 0}, {0.5f, 0}},                       // rounded once, to nearest
    };
    for (const auto& m : midpoints) {
        CGO_Point got;
        ASSERT_TRUE(geo::Midpoint(m.a, m.b, got));
        EXPECT_EQ(got.x, m.expected.x);
        EXPECT_EQ(got.y, m.expected.y);
    }
    CGO_Point unused;
    EXPECT_FALSE(geo::Midpoint(CGO_Point(INFINITY, 0), CGO_Point(0, 0), unused));

    CGO_Point q[4];
    ASSERT_EQ(geo::Quadrants(CGO_Point(10, 20), -5, q), 4);
    const CGO_Point expected[4] = {{15, 20}, {10, 25}, {5, 20}, {10, 15}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[i].x, expected[i].x) << i;
        EXPECT_EQ(q[i].y, expected[i].y) << i;
    }
    // The 0-degree point of this circle lies beyond the float range.
    ASSERT_EQ(geo::Quadrants(CGO_Point(3e38f, 0), 1e38f, q), 3);
    EXPECT_EQ(q[0].y, 1e38f);
}

TEST(SnapGeometry, OrthogonalProjectionTakesTheNearerAxis)
{
    const struct {
        CGO_Point first, second;
        double sizeX, sizeY;
        CGO_Point expected;
    } cases[] = {
        {{0, 0}, {10, 3}, 1, 1, {10, 0}},      // nearer the horizontal
        {{0, 0}, {3, -10}, 1, 1, {0, -10}},    // nearer the vertical
        {{1, 1}, {6, 6}, 1, 1, {6, 1}},        // a tie is horizontal
        {{1, 1}, {1, 1}, 1, 1, {1, 1}},
        {{0, 0}, {10, 8}, 1, 10, {10, 0}},     // 10 px across, 0.8 px up
        {{0, 0}, {10, 8}, 10, 1, {0, 8}},      // 1 px across, 8 px up
        {{0.1f, 0.2f}, {0.7f, 0.3f}, 0, -1, {0.7f, 0.2f}}, // unusable sizes count as 1
    };
    for (const auto& c : cases) {
        const CGO_Point got = snapgeo::ProjectOrthogonal(c.first, c.second, c.sizeX, c.sizeY);
        EXPECT_EQ(got.x, c.expected.x);
        EXPECT_EQ(got.y, c.expected.y);
    }
}
