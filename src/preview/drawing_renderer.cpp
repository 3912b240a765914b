#include "preview/drawing_renderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace preview {

namespace {

constexpr double kTinyText = 2.0;    // pixels; below, a text is a stroke along its baseline
constexpr int kLongestText = 1024;   // characters drawn of one text
constexpr double kLineWidth = 0.18;  // sheet millimetres
constexpr double kShortestDash = 3;
constexpr int kAuxiliaryStyle = 9;
constexpr std::pair<int, int> kRandomStyles{11, 15};  // drawn as waves
constexpr double kWavePitch = 2.0;                    // sheet millimetres
constexpr double kWaveAmplitude = 0.4;  // construction lines: on screen, never printed  // pixels a
                                        // whole pattern needs to show as one
constexpr std::size_t kCheckEvery = 256;
constexpr std::size_t kExtentBudget = 2'000'000;
// Layers and groups that may be looked at but not changed draw in this grey.
const QColor kViewOnlyGrey(0x99, 0x99, 0x99);
const QColor kPaperFrame(0xC0, 0xC0, 0xC0);

bool HalfWidth(QChar c)
{
    return c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F);
}

// Jw_cad's Windows fonts by the free fonts drawn with the same metrics.
QString FamilyOf(const QString& font)
{
    const bool proportional = font.contains(u'Ｐ') || font.contains(u'P');
    if (font.contains(QStringLiteral("明朝")))
        return proportional ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAMincho");
    if (font.isEmpty() || font.contains(QStringLiteral("ゴシック")))
        return proportional ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAGothic");
    return font;
}

QColor ColourOf(Rgb rgb, bool forPrint)
{
    QColor colour = QColor::fromRgb(rgb);
    if (forPrint && colour.lightnessF() > 0.8)
        return Qt::black;
    return colour;
}

// Liang-Barsky: the part of a-b inside r, false when none is.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = start + QPointF(dx, dy) * t0;
    b = start + QPointF(dx, dy) * t1;
    return true;
}

// Sutherland-Hodgman against each side of r in turn.
QPolygonF ClipPolygon(const QPolygonF& polygon, const QRectF& r)
{
    QPolygonF out = polygon;
    auto clip = [&out](auto inside, auto cross) {
        QPolygonF in = out;
        out.clear();
        for (qsizetype i = 0; i < in.size(); ++i) {
            const QPointF a = in[i], b = in[(i + 1) % in.size()];
            if (inside(b)) {
                if (!inside(a))
                    out << cross(a, b);
                out << b;
            } else if (inside(a)) {
                out << cross(a, b);
            }
        }
    };
    auto atX = [](double x) {
        return [x](QPointF a, QPointF b) {
            return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
        };
    };
    auto atY = [](double y) {
        return [y](QPointF a, QPointF b) {
            return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
        };
    };
    clip([&](QPointF p) { return p.x() >= r.left(); }, atX(r.left()));
    clip([&](QPointF p) { return p.x() <= r.right(); }, atX(r.right()));
    clip([&](QPointF p) { return p.y() >= r.top(); }, atY(r.top()));
    clip([&](QPointF p) { return p.y() <= r.bottom(); }, atY(r.bottom()));
    return out;
}

