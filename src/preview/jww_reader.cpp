#include "preview/jww_reader.h"

#include <algorithm>
#include <cmath>

#include "preview/archive_cursor.h"
#include "preview/jww_objects.h"

namespace preview {

namespace {

constexpr std::string_view kDrawingMagic = "JwwData.";
constexpr std::string_view kFigureMagic = "JwsData.";
constexpr int kBasicColours = 10;
constexpr int kExtendedColours = 257;
constexpr int kExtendedColourBase = 100;
constexpr int kExtendedStyles = 33;
constexpr int kExtendedStyleBase = 30;
// A screen dot of a line type's pattern, as sheet millimetres.
constexpr double kPatternDot = 0.25;

// Sheet sizes by the header's paper number, landscape, in millimetres.
QSizeF PaperSize(std::uint32_t code)
{
    static const std::pair<std::uint32_t, QSizeF> kSizes[] = {
        {0, {1189, 841}},   {1, {841, 594}},     {2, {594, 420}},      {3, {420, 297}},
        {4, {297, 210}},    {8, {1682, 1189}},   {9, {2378, 1682}},    {10, {3364, 2378}},
        {11, {4756, 3364}}, {12, {10000, 7071}}, {13, {50000, 35355}}, {14, {100000, 70711}}};
    for (const auto& [number, size] : kSizes)
        if (number == code)
            return size;
    return {};
}

// Printing widths are hundredths of a millimetre; kept to what a pen can draw.
double PrintWidth(std::uint32_t hundredths)
{
    return std::clamp(hundredths / 100.0, 0.05, 2.0);
}

// Pen colours for files that carry none (figure files): 1 to 9 as a white
// screen shows them, then the SXF standard colours from 101 on.
void DefaultColours(std::map<int, Rgb>& colours)
{
    static const Rgb kPens[] = {0xFFFFFFFF, 0xFF00A0A0, 0xFF000000, 0xFF008000, 0xFFB0A000,
                                0xFFFF00FF, 0xFF0000FF, 0xFF000000, 0xFFFF0000, 0xFF808080};
    static const Rgb kSxf[] = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                               0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
                               0xFFC00080, 0xFFC08040, 0xFFFF8000, 0xFF80C080,
                               0xFF0080FF, 0xFF8040FF, 0xFFC0C0C0, 0xFF808080};
    for (int n = 0; n < kBasicColours; ++n)
        colours[n] = kPens[n];
    for (int n = 0; n < 16; ++n)
        colours[kExtendedColourBase + 1 + n] = kSxf[n];
}

// A 32-bit on/off pattern, its first `bits` bits used from the top, as
// alternating dash and gap lengths.
std::vector<double> DashesOf(std::uint32_t pattern, std::uint32_t bits, std::uint32_t pitch)
{
    bits = bits == 0 || bits > 32 ? 32 : bits;
    const double dot = kPatternDot * std::clamp<std::uint32_t>(pitch, 1, 16);
    std::vector<double> dashes;
    bool on = true;
    double run = 0;
    for (std::uint32_t i = 0; i < bits; ++i) {
        const bool bit = (pattern >> (31 - i) & 1) != 0;
        if (bit != on) {
            dashes.push_back(run);
            run = 0;
            on = bit;
        }
        run += dot;
    }
    dashes.push_back(run);
    if (dashes.size() % 2 != 0)
        dashes.push_back(0);
    // All on or all off draws as a plain line.
    if (dashes.size() <= 2 ||
        std::all_of(dashes.begin() + 1, dashes.end(), [](double d) { return d == 0; }))
        return {};
    return dashes;
}

// The document header in the order the format description gives it. Reading
// stops at the first field that is not there; `ok` then stays false.
class HeaderReader {
public:
    HeaderReader(ArchiveCursor& cursor, Drawing& drawing, std::map<int, Rgb>& colours)
        : c_(cursor), d_(drawing), colours_(colours)
    {}

