#pragma once
// A two-dimensional drawing as the preview draws it, whichever file it came
// from. Coordinates are millimetres on the sheet with y upwards, as the file
// holds them, whatever the layer group's scale: the scale says what the sheet
// stands for in the real world (1/100: a sheet millimetre is 100 mm), shown
// to the user but never applied to a coordinate.

#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <variant>
#include <vector>

namespace preview {

// 0xAARRGGBB, as QRgb; kept apart from QtGui so the readers need QtCore only.
using Rgb = std::uint32_t;

struct Line {
    QPointF from, to;
};

struct Polyline {
    std::vector<QPointF> points;
    bool closed = false;
};

// Circles, arcs, ellipses and elliptic arcs: the unit circle's angles from
// `start` through `sweep` (radians, counter-clockwise), scaled to `radius`
// along the major axis and `radius * flatness` across it, the major axis
// turned by `tilt`.
struct Arc {
    QPointF centre;
    double radius = 0;
    double start = 0;
    double sweep = 0;
    double tilt = 0;
    double flatness = 1;
    bool full = false;
};

struct Dot {
    QPointF at;
    bool temporary = false;  // a construction point, not drawn
};

struct Text {
    QPointF from;       // start of the baseline
    QPointF to;         // its end; the text is fitted between them when they differ
    double width = 0;   // character width on the sheet, mm
    double height = 0;  // character height on the sheet, mm
    double spacing = 0;
    double angle = 0;  // degrees, counter-clockwise
    QString font;
    QString text;
};

// A filled quadrilateral, or a filled part of an ellipse.
struct Solid {
    enum class Shape { Quad, Ellipse, Sector, Segment, Ring };
    Shape shape = Shape::Quad;
    std::array<QPointF, 4> corners{};  // in drawing order
    Arc arc;                           // the round shapes
    double innerRadius = 0;            // rings
};

struct Insert {
    QPointF at;
    double scaleX = 1;
    double scaleY = 1;
    double angle = 0;  // radians
    int block = 0;     // Block::number
};

struct Entity {
    int group = 0;  // layer group 0-15
    int layer = 0;  // layer 0-15 within it
    int penColour = 1;
    int penStyle = 1;
    Rgb colour = 0xFF000000;  // as resolved from the pen colour
    std::variant<Line, Polyline, Arc, Dot, Text, Solid, Insert> shape;
};

struct Block {
    int number = 0;
    QString name;
    QPointF base;  // subtracted before an insert places the block
    std::vector<Entity> entities;
};

struct Layer {
    int state = 2;  // 0 hidden; 1 shown only; 2 editable; 3 the one written to
    QString name;
};

struct LayerGroup {
    int state = 2;
    double scale = 1;  // the denominator: 1/50 is 50; always finite and positive
    QString name;
    std::array<Layer, 16> layers;
};

struct Drawing {
    int version = 0;  // of the file format, 0 when it has none
    QString memo;
    // The sheet, centred on the origin; empty when the file names none.
    QRectF paper;
    Rgb background = 0xFFFFFFFF;  // what the drawing was made on
    std::array<LayerGroup, 16> groups;
    int groupInUse = -1;  // the one written to when saved; -1 when the file does not say
    // Dash lengths in sheet millimetres by pen style; a style not here is solid.
    std::map<int, std::vector<double>> dashes;
    // Printed line widths in sheet millimetres by pen colour; a pen not here
    // prints at the renderer's own width.
    std::map<int, double> printWidths;
    std::vector<Entity> entities;
    std::vector<Block> blocks;
    // False when the file ended or turned unreadable before its last element;
    // what was read before stays.
    bool complete = true;

    // Blocks are kept in ascending number, so an insert finds its block fast.
    const Block* FindBlock(int number) const;
    // The layer group whose scale the drawing is at: the one in use, or the
    // one holding most elements.
    int MainGroup() const;
};

}  // namespace preview