// How many device pixels one unit becomes (the larger axis).
double ScaleOf(const QTransform& t)
{
    return std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

QTransform Placement(const Insert& insert, const Block& block)
{
    QTransform place;
    place.translate(insert.at.x(), insert.at.y());
    place.rotateRadians(insert.angle);
    place.scale(insert.scaleX, insert.scaleY);
    place.translate(-block.base.x(), -block.base.y());
    return place;
}

QPointF OnArc(const Arc& arc, double t)
{
    const double x = arc.radius * std::cos(t), y = arc.radius * arc.flatness * std::sin(t);
    const double c = std::cos(arc.tilt), s = std::sin(arc.tilt);
    return arc.centre + QPointF(x * c - y * s, x * s + y * c);
}

class Renderer {
public:
    Renderer(QPainter& painter, const Drawing& drawing, const QTransform& toDevice,
             const QRectF& visible, const RenderOptions& options)
        : painter_(painter),
          drawing_(drawing),
          toDevice_(toDevice),
          visible_(visible),
          options_(options),
          perMillimetre_(ScaleOf(toDevice)),
          // On screen a line is one pixel at any zoom, as Jw_cad shows it;
          // on paper it has its width in millimetres.
          lineWidth_(options.forPrint ? std::max(1.0, kLineWidth * perMillimetre_) : 1.0)
    {}

    void Run()
    {
        painter_.save();
        painter_.resetTransform();
        painter_.setRenderHint(QPainter::Antialiasing, true);
        if (!options_.forPrint && !drawing_.paper.isEmpty()) {
            colour_ = kPaperFrame;
            style_ = 1;
            width_ = 1;
            const QRectF paper = drawing_.paper;
            Stroke({toDevice_.map(paper.topLeft()), toDevice_.map(paper.topRight()),
                    toDevice_.map(paper.bottomRight()), toDevice_.map(paper.bottomLeft())},
                   true);
        }
        Draw(drawing_.entities, QTransform(), 0);
        painter_.restore();
    }

private:
    bool Spend()
    {
        if (spent_ >= options_.budget)
            return false;
        ++spent_;
        if (spent_ % kCheckEvery == 0 && options_.cancel &&
            options_.cancel->load(std::memory_order_relaxed))
            spent_ = options_.budget;
        return spent_ < options_.budget;
    }

    bool Shown(const Entity& e) const
    {
        return options_.groupsShown[e.group] && drawing_.groups[e.group].layers[e.layer].state != 0;
    }

    bool ViewOnly(const Entity& e) const
    {
        const LayerGroup& group = drawing_.groups[e.group];
        return group.state == 1 || group.layers[e.layer].state == 1;
    }

    // Elements are in sheet millimetres whatever their layer group's scale:
    // the scale only says what the sheet stands for in the real world.
    void Draw(const std::vector<Entity>& entities, const QTransform& place, int depth)
    {
        const QTransform m = place * toDevice_;
        for (const Entity& entity : entities) {
            if (!Spend())
                return;
            if (depth == 0 && !Shown(entity))
                continue;
            // A block's elements take the look of their insert's layer.
            if (depth == 0)
                greyed_ = !options_.forPrint && ViewOnly(entity);
            colour_ = greyed_ ? kViewOnlyGrey : ColourOf(entity.colour, options_.forPrint);
            style_ = entity.penStyle;
            if (options_.forPrint && style_ == kAuxiliaryStyle)
                continue;
            width_ = lineWidth_;
            if (options_.forPrint) {
                const auto printed = drawing_.printWidths.find(entity.penColour);
                if (printed != drawing_.printWidths.end())
                    width_ = std::max(1.0, printed->second * perMillimetre_);
            }
            std::visit([&](const auto& shape) { Take(shape, m, place, depth); }, entity.shape);
        }
    }

    void Stroke(const std::vector<QPointF>& points, bool closed)
    {
        QPen pen(colour_, width_);
        pen.setCapStyle(Qt::FlatCap);
        bool dashed = false;
        const auto dashes = drawing_.dashes.find(style_);
        if (dashes != drawing_.dashes.end()) {
            QList<qreal> pattern;
            double length = 0;
            for (double d : dashes->second) {
                const double pixels = d * perMillimetre_;
                length += pixels;
                pattern << std::max(0.1, pixels / width_);
            }
            dashed = length >= kShortestDash;
            if (dashed)
                pen.setDashPattern(pattern);
        }
        const bool wavy = style_ >= kRandomStyles.first && style_ <= kRandomStyles.second &&
                          kWavePitch * perMillimetre_ >= 4;
        painter_.setPen(pen);
        segments_.clear();
        run_.clear();
        const std::size_t n = points.size();
        for (std::size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
            QPointF a = points[i], b = points[(i + 1) % n];
            if (!ClipSegment(a, b, visible_))
                continue;
            if (wavy) {
                Wave(a, b);
            } else if (!dashed) {
                segments_.push_back(QLineF(a, b));
            } else {
                // A dash pattern runs on along the whole line, not anew each piece.
                if (run_.isEmpty() || run_.last() != a) {
                    Flush();
                    run_ << a;
                }
                run_ << b;
            }
        }
        Flush();
        if (!segments_.empty())
            painter_.drawLines(segments_.data(), static_cast<int>(segments_.size()));
    }

    void Flush()
    {
        if (run_.size() > 1)
            painter_.drawPolyline(run_);
        run_.clear();
    }

    // A random line: a wave of its own pitch along the segment.
    void Wave(QPointF a, QPointF b)
    {
        const QPointF along = b - a;
        const double length = std::hypot(along.x(), along.y());
        const double pitch = kWavePitch * perMillimetre_;
        const int steps = std::clamp(static_cast<int>(std::ceil(length / pitch * 8)), 1, 8192);
        const QPointF normal = length > 0 ? QPointF(-along.y(), along.x()) / length : QPointF();
        const double amplitude = kWaveAmplitude * perMillimetre_;
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            run_ << a + along * t +
                        normal * (amplitude * std::sin(2 * std::numbers::pi * t * length / pitch));
        }
        Flush();
    }

    void Fill(const QPolygonF& polygon)
    {
        const QPolygonF clipped = ClipPolygon(polygon, visible_);
        if (clipped.size() < 3)
            return;
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(colour_);
        painter_.drawPolygon(clipped);
    }

    bool OutOfView(QPointF centre, double reach) const
    {
        return !visible_.adjusted(-reach, -reach, reach, reach).contains(centre);
    }

    // Points along the arc, enough for its size on the device.
    std::vector<QPointF> Sample(const Arc& arc, const QTransform& m, double sweep) const
    {
        const double pixels = arc.radius * ScaleOf(m);
        const int n = std::clamp(
            static_cast<int>(std::ceil(std::abs(sweep) * std::sqrt(std::max(pixels, 1.0)) * 1.5)),
            2, 1024);
        std::vector<QPointF> points;
        points.reserve(static_cast<std::size_t>(n) + 1);
        for (int i = 0; i <= n; ++i)
            points.push_back(m.map(OnArc(arc, arc.start + sweep * i / n)));
        return points;
    }

    void Take(const Line& line, const QTransform& m, const QTransform&, int)
    {
        Stroke({m.map(line.from), m.map(line.to)}, false);
    }

    void Take(const Polyline& line, const QTransform& m, const QTransform&, int)
    {
        std::vector<QPointF> points;
        points.reserve(line.points.size());
        for (QPointF p : line.points)
            points.push_back(m.map(p));
        Stroke(points, line.closed && points.size() > 2);
    }

    void Take(const Arc& arc, const QTransform& m, const QTransform&, int)
    {
        const double reach = arc.radius * ScaleOf(m);
        if (OutOfView(m.map(arc.centre), reach))
            return;
        if (reach < 0.5) {
            Spot(m.map(arc.centre));
            return;
        }
        const bool full = arc.full || std::abs(arc.sweep) >= 2 * std::numbers::pi;
        std::vector<QPointF> points = Sample(arc, m, full ? 2 * std::numbers::pi : arc.sweep);
        if (full)
            points.pop_back();
        Stroke(points, full);
    }

    void Spot(QPointF at)
    {
        if (!visible_.contains(at))
            return;
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(colour_);
        const double size = std::max(1.5, width_ * 1.5);
        painter_.drawRect(QRectF(at - QPointF(size / 2, size / 2), QSizeF(size, size)));
    }

    void Take(const Dot& dot, const QTransform& m, const QTransform&, int)
    {
        if (!dot.temporary)
            Spot(m.map(dot.at));
    }

    void Take(const Text& text, const QTransform& m, const QTransform&, int)
    {
        if (text.text.isEmpty() || !(text.height > 0) || !std::isfinite(text.height))
            return;
        const QPointF from = m.map(text.from);
        const QPointF stored = m.map(text.to) - from;
        const double radians = text.angle * std::numbers::pi / 180;
        const QPointF along =
            std::isfinite(radians)
                ? m.map(text.from + QPointF(std::cos(radians), std::sin(radians))) - from
                : QPointF(perMillimetre_, 0);
        const QPointF across =
            std::isfinite(radians)
                ? m.map(text.from + QPointF(-std::sin(radians), std::cos(radians))) - from
                : QPointF(0, perMillimetre_);
        const double perAlong = std::hypot(along.x(), along.y());
        const double height = text.height * std::hypot(across.x(), across.y());
        const QString shown = text.text.left(kLongestText);
        // Jw_cad lays a text out in half-width cells: a full-width character
        // takes the stored width and spacing, a half-width one half of each;
        // no spacing follows the last.
        double cells = 0;
        for (QChar c : shown)
            cells += HalfWidth(c) ? 0.5 : 1;
        const double last = HalfWidth(shown.back()) ? 0.5 : 1;
        double wanted = ((text.width + text.spacing) * cells - text.spacing * last) * perAlong;
        const double fitted = std::hypot(stored.x(), stored.y());
        if (!(text.width > 0) || !std::isfinite(wanted) || wanted > 4 * fitted + 4 * height)
            wanted = fitted;
        const double reach = height + wanted;
        if (!std::isfinite(reach) || OutOfView(from, reach))
            return;
        const QPointF direction = fitted > 0 ? stored : along;
        if (height < kTinyText) {
            if (wanted > 0)
                Stroke(
                    {from, from + direction * (wanted / std::hypot(direction.x(), direction.y()))},
                    false);
            return;
        }
        // Taller than the view can show: nothing legible to draw.
        if (height > 4 * std::max(visible_.width(), visible_.height()))
            return;
        const double angle = std::atan2(direction.y(), direction.x()) * 180 / std::numbers::pi;
        QFont font(FamilyOf(text.font));
        const int pixels = std::max(1, static_cast<int>(std::lround(height)));
        font.setPixelSize(pixels);
        const QFontMetricsF metrics(font);
        const double natural = metrics.horizontalAdvance(shown);
        const double stretch =
            natural > 0 && wanted > 0 ? std::clamp(wanted / natural, 0.02, 50.0) : 1;
        painter_.save();
        painter_.setFont(font);
        painter_.setPen(colour_);
        painter_.translate(from);
        painter_.rotate(angle);
        painter_.scale(stretch, height / pixels);
        // The file's point is the bottom of the character box.
        painter_.drawText(QPointF(0, -metrics.descent()), shown);
        painter_.restore();
    }

    void Take(const Solid& solid, const QTransform& m, const QTransform&, int)
    {
        if (solid.shape == Solid::Shape::Quad) {
            QPolygonF polygon;
            for (QPointF corner : solid.corners)
                polygon << m.map(corner);
            Fill(polygon);
            return;
        }
        const Arc& arc = solid.arc;
        if (OutOfView(m.map(arc.centre), arc.radius * ScaleOf(m)))
            return;
        const bool whole = solid.shape == Solid::Shape::Ellipse;
        const std::vector<QPointF> outer = Sample(arc, m, whole ? 2 * std::numbers::pi : arc.sweep);
        QPolygonF polygon(outer.begin(), outer.end());
        if (solid.shape == Solid::Shape::Sector)
            polygon << m.map(arc.centre);
        if (solid.shape == Solid::Shape::Ring) {
            Arc inner = arc;
            inner.radius = solid.innerRadius;
            const std::vector<QPointF> back = Sample(inner, m, arc.sweep);
            polygon.append(QPolygonF(back.rbegin(), back.rend()));
        }
        Fill(polygon);
    }

    void Take(const Insert& insert, const QTransform&, const QTransform& place, int depth)
    {
        const Block* block = drawing_.FindBlock(insert.block);
        if (!block || depth >= options_.blockDepth ||
            std::find(stack_.begin(), stack_.end(), insert.block) != stack_.end())
            return;
        stack_.push_back(insert.block);
        const Rgb colour = colour_.rgba();
        Draw(block->entities, Placement(insert, *block) * place, depth + 1);
        colour_ = QColor::fromRgba(colour);
        stack_.pop_back();
    }

    QPainter& painter_;
    const Drawing& drawing_;
    QTransform toDevice_;
    QRectF visible_;
    const RenderOptions& options_;
    double perMillimetre_;
    double lineWidth_;
    double width_ = 1;  // of the element being drawn, pixels
    QColor colour_;
    int style_ = 1;
    bool greyed_ = false;
    std::size_t spent_ = 0;
    std::vector<int> stack_;  // blocks being drawn, outermost first
    std::vector<QLineF> segments_;
    QPolygonF run_;
};