    bool Read()
    {
        const auto version = c_.U32();
        if (!version)
            return false;
        d_.version = static_cast<int>(*version);
        const int v = d_.version;
        d_.memo = Str();
        const QSizeF paper = PaperSize(U32());
        if (!paper.isEmpty())
            d_.paper =
                QRectF(-paper.width() / 2, -paper.height() / 2, paper.width(), paper.height());
        d_.groupInUse = static_cast<int>(U32() % 16);
        for (LayerGroup& group : d_.groups) {
            group.state = static_cast<int>(U32());
            U32();  // its layer written to
            const double scale = Dbl();
            group.scale = scale > 0 && std::isfinite(scale) ? scale : 1;
            U32();  // protection
            for (Layer& layer : group.layers) {
                layer.state = static_cast<int>(U32());
                U32();
            }
        }
        Words(14);  // unused
        Words(5);   // dimension settings
        Words(2);   // unused, widest line
        Doubles(3);
        Words(2);
        Doubles(5);  // printing origin and scale, grid
        for (LayerGroup& group : d_.groups)
            for (Layer& layer : group.layers)
                layer.name = Str();
        for (LayerGroup& group : d_.groups)
            group.name = Str();
        Doubles(2);  // shadow studies
        Words(1);
        Doubles(1);
        if (v >= 300)
            Doubles(2);  // sky map
        Words(1);
        Doubles(6);  // the view when saved, and the remembered range
        for (int jump = 0; jump < (v >= 300 ? 8 : 4); ++jump) {
            Doubles(3);
            if (v >= 300)
                Words(1);
        }
        if (v >= 300) {
            Doubles(3);
            Words(1);
            Doubles(3);
            Words(1);
        }
        Doubles(11);  // parallel line distances
        for (int n = 0; n < kBasicColours; ++n) {
            colours_[n] = FromColorref(U32());
            U32();  // width on screen
        }
        for (int n = 0; n < kBasicColours; ++n) {
            U32();  // printing colour
            const std::uint32_t width = U32();
            Doubles(1);
            if (ok_ && n > 0 && width > 0)
                d_.printWidths[n] = PrintWidth(width);
        }
        for (int n = 2; n <= 9; ++n)
            LineType(n, 4);
        for (int n = 11; n <= 15; ++n)
            Words(5);  // random lines draw plain
        for (int n = 16; n <= 19; ++n)
            LineType(n, 4);
        Words(11 + 1 + 1 + 3);  // drawing and printing switches, drawing time, 2.5D views
        Doubles(5 + 1 + 2 + 1);
        Words(2);  // solids in a colour of their own
        if (v >= 420) {
            for (int n = 0; n < kExtendedColours; ++n) {
                colours_[kExtendedColourBase + n] = FromColorref(U32());
                U32();
            }
            for (int n = 0; n < kExtendedColours; ++n) {
                Str();
                U32();
                const std::uint32_t width = U32();
                Doubles(1);
                if (ok_ && width > 0)
                    d_.printWidths[kExtendedColourBase + n] = PrintWidth(width);
            }
            for (int n = 0; n < kExtendedStyles; ++n)
                LineType(kExtendedStyleBase + n, 4);
            for (int n = 0; n < kExtendedStyles; ++n) {
                Str();
                Words(1);
                Doubles(10);
            }
        }
        for (int n = 1; n <= 10; ++n) {  // text kinds
            Doubles(3);
            Words(1);
        }
        Doubles(3);
        Words(2);
        Doubles(2);
        Words(1);
        Doubles(6);
        return ok_;
    }

private:
    std::uint32_t U32()
    {
        const auto v = ok_ ? c_.U32() : std::nullopt;
        ok_ = ok_ && v;
        return v.value_or(0);
    }
    double Dbl()
    {
        const auto v = ok_ ? c_.Double() : std::nullopt;
        ok_ = ok_ && v;
        return v.value_or(0);
    }
    QString Str()
    {
        auto v = ok_ ? c_.String() : std::nullopt;
        ok_ = ok_ && v;
        return v.value_or(QString());
    }
    void Words(int count) { ok_ = ok_ && c_.Skip(4 * static_cast<std::size_t>(count)); }
    void Doubles(int count) { ok_ = ok_ && c_.Skip(8 * static_cast<std::size_t>(count)); }
    // Pattern, dots per unit, pitch on screen and on paper.
    void LineType(int style, int fields)
    {
        const std::uint32_t pattern = U32();
        const std::uint32_t bits = U32();
        const std::uint32_t pitch = U32();
        Words(fields - 3);
        if (ok_) {
            std::vector<double> dashes = DashesOf(pattern, bits, pitch);
            if (dashes.empty())
                d_.dashes.erase(style);
            else
                d_.dashes[style] = std::move(dashes);
        }
    }

