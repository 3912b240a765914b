#include "tools/admin/demo_drawings.h"

#include <QString>

#include "text/cp932.h"
#include "tools/admin/jww_writer.h"

namespace seed {

namespace {

using jww_writer::Circle;
using jww_writer::JwwElement;
using jww_writer::JwwPen;
using jww_writer::Line;
using jww_writer::Text;

// A3 landscape, centred on the origin, in sheet millimetres.
constexpr double kHalfWidth = 200;
constexpr double kHalfHeight = 138.5;
constexpr JwwPen kThin{1, 1, 0, 0};
constexpr JwwPen kWall{1, 2, 1, 0};
constexpr JwwPen kCentre{2, 6, 2, 0};
constexpr JwwPen kNote{1, 3, 3, 0};

QString Q(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

class Sheet {
public:
    void Box(double x1, double y1, double x2, double y2, JwwPen pen = kThin)
    {
        Add(Line(x1, y1, x2, y1, pen));
        Add(Line(x2, y1, x2, y2, pen));
        Add(Line(x2, y2, x1, y2, pen));
        Add(Line(x1, y2, x1, y1, pen));
    }
    void Add(JwwElement element) { elements.push_back(std::move(element)); }
    void Write(double x, double y, const QString& text, double height, JwwPen pen = kThin)
    {
        Add(Text(x, y, x + height * text.size(), text, height, pen));
    }

    std::vector<JwwElement> elements;
};

void Border(Sheet& s, const SheetTitle& t)
{
    s.Box(-kHalfWidth, -kHalfHeight, kHalfWidth, kHalfHeight);
    const double left = kHalfWidth - 120;
    const double top = -kHalfHeight + 36;
    s.Box(left, -kHalfHeight, kHalfWidth, top);
    s.Add(Line(left, top - 18, kHalfWidth, top - 18, kThin));
    s.Add(Line(left + 40, -kHalfHeight, left + 40, top - 18, kThin));
    s.Write(left + 4, top - 13, Q(t.title), 7);
    s.Write(left + 4, -kHalfHeight + 6, Q(t.number), 5);
    s.Write(left + 44, -kHalfHeight + 6, Q(t.scale), 5);
}

// Rooms on a column grid: plans, framing plans and the services drawn on them.
void Plan(Sheet& s, int bays, int spans, bool services)
{
    const double width = 250, depth = 160;
    const double x0 = -kHalfWidth + 30, y0 = -kHalfHeight + 60;
    const double bay = width / bays, span = depth / spans;
    for (int i = 0; i <= bays; ++i)
        s.Add(Line(x0 + i * bay, y0 - 12, x0 + i * bay, y0 + depth + 12, kCentre));
    for (int j = 0; j <= spans; ++j)
        s.Add(Line(x0 - 12, y0 + j * span, x0 + width + 12, y0 + j * span, kCentre));
    s.Box(x0, y0, x0 + width, y0 + depth, kWall);
    for (int i = 1; i < bays; i += 2)
        s.Add(Line(x0 + i * bay, y0, x0 + i * bay, y0 + depth, kWall));
    s.Add(Line(x0, y0 + span, x0 + width, y0 + span, kWall));
    for (int i = 0; i <= bays; ++i)
        for (int j = 0; j <= spans; ++j)
            s.Add(Circle(x0 + i * bay, y0 + j * span, 2.5, kWall));
    s.Add(Line(x0, y0 + depth + 20, x0 + width, y0 + depth + 20, kThin));
    s.Write(x0 + width / 2 - 10, y0 + depth + 22, QStringLiteral("25000"), 4);
    if (services)
        for (int i = 0; i < bays; ++i)
            s.Add(Circle(x0 + (i + 0.5) * bay, y0 + depth - span / 2, 4, kNote));
}

// A building seen from the side: elevations, sections and the frame.
void Elevation(Sheet& s, int storeys)
{
    const double x0 = -150, x1 = 100, ground = -60, storey = 45;
    const double eaves = ground + storeys * storey;
    s.Add(Line(-kHalfWidth + 15, ground, kHalfWidth - 15, ground, kWall));
    s.Box(x0, ground, x1, eaves, kWall);
    s.Add(Line(x0 - 10, eaves, (x0 + x1) / 2, eaves + 50, kWall));
    s.Add(Line((x0 + x1) / 2, eaves + 50, x1 + 10, eaves, kWall));
    for (int f = 0; f < storeys; ++f)
        for (int w = 0; w < 5; ++w) {
            const double x = x0 + 15 + w * 48, y = ground + f * storey + 15;
            s.Box(x, y, x + 28, y + 20, kThin);
        }
    for (int f = 1; f < storeys; ++f)
        s.Add(Line(x0 - 20, ground + f * storey, x1 + 20, ground + f * storey, kCentre));
}

// A site with its boundary, the building and trees.
void Site(Sheet& s, int trees)
{
    s.Box(-170, -90, 60, 110, kCentre);
    s.Box(-120, -30, 10, 70, kWall);
    for (int i = 0; i < trees; ++i)
        s.Add(Circle(-155 + (i % 6) * 40, i < 6 ? -75 : 95, 7, kNote));
    s.Add(Line(-170, -110, 60, -110, kThin));
    s.Write(-60, -125, QStringLiteral("道路"), 5);
}

// Tables and written notes: schedules, member lists, the general notes sheet.
void Schedule(Sheet& s, int rows)
{
    const double x0 = -kHalfWidth + 15, x1 = 60, top = kHalfHeight - 15;
    const double row = 200.0 / rows;
    for (int r = 0; r <= rows; ++r)
        s.Add(Line(x0, top - r * row, x1, top - r * row, kThin));
    for (double x : {x0, x0 + 30, x0 + 120, x1})
        s.Add(Line(x, top, x, top - rows * row, kThin));
    for (int r = 0; r < rows; ++r)
        s.Write(x0 + 3, top - (r + 1) * row + 2, QString::number(r + 1), 3);
}

bool Has(std::string_view title, std::string_view word)
{
    return title.find(word) != std::string_view::npos;
}

}  // namespace

std::string JwwFileBytes(std::string_view memo, const SheetTitle& title)
{
    Sheet sheet;
    Border(sheet, title);
    const std::string_view t = title.title;
    if (Has(t, "立面") || Has(t, "断面") || Has(t, "矩計") || Has(t, "軸組") || Has(t, "展開"))
        Elevation(sheet, Has(t, "矩計") ? 1 : 2);
    else if (Has(t, "配置") || Has(t, "外構") || Has(t, "植栽"))
        Site(sheet, Has(t, "植栽") ? 12 : 6);
    else if (Has(t, "表") || Has(t, "リスト") || Has(t, "仕様"))
        Schedule(sheet, Has(t, "仕様") ? 24 : 12);
    else if (!t.empty())
        Plan(sheet, Has(t, "詳細") ? 4 : 6, Has(t, "伏") ? 3 : 2, Has(t, "設備"));

    jww_writer::JwwFile file;
    file.memo = text::FromCp932(memo);
    // "S=1/100" sets the scale of every layer group; the sheet stays the same.
    const QString scale = Q(title.scale);
    const qsizetype slash = scale.lastIndexOf(u'/');
    bool read = false;
    const double denominator = slash < 0 ? 0 : scale.mid(slash + 1).toDouble(&read);
    if (read && denominator > 0)
        file.scales.fill(denominator);
    file.elements = std::move(sheet.elements);
    return file.Bytes();
}

}  // namespace seed
