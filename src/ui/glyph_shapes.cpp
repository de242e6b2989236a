#include "ui/glyph_shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <span>
#include <vector>

#include "ui/glyph_icon.h"
#include "ui/handles.h"

namespace {

// Shapes are designed on a grid of 16 × 16 units, the way the icon font's glyphs
// are, with stroke centres on the grid. Around the grid lies a margin of half the
// heaviest stroke, so that strokes and solid edges stay inside the icon.
constexpr double kGridUnits = 16.0;

struct Point {
    double x;
    double y;
};

// A stroke stays at least about 1.2 px wide when the chrome shrinks a 32 px icon
// of weight 900 to 11 px; weight 400 is visibly lighter.
double StrokeWidth(int side, int weight) {
    if (weight <= 0) weight = FW_NORMAL;
    weight = std::min(weight, 1000);
    return std::max(1.0, side * (0.035 + weight * 0.00008));
}

// Draws on the supersampled context in grid units, with a pen of the stroke width.
class Sketch {
public:
    Sketch(HDC dc, int side, int weight, int scale) : dc_(dc) {
        const double stroke = StrokeWidth(side, weight);
        // Every weight has the same outline, room left for the heaviest stroke.
        const double inset = side / 16.0 + StrokeWidth(side, FW_HEAVY) / 2;
        origin_ = inset * scale;
        unit_ = (side - 2 * inset) * scale / kGridUnits;
        LOGBRUSH ink{BS_SOLID, RGB(0, 0, 0), 0};
        pen_.reset(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_ROUND,
                                static_cast<DWORD>(std::lround(stroke * scale)), &ink, 0, nullptr));
    }

    [[nodiscard]] bool Ready() const { return static_cast<bool>(pen_); }

    // An open line through the points.
    void Line(std::span<const Point> points) const {
        SelectedObject pen(dc_, pen_.get());
        const std::vector<POINT> device = Device(points);
        Polyline(dc_, device.data(), static_cast<int>(device.size()));
    }
    void Line(std::initializer_list<Point> points) const { Line(std::span(points.begin(), points.size())); }

    // A closed outline, hollow inside.
    void Outline(std::span<const Point> points) const { Closed(points, GetStockObject(NULL_BRUSH)); }
    void Outline(std::initializer_list<Point> points) const { Outline(std::span(points.begin(), points.size())); }

    // A closed shape filled with ink, its edge drawn with the pen so that it grows
    // with the weight and its corners are rounded.
    void Solid(std::span<const Point> points) const { Closed(points, GetStockObject(BLACK_BRUSH)); }

    // Ink exactly within the contours, sharp corners kept; a contour inside another cuts a hole.
    void Fill(std::initializer_list<std::span<const Point>> contours) const {
        std::vector<POINT> device;
        std::vector<INT> counts;
        for (std::span<const Point> contour : contours) {
            const std::vector<POINT> points = Device(contour);
            device.insert(device.end(), points.begin(), points.end());
            counts.push_back(static_cast<INT>(points.size()));
        }
        SelectedObject pen(dc_, GetStockObject(NULL_PEN));
        SelectedObject fill(dc_, GetStockObject(BLACK_BRUSH));
        SetPolyFillMode(dc_, ALTERNATE);
        PolyPolygon(dc_, device.data(), counts.data(), static_cast<int>(counts.size()));
    }

private:
    void Closed(std::span<const Point> points, HGDIOBJ brush) const {
        SelectedObject pen(dc_, pen_.get());
        SelectedObject fill(dc_, brush);
        const std::vector<POINT> device = Device(points);
        Polygon(dc_, device.data(), static_cast<int>(device.size()));
    }

    std::vector<POINT> Device(std::span<const Point> points) const {
        std::vector<POINT> device;
        device.reserve(points.size());
        for (const Point& point : points) {
            device.push_back({std::lround(origin_ + point.x * unit_), std::lround(origin_ + point.y * unit_)});
        }
        return device;
    }

    HDC dc_;
    double origin_ = 0;
    double unit_ = 0;
    UniquePen pen_;
};

// A point on a circle at an angle in degrees measured clockwise from twelve o'clock.
Point OnCircle(Point centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return {centre.x + radius * std::sin(radians), centre.y - radius * std::cos(radians)};
}

// An arc drawn clockwise from one angle through the sweep, as a polyline fine
// enough to look round at eight times the largest icon size.
std::vector<Point> Arc(Point centre, double radius, double fromDegrees, double sweepDegrees) {
    const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(sweepDegrees) / 3.0)));
    std::vector<Point> points;
    points.reserve(steps + 1);
    for (int step = 0; step <= steps; ++step) {
        points.push_back(OnCircle(centre, radius, fromDegrees + sweepDegrees * step / steps));
    }
    return points;
}

std::vector<Point> Circle(Point centre, double radius) {
    std::vector<Point> points = Arc(centre, radius, 0, 360);
    points.pop_back();
    return points;
}

// The left-pointing arrow, laid out again by each direction's mapping of the grid.
template <typename Orient>
void Arrow(const Sketch& sketch, Orient orient) {
    sketch.Line({orient({0, 8}), orient({16, 8})});
    sketch.Line({orient({7, 1}), orient({0, 8}), orient({7, 15})});
}

void DrawBack(const Sketch& sketch) {
    Arrow(sketch, [](Point p) { return p; });
}

void DrawForward(const Sketch& sketch) {
    Arrow(sketch, [](Point p) { return Point{kGridUnits - p.x, p.y}; });
}

void DrawUp(const Sketch& sketch) {
    Arrow(sketch, [](Point p) { return Point{p.y, p.x}; });
}

