#include "tools/admin/jww_writer.h"

#include <cstring>
#include <map>

#include "text/cp932.h"

namespace jww_writer {

namespace {

using Kind = JwwElement::Kind;

class Archive {
public:
    Archive(const JwwFile& file) : file_(file) {}

    void U8(std::uint32_t v) { out += static_cast<char>(v & 0xFF); }
    void U16(std::uint32_t v)
    {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void U64(std::uint64_t v)
    {
        U32(static_cast<std::uint32_t>(v));
        U32(static_cast<std::uint32_t>(v >> 32));
    }
    void Dbl(double v)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof v);
        U64(bits);
    }
    void Words(int n, std::uint32_t v = 0)
    {
        for (int i = 0; i < n; ++i)
            U32(v);
    }
    void Doubles(int n, double v = 0)
    {
        for (int i = 0; i < n; ++i)
            Dbl(v);
    }
    void Length(std::uint64_t n)
    {
        if (n < 0xFF) {
            U8(n);
        } else if (n < 0xFFFF) {
            U8(0xFF);
            U16(n);
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(static_cast<std::uint32_t>(n));
        }
    }
    // CString: CP932 bytes, or FF FE FF and UTF-16LE.
    void Str(const QString& s)
    {
        if (file_.unicode) {
            U8(0xFF);
            U16(0xFFFE);
            Length(static_cast<std::uint64_t>(s.size()));
            for (QChar c : s)
                U16(c.unicode());
        } else {
            const std::string bytes = text::ToCp932Lossy(s);
            Length(bytes.size());
            out += bytes;
        }
    }
    void Count(std::size_t n)
    {
        if (n < 0xFFFF) {
            U16(static_cast<std::uint32_t>(n));
        } else {
            U16(0xFFFF);
            U32(static_cast<std::uint32_t>(n));
        }
    }

    void List(const std::vector<JwwElement>& elements)
    {
        Count(elements.size());
        for (const JwwElement& e : elements)
            Object(e);
    }

    std::string out;

private:
    void ClassTag(const std::string& name)
    {
        const auto known = classes_.find(name);
        if (known != classes_.end()) {
            U16(0x8000 | known->second);
            return;
        }
        U16(0xFFFF);
        U16(static_cast<std::uint32_t>(file_.version));
        U16(static_cast<std::uint32_t>(name.size()));
        out += name;
        classes_[name] = next_++;
    }

    void Base(const JwwPen& pen)
    {
        U32(0);
        U8(pen.style);
        U16(pen.colour);
        if (file_.version >= 351)
            U16(1);
        U16(pen.layer);
        U16(pen.group);
        U16(0);
    }

    void Numbers(const JwwElement& e, std::size_t from, std::size_t count)
    {
        for (std::size_t i = from; i < from + count; ++i)
            Dbl(e.numbers.at(i));
    }

    void Body(const JwwElement& e)
    {
        Base(e.pen);
        switch (e.kind) {
            case Kind::Line:
                Numbers(e, 0, 4);
                break;
            case Kind::Arc:
                Numbers(e, 0, 7);
                U32(e.word);
                break;
            case Kind::Dot:
                Numbers(e, 0, 2);
                U32(e.word);
                break;
            case Kind::Text:
                Numbers(e, 0, 4);
                U32(1);  // text kind
                Numbers(e, 4, 4);
                Str(e.font);
                Str(e.text);
                break;
            case Kind::Solid:
                Numbers(e, 0, 8);
                if (e.pen.colour == 10)
                    U32(e.solidRgb);
                break;
            case Kind::Insert:
                Numbers(e, 0, 5);
                U32(e.word);
                break;
            case Kind::Dimension:
                break;  // written by Object
            case Kind::Definition:
                U32(e.word);
                U32(1);  // referred to
                if (file_.timeBytes == 8)
                    U64(1700000000);
                else
                    U32(1700000000);
                Str(e.text);
                List(e.children);
                break;
            case Kind::Unknown:
                Numbers(e, 0, e.numbers.size());
                break;
        }
    }

