#include "preview/dxf_reader.h"

#include "preview/dxf_sanitizer.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <QColor>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>
#include <utility>
#include <vector>

#include "text/cp932.h"

namespace preview {

namespace {

constexpr int kLargestArray = 100;  // insert copies in rows and columns
constexpr int kByBlock = 0;
constexpr int kByLayer = 256;

class DxfAdapter : public DL_CreationAdapter {
public:
    Drawing drawing;

    void setVariableString(const std::string& key, const std::string& value, int) override
    {
        if (key == "$DWGCODEPAGE")
            codePage_ = value;
        if (key == "$ACADVER")
            unicode_ = value >= "AC1021";
    }

    void addLayer(const DL_LayerData& data) override
    {
        const int colour = attributes.getColor();
        layerColours_[data.name] = std::abs(colour);
        if (data.off || colour < 0 || (data.flags & 1) != 0)
            hiddenLayers_.push_back(data.name);
    }

    void addBlock(const DL_BlockData& data) override
    {
        EndPolyline();
        const bool layout =
            data.name.rfind("*Model_Space", 0) == 0 || data.name.rfind("*Paper_Space", 0) == 0 ||
            data.name.rfind("*MODEL_SPACE", 0) == 0 || data.name.rfind("*PAPER_SPACE", 0) == 0;
        Block block;
        block.number = BlockNumber(data.name);
        block.name = Decode(data.name);
        block.base = {data.bpx, data.bpy};
        blocks_.push_back(std::move(block));
        skipping_ = layout;
        inBlock_ = true;
    }

    void endBlock() override
    {
        EndPolyline();
        if (skipping_ && !blocks_.empty())
            blocks_.pop_back();
        inBlock_ = false;
        skipping_ = false;
    }

    void addPoint(const DL_PointData& d) override { Add(Dot{{d.x, d.y}, false}); }
    void addLine(const DL_LineData& d) override { Add(Line{{d.x1, d.y1}, {d.x2, d.y2}}); }

    void addArc(const DL_ArcData& d) override
    {
        double sweep = std::fmod(d.angle2 - d.angle1, 360.0);
        if (sweep <= 0)
            sweep += 360;
        Add(Arc{{d.cx, d.cy}, std::abs(d.radius), Radians(d.angle1), Radians(sweep), 0, 1, false});
    }

    void addCircle(const DL_CircleData& d) override
    {
        Add(Arc{{d.cx, d.cy}, std::abs(d.radius), 0, 2 * std::numbers::pi, 0, 1, true});
    }

    void addEllipse(const DL_EllipseData& d) override
    {
        double sweep = std::fmod(d.angle2 - d.angle1, 2 * std::numbers::pi);
        if (sweep <= 0)
            sweep += 2 * std::numbers::pi;
        Add(Arc{{d.cx, d.cy},
                std::hypot(d.mx, d.my),
                d.angle1,
                sweep,
                std::atan2(d.my, d.mx),
                d.ratio,
                false});
    }

    void addPolyline(const DL_PolylineData& d) override
    {
        EndPolyline();
        polyline_ = Polyline{{}, (d.flags & 1) != 0};
        polylineEntity_ = Make();
    }

    void addVertex(const DL_VertexData& d) override
    {
        if (polyline_)
            polyline_->points.push_back({d.x, d.y});
    }

    void endEntity() override { EndPolyline(); }
    void endSequence() override { EndPolyline(); }

    void addText(const DL_TextData& d) override
    {
        Text text;
        text.from = text.to = {d.ipx, d.ipy};
        text.height = std::abs(d.height);
        text.width = text.height * d.xScaleFactor;
        text.angle = d.angle * 180 / std::numbers::pi;
        text.text = Decode(d.text);
        Add(std::move(text));
    }

    void addMTextChunk(const std::string& chunk) override { mtext_ += chunk; }