// A clockwise circle open at the upper right, a solid head at its end pointing into the gap.
void DrawRefresh(const Sketch& sketch) {
    const Point centre{8, 8.5};
    const double radius = 7;
    const double endDegrees = 40;
    sketch.Line(Arc(centre, radius, endDegrees + 60, 300));
    const Point base = OnCircle(centre, radius, endDegrees);
    const Point outward{base.x - centre.x, base.y - centre.y};
    const Point along{-outward.y / radius, outward.x / radius};
    const double halfWidth = 2.75;
    const double length = 3.5;
    const Point head[] = {
        {base.x + outward.x / radius * halfWidth, base.y + outward.y / radius * halfWidth},
        {base.x + along.x * length, base.y + along.y * length},
        {base.x - outward.x / radius * halfWidth, base.y - outward.y / radius * halfWidth},
    };
    sketch.Solid(head);
}

// The undo arrow: pointing left along the top, turning down and back along the bottom.
void DrawReopenClosed(const Sketch& sketch) {
    const Point centre{10.5, 10.25};
    const double radius = 5.25;
    sketch.Line({{4.5, 0.5}, {0, 5}, {4.5, 9.5}});
    std::vector<Point> path{{0, 5}};
    for (const Point& point : Arc(centre, radius, 0, 180)) path.push_back(point);
    path.push_back({5, centre.y + radius});
    sketch.Line(path);
}

void DrawViewOptions(const Sketch& sketch) {
    for (double y : {2.0, 8.0, 14.0}) sketch.Line({{0, y}, {16, y}});
}

// The lens at the upper right, the handle toward the lower left.
void DrawSearch(const Sketch& sketch) {
    const Point centre{10, 6};
    const double radius = 6;
    sketch.Outline(Circle(centre, radius));
    sketch.Line({OnCircle(centre, radius, 225), {0.5, 15.5}});
}

void DrawCross(const Sketch& sketch) {
    sketch.Line({{0.5, 0.5}, {15.5, 15.5}});
    sketch.Line({{15.5, 0.5}, {0.5, 15.5}});
}

// A solid wheel of eight square-cut teeth around a round hole: an outline of
// teeth would close up at the heavy weight and the small sizes the chrome uses.
void DrawSettings(const Sketch& sketch) {
    const Point centre{8, 8};
    constexpr int kTeeth = 8;
    std::vector<Point> rim;
    for (int tooth = 0; tooth < kTeeth; ++tooth) {
        const double middle = tooth * 360.0 / kTeeth;
        rim.push_back(OnCircle(centre, 6.25, middle - 13));
        rim.push_back(OnCircle(centre, 8.5, middle - 9));
        rim.push_back(OnCircle(centre, 8.5, middle + 9));
        rim.push_back(OnCircle(centre, 6.25, middle + 13));
    }
    sketch.Fill({rim, Circle(centre, 3)});
}

void DrawStar(const Sketch& sketch) {
    constexpr double kOuter = 8.4;
    constexpr double kInner = kOuter * 0.4;
    // Centred between the top point and the two lower points.
    const Point centre{8, 8 + kOuter * (1 - std::cos(std::numbers::pi / 5)) / 2};
    constexpr int kCorners = 10;
    std::array<Point, kCorners> outline{};
    for (int corner = 0; corner < kCorners; ++corner) {
        outline[corner] = OnCircle(centre, corner % 2 == 0 ? kOuter : kInner, corner * 36.0);
    }
    sketch.Solid(outline);
}

void DrawFolder(const Sketch& sketch) {
    sketch.Outline({{0, 1.5}, {6, 1.5}, {8, 4}, {16, 4}, {16, 14.5}, {0, 14.5}});
    sketch.Line({{0, 6.5}, {6, 6.5}, {8, 4}});
}

void DrawPlus(const Sketch& sketch) {
    sketch.Line({{8, 0}, {8, 16}});
    sketch.Line({{0, 8}, {16, 8}});
}

void DrawMinimize(const Sketch& sketch) { sketch.Line({{0, 8}, {16, 8}}); }

void DrawMaximize(const Sketch& sketch) { sketch.Outline({{0, 0}, {16, 0}, {16, 16}, {0, 16}}); }

// The front window whole, of the one behind only what shows above and right of it.
void DrawRestore(const Sketch& sketch) {
    sketch.Outline({{0, 4}, {12, 4}, {12, 16}, {0, 16}});
    sketch.Line({{4, 4}, {4, 0}, {16, 0}, {16, 12}, {12, 12}});
}

struct Shape {
    wchar_t codePoint;
    void (*draw)(const Sketch&);
};

constexpr Shape kShapes[] = {
    {glyph::kBack, DrawBack},
    {glyph::kForward, DrawForward},
    {glyph::kUp, DrawUp},
    {glyph::kRefresh, DrawRefresh},
    {glyph::kReopenClosed, DrawReopenClosed},
    {glyph::kViewOptions, DrawViewOptions},
    {glyph::kSearch, DrawSearch},
    {glyph::kClear, DrawCross},
    {glyph::kSettings, DrawSettings},
    {glyph::kStar, DrawStar},
    {glyph::kFolderOptions, DrawFolder},
    {glyph::kPlus, DrawPlus},
    {glyph::kMinimize, DrawMinimize},
    {glyph::kMaximize, DrawMaximize},
    {glyph::kRestore, DrawRestore},
    {glyph::kClose, DrawCross},
};

}  // namespace

bool DrawGlyphShape(HDC dc, wchar_t codePoint, int side, int weight, int scale) {
    const Shape* shape = std::find_if(std::begin(kShapes), std::end(kShapes),
                                      [codePoint](const Shape& candidate) { return candidate.codePoint == codePoint; });
    if (shape == std::end(kShapes)) return false;
    const Sketch sketch(dc, side, weight, scale);
    if (!sketch.Ready()) return false;
    shape->draw(sketch);
    return true;
}