    ArchiveCursor& c_;
    Drawing& d_;
    std::map<int, Rgb>& colours_;
    bool ok_ = true;
};

// Line types for files that carry none, in sheet millimetres: dotted 1 to 3,
// chain 1 and 2, double chain 1 and 2, the auxiliary line; then the same at
// twice the pitch.
void DefaultDashes(Drawing& drawing)
{
    drawing.dashes = {{2, {1.5, 1.0}},
                      {3, {3.0, 1.0}},
                      {4, {0.5, 0.5}},
                      {5, {6.0, 1.0, 0.5, 1.0}},
                      {6, {12.0, 1.5, 1.0, 1.5}},
                      {7, {6.0, 1.0, 0.5, 1.0, 0.5, 1.0}},
                      {8, {12.0, 1.5, 1.0, 1.5, 1.0, 1.5}},
                      {9, {0.5, 0.5}}};
    for (const auto& [twice, style] : {std::pair{16, 5}, {17, 7}, {18, 2}, {19, 4}}) {
        std::vector<double> dashes = drawing.dashes[style];
        for (double& d : dashes)
            d *= 2;
        drawing.dashes[twice] = std::move(dashes);
    }
}

// A figure file keeps only a few settings. Jw_cad pads the name to 200
// bytes with dots, then writes the version, the figure's base point and the
// scales of the layer groups; other writers put the version right after the
// name. What follows is not described: the element list is found by its start.
void ReadFigureSettings(std::string_view bytes, ArchiveCursor& cursor, Drawing& drawing)
{
    constexpr std::size_t kPadded = 200;
    const bool padded =
        bytes.size() > kPadded &&
        bytes.substr(kFigureMagic.size(), kPadded - kFigureMagic.size()).find_first_not_of('.') ==
            std::string_view::npos;
    if (padded)
        cursor.Seek(kPadded);
    const auto version = cursor.U32();
    drawing.version = version ? static_cast<int>(*version) : 0;
    if (!padded || !cursor.Skip(16))
        return;
    for (LayerGroup& group : drawing.groups) {
        const auto scale = cursor.Double();
        if (!scale)
            return;
        group.scale = *scale > 0 && std::isfinite(*scale) ? *scale : 1;
    }
}

// The first place from `from` where an element list plausibly starts: a
// count, then the new-class tag, schema and length before a class name, which
// begins 8 bytes in (12 when the count is a long one).
std::optional<std::size_t> FindListStart(std::string_view bytes, std::size_t from)
{
    for (std::size_t at = bytes.find("CData", from); at != std::string_view::npos;
         at = bytes.find("CData", at + 1)) {
        for (std::size_t back : {std::size_t{8}, std::size_t{12}}) {
            if (at < from + back)
                continue;
            ArchiveCursor cursor(bytes);
            cursor.Seek(at - back);
            ArchiveCursor probe = cursor;
            const auto count = probe.Count();
            if (count && *count > 0 && probe.position() + 6 == at &&
                JwwObjectReader::LooksLikeListStart(cursor))
                return at - back;
        }
    }
    return std::nullopt;
}

}  // namespace

Rgb FromColorref(std::uint32_t colorref)
{
    return 0xFF000000u | (colorref & 0xFF) << 16 | (colorref & 0xFF00) | (colorref >> 16 & 0xFF);
}

bool LooksLikeJwCad(std::string_view bytes)
{
    return bytes.starts_with(kDrawingMagic) || bytes.starts_with(kFigureMagic);
}

std::optional<Drawing> ReadJwCad(std::string_view bytes, const std::atomic<bool>* cancel,
                                 const JwwLimits& limits)
{
    if (!LooksLikeJwCad(bytes))
        return std::nullopt;
    Drawing drawing;
    std::map<int, Rgb> colours;
    ArchiveCursor cursor(bytes);
    cursor.Skip(kDrawingMagic.size());
    const bool figure = bytes.starts_with(kFigureMagic);
    DefaultColours(colours);
    DefaultDashes(drawing);
    const std::size_t settingsEnd = [&] {
        if (figure) {
            ReadFigureSettings(bytes, cursor, drawing);
            return std::size_t{0};
        }
        const bool read = HeaderReader(cursor, drawing, colours).Read();
        if (read)
            drawing.background = colours[0];
        return read ? cursor.position() : std::size_t{0};
    }();
    // Settings that were not read, or read to a place where no list starts,
    // leave the list to be found by its first class name.
    if (settingsEnd == 0 || !JwwObjectReader::LooksLikeListStart(cursor)) {
        const auto start = FindListStart(bytes, kDrawingMagic.size() + 4);
        if (!start) {
            drawing.complete = false;
            return drawing;
        }
        cursor.Seek(*start);
    }
    JwwObjectReader objects(cursor, drawing.version, colours, limits, cancel);
    drawing.complete = objects.ReadElements(drawing.entities) && objects.ReadBlocks(drawing.blocks);
    std::stable_sort(drawing.blocks.begin(), drawing.blocks.end(),
                     [](const Block& a, const Block& b) { return a.number < b.number; });
    return drawing;
}

}  // namespace preview