    void addMText(const DL_MTextData& d) override
    {
        Text text;
        const double height = std::abs(d.height);
        // Attached at its top by default: the first line's baseline is lower.
        const double drop = d.attachmentPoint <= 3   ? height
                            : d.attachmentPoint <= 6 ? height / 2
                                                     : 0;
        const double angle = d.dirx != 0 || d.diry != 0 ? std::atan2(d.diry, d.dirx) : d.angle;
        text.from = text.to =
            QPointF(d.ipx + drop * std::sin(angle), d.ipy - drop * std::cos(angle));
        text.height = height;
        text.angle = angle * 180 / std::numbers::pi;
        text.text = PlainMText(Decode(mtext_ + d.text));
        mtext_.clear();
        Add(std::move(text));
    }

    void addInsert(const DL_InsertData& d) override
    {
        const int columns = std::clamp(d.cols, 1, kLargestArray);
        const int rows = std::clamp(d.rows, 1, kLargestArray);
        const double angle = Radians(d.angle);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const double dx = c * d.colSp, dy = r * d.rowSp;
                const QPointF at(d.ipx + dx * std::cos(angle) - dy * std::sin(angle),
                                 d.ipy + dx * std::sin(angle) + dy * std::cos(angle));
                Add(Insert{at, d.sx == 0 ? 1 : d.sx, d.sy == 0 ? 1 : d.sy, angle,
                           BlockNumber(d.name)});
            }
    }

    void addSolid(const DL_SolidData& d) override { AddSolid(d); }
    void addTrace(const DL_TraceData& d) override { AddSolid(d); }

    void Finish()
    {
        EndPolyline();
        drawing.blocks = std::move(blocks_);
        std::sort(drawing.blocks.begin(), drawing.blocks.end(),
                  [](const Block& a, const Block& b) { return a.number < b.number; });
    }

private:
    static double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

    // A solid's corners go first, second, fourth, third around its outline.
    void AddSolid(const DL_TraceData& d)
    {
        Solid solid;
        solid.corners = {QPointF(d.x[0], d.y[0]), QPointF(d.x[1], d.y[1]), QPointF(d.x[3], d.y[3]),
                         QPointF(d.x[2], d.y[2])};
        Add(solid);
    }

    int BlockNumber(const std::string& name)
    {
        return blockNumbers_.try_emplace(name, static_cast<int>(blockNumbers_.size()) + 1)
            .first->second;
    }

    QString Decode(const std::string& bytes) const
    {
        QString text;
        if (unicode_)
            text = QString::fromUtf8(bytes);
        else if (codePage_ == "ANSI_932" || codePage_.empty())
            text = text::FromCp932(bytes);
        else
            text = QString::fromLatin1(bytes);
        // \U+XXXX stands for one character in any code page.
        static const QRegularExpression escaped(QStringLiteral("\\\\U\\+([0-9A-Fa-f]{4})"));
        for (auto match = escaped.match(text); match.hasMatch(); match = escaped.match(text))
            text.replace(match.capturedStart(), match.capturedLength(),
                         QChar(static_cast<char16_t>(match.captured(1).toUInt(nullptr, 16))));
        text.replace(QStringLiteral("%%d"), QStringLiteral("\u00b0"), Qt::CaseInsensitive);
        text.replace(QStringLiteral("%%c"), QStringLiteral("\u03c6"), Qt::CaseInsensitive);
        text.replace(QStringLiteral("%%p"), QStringLiteral("\u00b1"), Qt::CaseInsensitive);
        text.remove(QStringLiteral("%%u"), Qt::CaseInsensitive);
        text.remove(QStringLiteral("%%o"), Qt::CaseInsensitive);
        return text;
    }

    // Paragraph breaks as blanks, format codes and their braces left out.
    static QString PlainMText(QString text)
    {
        static const QRegularExpression codes(QStringLiteral("\\\\[A-OQ-Za-oq-z][^;\\\\{}]*;"));
        text.replace(QStringLiteral("\\P"), QStringLiteral(" "));
        text.remove(codes);
        text.remove(QLatin1Char('{'));
        text.remove(QLatin1Char('}'));
        return text;
    }