    void Object(const JwwElement& e)
    {
        static const std::map<Kind, std::string> kNames = {
            {Kind::Line, "CDataSen"},         {Kind::Arc, "CDataEnko"},
            {Kind::Dot, "CDataTen"},          {Kind::Text, "CDataMoji"},
            {Kind::Dimension, "CDataSunpou"}, {Kind::Solid, "CDataSolid"},
            {Kind::Insert, "CDataBlock"},     {Kind::Definition, "CDataList"},
            {Kind::Unknown, "CDataFuture"}};
        ClassTag(kNames.at(e.kind));
        ++next_;
        if (e.kind != Kind::Dimension) {
            Body(e);
            return;
        }
        // A dimension's own header comes first, then its parts, each whole.
        Base(e.pen);
        const JwwPen pen{1, 1, e.pen.layer, e.pen.group};
        const double x = e.numbers[0], y = e.numbers[1];
        Body(Line(x, y, e.numbers[2], e.numbers[3], pen));
        Body(Text(x, y + 2, e.numbers[2], e.text, 3, pen));
        if (file_.version >= 420) {
            U16(0);
            for (int i = 0; i < 2; ++i)
                Body(Line(x, y - 5, x, y, pen));
            for (int i = 0; i < 4; ++i)
                Body(Dot(x, y, true, pen));
        }
    }

    const JwwFile& file_;
    std::map<std::string, std::uint32_t> classes_;
    std::uint32_t next_ = 1;
};

}  // namespace

JwwElement Element(JwwElement::Kind kind, JwwPen pen, std::vector<double> numbers)
{
    JwwElement e;
    e.kind = kind;
    e.pen = pen;
    e.numbers = std::move(numbers);
    return e;
}

JwwElement Line(double x1, double y1, double x2, double y2, JwwPen pen)
{
    return Element(Kind::Line, pen, {x1, y1, x2, y2});
}

JwwElement Circle(double x, double y, double r, JwwPen pen)
{
    JwwElement e = Element(Kind::Arc, pen, {x, y, r, 0, 6.283185307179586, 0, 1});
    e.word = 1;
    return e;
}

JwwElement EllipticArc(double x, double y, double r, double start, double sweep, double tilt,
                       double flatness, JwwPen pen)
{
    return Element(Kind::Arc, pen, {x, y, r, start, sweep, tilt, flatness});
}

JwwElement Dot(double x, double y, bool temporary, JwwPen pen)
{
    JwwElement e = Element(Kind::Dot, pen, {x, y});
    e.word = temporary ? 1 : 0;
    return e;
}

JwwElement Text(double x, double y, double endX, const QString& text, double height, JwwPen pen)
{
    JwwElement e = Element(Kind::Text, pen, {x, y, endX, y, height * 0.8, height, 0.5, 0});
    e.font = QStringLiteral("ＭＳ ゴシック");
    e.text = text;
    return e;
}

JwwElement Dimension(double x1, double y1, double x2, double y2, const QString& value)
{
    JwwElement e = Element(Kind::Dimension, {}, {x1, y1, x2, y2});
    e.text = value;
    return e;
}

JwwElement Solid(std::array<double, 8> c, JwwPen pen, std::uint32_t rgb)
{
    JwwElement e = Element(Kind::Solid, pen, {c[0], c[1], c[6], c[7], c[2], c[3], c[4], c[5]});
    e.solidRgb = rgb;
    return e;
}

JwwElement Insert(double x, double y, int block, double scale, double angle, JwwPen pen)
{
    JwwElement e = Element(Kind::Insert, pen, {x, y, scale, scale, angle});
    e.word = static_cast<std::uint32_t>(block);
    return e;
}

JwwElement Definition(int number, const QString& name, std::vector<JwwElement> children)
{
    JwwElement e = Element(Kind::Definition, {}, {});
    e.word = static_cast<std::uint32_t>(number);
    e.text = name;
    e.children = std::move(children);
    return e;
}

JwwFile::JwwFile()
{
    groupStates.fill(2);
    for (auto& layers : layerStates)
        layers.fill(2);
    // Offices draw at 1/100 and the details at 1/50 and 1/20; the elements
    // stay in sheet millimetres whatever the scale.
    scales.fill(100);
    scales[1] = 50;
    scales[2] = 20;
    // Background white; colours 1 to 9 as a light-background screen has them.
    penColours = {0xFFFFFF, 0x000000, 0x0000FF, 0x008000, 0x00C0C0,
                  0xFF00FF, 0xFF0000, 0x008080, 0x808080, 0xC0C0C0};
}

