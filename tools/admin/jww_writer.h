#pragma once
// Jw_cad drawing files for the demo office, the tests and the benchmarks,
// written from the format's published
// description: the document header field by field, then the element list and
// the block definitions in MFC's object serialisation.

#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace jww_writer {

struct JwwPen {
    int style = 1;
    int colour = 1;
    int layer = 0;
    int group = 0;
};

struct JwwElement {
    enum class Kind { Line, Arc, Dot, Text, Dimension, Solid, Insert, Definition, Unknown };
    Kind kind = Kind::Line;
    JwwPen pen;
    std::vector<double> numbers;       // the element's doubles, in file order
    std::uint32_t word = 0;            // full-circle flag, temporary flag, block number
    std::uint32_t solidRgb = 0;        // COLORREF of a solid in colour 10
    QString font, text;                // texts; a definition's name
    std::vector<JwwElement> children;  // a definition's elements
};

JwwElement Element(JwwElement::Kind kind, JwwPen pen, std::vector<double> numbers);
JwwElement Line(double x1, double y1, double x2, double y2, JwwPen pen = {});
JwwElement Circle(double x, double y, double r, JwwPen pen = {});
JwwElement EllipticArc(double x, double y, double r, double start, double sweep, double tilt,
                       double flatness, JwwPen pen = {});
JwwElement Dot(double x, double y, bool temporary = false, JwwPen pen = {});
JwwElement Text(double x, double y, double endX, const QString& text, double height = 5,
                JwwPen pen = {});
JwwElement Dimension(double x1, double y1, double x2, double y2, const QString& value);
// Corners in drawing order; the file holds them 1, 4, 2, 3.
JwwElement Solid(std::array<double, 8> corners, JwwPen pen = {}, std::uint32_t rgb = 0);
JwwElement Insert(double x, double y, int block, double scale = 1, double angle = 0,
                  JwwPen pen = {});
JwwElement Definition(int number, const QString& name, std::vector<JwwElement> children);

struct JwwFile {
    int version = 600;
    bool unicode = false;  // strings in MFC's Unicode form, as version 8 writes them
    int timeBytes = 4;     // a block definition's time: 4, or 8 in newer builds
    QString memo;
    std::uint32_t paper = 3;  // A3
    std::array<std::uint32_t, 16> groupStates{};
    std::array<std::array<std::uint32_t, 16>, 16> layerStates{};
    std::array<double, 16> scales{};  // denominators: 100 is 1/100
    std::array<QString, 16> groupNames;
    std::array<std::uint32_t, 10> penColours{};  // COLORREF, 0 the background
    std::vector<JwwElement> elements;
    std::vector<JwwElement> definitions;
    std::string extraHeader;  // bytes after the described header (a later version's)

    JwwFile();
    std::string Bytes() const;
};

}  // namespace jww_writer