    Entity Make()
    {
        Entity entity;
        const std::string& layer = attributes.getLayer();
        int colour = attributes.getColor();
        if (colour == kByLayer) {
            const auto found = layerColours_.find(layer);
            colour = found != layerColours_.end() ? found->second : 7;
        }
        if (colour == kByBlock)
            colour = 7;
        const int trueColour = attributes.getColor24();
        entity.colour = trueColour >= 0 ? 0xFF000000u | static_cast<Rgb>(trueColour & 0xFFFFFF)
                                        : AciColour(colour);
        return entity;
    }

    bool Hidden() const
    {
        return skipping_ || std::find(hiddenLayers_.begin(), hiddenLayers_.end(),
                                      attributes.getLayer()) != hiddenLayers_.end();
    }

    template <class Shape>
    void Add(Shape shape)
    {
        EndPolyline();
        if (Hidden())
            return;
        Entity entity = Make();
        entity.shape = std::move(shape);
        if (std::vector<Entity>* target = Target())
            target->push_back(std::move(entity));
    }

    // Where the next entity goes; nowhere once the drawing holds as many as
    // one may.
    std::vector<Entity>* Target()
    {
        if (++added_ > kDxfMostEntities) {
            drawing.complete = false;
            return nullptr;
        }
        return inBlock_ && !blocks_.empty() ? &blocks_.back().entities : &drawing.entities;
    }

    void EndPolyline()
    {
        if (!polyline_)
            return;
        Polyline done = std::move(*polyline_);
        polyline_.reset();
        if (Hidden() || done.points.size() < 2)
            return;
        polylineEntity_.shape = std::move(done);
        if (std::vector<Entity>* target = Target())
            target->push_back(std::move(polylineEntity_));
    }

    // The AutoCAD colour index: seven named colours, then 24 hues in five
    // shades each, full and pale, then greys. Colour 7 is black on white.
    static Rgb AciColour(int index)
    {
        static const Rgb kNamed[] = {0xFF000000, 0xFFFF0000, 0xFFFFFF00, 0xFF00FF00, 0xFF00FFFF,
                                     0xFF0000FF, 0xFFFF00FF, 0xFF000000, 0xFF808080, 0xFFC0C0C0};
        if (index >= 0 && index <= 9)
            return kNamed[index];
        if (index >= 250 && index <= 255)
            return QColor::fromHsvF(0, 0, 0.2 + 0.16 * (index - 250)).rgb();
        if (index < 10 || index > 249)
            return 0xFF000000;
        constexpr double kValues[] = {1.0, 0.8, 0.6, 0.5, 0.3};
        const double hue = ((index / 10) - 1) * 15.0 / 360.0;
        const int shade = index % 10;
        return QColor::fromHsvF(hue, shade % 2 == 0 ? 1.0 : 0.5, kValues[shade / 2]).rgb();
    }

    std::string codePage_;
    bool unicode_ = false;
    std::map<std::string, int> layerColours_;
    std::vector<std::string> hiddenLayers_;
    std::map<std::string, int> blockNumbers_;
    std::vector<Block> blocks_;
    bool inBlock_ = false;
    bool skipping_ = false;
    std::optional<Polyline> polyline_;
    Entity polylineEntity_;
    std::string mtext_;
    std::size_t added_ = 0;
};

}  // namespace

std::optional<Drawing> ReadDxf(std::string_view bytes)
{
    const std::size_t head = bytes.find_first_not_of(" \t\r\n");
    if (head == std::string_view::npos || bytes.substr(head, 1) != "0" ||
        bytes.substr(0, 4096).find("SECTION") == std::string_view::npos)
        return std::nullopt;
    SanitizedDxf sanitized = SanitizeDxf(bytes);
    std::istringstream stream(std::move(sanitized.text));
    DxfAdapter adapter;
    adapter.drawing.complete = sanitized.whole;
    DL_Dxf dxf;
    try {
        dxf.in(stream, &adapter);
    } catch (...) {
        // What was read before the failure stays.
        adapter.drawing.complete = false;
    }
    adapter.Finish();
    return std::move(adapter.drawing);
}

}  // namespace preview