std::string JwwFile::Bytes() const
{
    Archive a(*this);
    a.out = "JwwData.";
    a.U32(static_cast<std::uint32_t>(version));
    a.Str(memo);
    a.U32(paper);
    a.U32(0);  // layer group written to
    for (int g = 0; g < 16; ++g) {
        a.U32(groupStates[g]);
        a.U32(0);
        a.Dbl(scales[g]);
        a.U32(0);
        for (int l = 0; l < 16; ++l) {
            a.U32(layerStates[g][l]);
            a.U32(0);
        }
    }
    a.Words(14);       // dummy
    a.Words(5);        // dimension settings
    a.Words(1);        // dummy
    a.Words(1, 0);     // widest line
    a.Doubles(2);      // printing origin
    a.Doubles(1, 1);   // printing scale
    a.Words(1);        // printing rotation and reference point
    a.Words(1);        // grid mode
    a.Doubles(1);      // grid spacing shown
    a.Doubles(2, 10);  // grid spacing
    a.Doubles(2);      // grid origin
    for (int g = 0; g < 16; ++g)
        for (int l = 0; l < 16; ++l)
            a.Str(QStringLiteral("L%1-%2").arg(g).arg(l));
    for (int g = 0; g < 16; ++g)
        a.Str(groupNames[g]);
    a.Doubles(2);  // shadow: level, latitude
    a.Words(1);    // 9 to 15 o'clock
    a.Doubles(1);  // wall shadow level
    if (version >= 300)
        a.Doubles(2);  // sky map
    a.Words(1);        // 2.5D unit
    a.Doubles(3);      // screen scale and origin
    a.Doubles(3);      // remembered range
    for (int n = 1; n <= (version >= 300 ? 8 : 4); ++n) {
        a.Doubles(3);
        if (version >= 300)
            a.Words(1);
    }
    if (version >= 300) {
        a.Doubles(3);
        a.Words(1);
        a.Doubles(3);
        a.Words(1);
    }
    a.Doubles(10);  // parallel lines
    a.Doubles(1);
    for (int n = 0; n <= 9; ++n) {
        a.U32(penColours[n]);
        a.U32(1);
    }
    for (int n = 0; n <= 9; ++n) {
        a.U32(0);
        a.U32(1);
        a.Dbl(0.3);
    }
    for (int n = 2; n <= 9; ++n) {
        a.U32(n == 2 ? 0xFF00FF00 : 0xF0F0F0F0);  // dashes
        a.U32(32);
        a.U32(2);
        a.U32(2);
    }
    for (int n = 11; n <= 15; ++n)
        a.Words(5);
    for (int n = 16; n <= 19; ++n)
        a.Words(4);
    a.Words(11);  // drawing and printing switches
    a.Words(1);   // drawing time
    a.Words(1);   // 2.5D eye set
    a.Words(3);   // 2.5D angles
    a.Doubles(5);
    a.Doubles(1);  // line length
    a.Doubles(2);  // box
    a.Doubles(1);  // circle radius
    a.Words(2);    // solid colour
    if (version >= 420) {
        for (int n = 0; n <= 256; ++n) {
            a.U32(0x123456);
            a.U32(1);
        }
        for (int n = 0; n <= 256; ++n) {
            a.Str(QStringLiteral("c%1").arg(n));
            a.Words(2);
            a.Doubles(1);
        }
        for (int n = 0; n <= 32; ++n)
            a.Words(4);
        for (int n = 0; n <= 32; ++n) {
            a.Str(QString());
            a.Words(1);
            a.Doubles(10);
        }
    }
    for (int i = 1; i <= 10; ++i) {
        a.Doubles(3, 2.5);
        a.Words(1, 1);
    }
    a.Doubles(3);
    a.Words(2);
    a.Doubles(2);
    a.Words(1);
    a.Doubles(3);
    a.Doubles(3);
    a.out += extraHeader;
    a.List(elements);
    a.List(definitions);
    if (version >= 700)
        a.U32(0);  // no pictures packed
    return a.out;
}

}  // namespace jww_writer