class ExtentWalk {
public:
    explicit ExtentWalk(const Drawing& drawing) : drawing_(drawing) {}

    void Walk(const std::vector<Entity>& entities, const QTransform& place, int depth)
    {
        for (const Entity& entity : entities) {
            if (++visited_ > kExtentBudget)
                return;
            std::visit([&](const auto& shape) { Take(shape, place, depth); }, entity.shape);
        }
    }

    QRectF bounds;

private:
    void Add(QPointF p, const QTransform& place)
    {
        const QPointF sheet = place.map(p);
        if (!std::isfinite(sheet.x()) || !std::isfinite(sheet.y()))
            return;
        if (!seen_) {
            bounds = QRectF(sheet, sheet);
            seen_ = true;
        }
        bounds.setLeft(std::min(bounds.left(), sheet.x()));
        bounds.setRight(std::max(bounds.right(), sheet.x()));
        bounds.setTop(std::min(bounds.top(), sheet.y()));
        bounds.setBottom(std::max(bounds.bottom(), sheet.y()));
    }
    void Take(const Line& l, const QTransform& t, int)
    {
        Add(l.from, t);
        Add(l.to, t);
    }
    void Take(const Polyline& p, const QTransform& t, int)
    {
        for (QPointF point : p.points)
            Add(point, t);
    }
    void Take(const Arc& a, const QTransform& t, int)
    {
        Add(a.centre + QPointF(a.radius, a.radius), t);
        Add(a.centre - QPointF(a.radius, a.radius), t);
    }
    void Take(const Dot& d, const QTransform& t, int)
    {
        if (!d.temporary)
            Add(d.at, t);
    }
    // The character box: the baseline and its height above.
    void Take(const Text& x, const QTransform& t, int)
    {
        const double radians = x.angle * std::numbers::pi / 180;
        const QPointF up = std::isfinite(radians) && std::isfinite(x.height)
                               ? QPointF(-std::sin(radians), std::cos(radians)) * x.height
                               : QPointF();
        for (QPointF p : {x.from, x.to, x.from + up, x.to + up})
            Add(p, t);
    }
    void Take(const Solid& solid, const QTransform& t, int depth)
    {
        if (solid.shape != Solid::Shape::Quad)
            return Take(solid.arc, t, depth);
        for (QPointF corner : solid.corners)
            Add(corner, t);
    }
    void Take(const Insert& insert, const QTransform& t, int depth)
    {
        const Block* block = drawing_.FindBlock(insert.block);
        if (block && depth < 4)
            Walk(block->entities, Placement(insert, *block) * t, depth + 1);
    }

    const Drawing& drawing_;
    std::size_t visited_ = 0;
    bool seen_ = false;
};

}  // namespace

RenderOptions DefaultRenderOptions(const Drawing& drawing)
{
    RenderOptions options;
    for (std::size_t g = 0; g < options.groupsShown.size(); ++g)
        options.groupsShown[g] = drawing.groups[g].state != 0;
    return options;
}

QRectF DrawingExtent(const Drawing& drawing)
{
    return drawing.paper.isEmpty() ? ElementExtent(drawing) : drawing.paper;
}

QRectF ElementExtent(const Drawing& drawing)
{
    ExtentWalk walk(drawing);
    walk.Walk(drawing.entities, QTransform(), 0);
    return walk.bounds;
}

QTransform FitTransform(const QRectF& extent, const QRectF& target)
{
    const double width = std::max(extent.width(), 1e-9), height = std::max(extent.height(), 1e-9);
    const double scale = std::min(target.width() / width, target.height() / height);
    QTransform t;
    t.translate(target.center().x(), target.center().y());
    t.scale(scale, -scale);
    t.translate(-extent.center().x(), -extent.center().y());
    return t;
}

void RenderDrawing(QPainter& painter, const Drawing& drawing, const QTransform& toDevice,
                   const QRectF& visible, const RenderOptions& options)
{
    Renderer(painter, drawing, toDevice, visible, options).Run();
}

}  // namespace preview
