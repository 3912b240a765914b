#include "preview/jww_objects.h"

#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

namespace preview {

namespace {

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassFlag = 0x80000000;
constexpr std::uint16_t kClassFlag = 0x8000;
constexpr std::size_t kLongestClassName = 64;
constexpr int kAnyColour = 10;  // a solid with a colour of its own
constexpr int kMarkedDot = 100;
constexpr int kRoundSolid = 101;
constexpr int kRingSolids[] = {105, 106};
constexpr int kRimSolid = 111;
// Texts that stand for a picture placed in the drawing, not for words.
constexpr QStringView kPicturePrefix = u"^@";

}  // namespace

JwwObjectReader::JwwObjectReader(ArchiveCursor& cursor, int version,
                                 const std::map<int, Rgb>& colours, const JwwLimits& limits,
                                 const std::atomic<bool>* cancel)
    : cursor_(cursor), version_(version), colours_(colours), limits_(limits), cancel_(cancel)
{}

bool JwwObjectReader::LooksLikeListStart(ArchiveCursor cursor)
{
    const auto count = cursor.Count();
    if (!count)
        return false;
    if (*count == 0)
        return true;
    const auto tag = cursor.U16();
    const auto schema = cursor.U16();
    const auto length = cursor.U16();
    if (!tag || *tag != kNewClassTag || !schema || !length || *length > kLongestClassName)
        return false;
    const auto name = cursor.Bytes(*length);
    return name && name->starts_with("CData");
}

bool JwwObjectReader::Stopped() const
{
    return entities_ >= limits_.entities || (cancel_ && cancel_->load(std::memory_order_relaxed));
}

bool JwwObjectReader::ReadElements(std::vector<Entity>& out)
{
    return ReadList(out, &strayBlocks_, 0);
}

bool JwwObjectReader::ReadBlocks(std::vector<Block>& out)
{
    std::vector<Entity> strayElements;
    const bool read = ReadList(strayElements, &out, 0);
    for (Block& block : strayBlocks_)
        out.push_back(std::move(block));
    strayBlocks_.clear();
    return read;
}

bool JwwObjectReader::ReadList(std::vector<Entity>& out, std::vector<Block>* blocks, int depth)
{
    const auto count = cursor_.Count();
    if (!count)
        return false;
    // Each object takes at least its two-byte tag, so a count larger than the
    // file ends at the file's end.
    for (std::uint32_t i = 0; i < *count; ++i) {
        if (Stopped() || ReadObject(out, blocks, depth) == Read::Failed)
            return false;
    }
    return true;
}

JwwObjectReader::Kind JwwObjectReader::KindOf(std::string_view name)
{
    static const std::pair<std::string_view, Kind> kKinds[] = {
        {"CDataSen", Kind::Line},         {"CDataEnko", Kind::Arc},
        {"CDataTen", Kind::Dot},          {"CDataMoji", Kind::Text},
        {"CDataSunpou", Kind::Dimension}, {"CDataSolid", Kind::Solid},
        {"CDataBlock", Kind::Insert},     {"CDataList", Kind::BlockDefinition}};
    for (const auto& [known, kind] : kKinds)
        if (name == known)
            return kind;
    return Kind::Unknown;
}

JwwObjectReader::Read JwwObjectReader::ReadObject(std::vector<Entity>& out,
                                                  std::vector<Block>* blocks, int depth)
{
    const auto tag = cursor_.U16();
    if (!tag)
        return Read::Failed;
    if (*tag == 0)
        return Read::Nothing;
    Kind kind = Kind::Unknown;
    if (*tag == kNewClassTag) {
        const auto schema = cursor_.U16();
        const auto length = cursor_.U16();
        if (!schema || !length || *length > kLongestClassName)
            return Read::Failed;
        const auto name = cursor_.Bytes(*length);
        if (!name)
            return Read::Failed;
        kind = KindOf(*name);
        map_.push_back(kind);
    } else {
        std::uint32_t index = *tag & ~kClassFlag;
        bool isClass = (*tag & kClassFlag) != 0;
        if (*tag == kBigObjectTag) {
            const auto big = cursor_.U32();
            if (!big)
                return Read::Failed;
            isClass = (*big & kBigClassFlag) != 0;
            index = *big & ~kBigClassFlag;
        }
        if (index == 0 || index >= map_.size())
            return Read::Failed;
        // A second mention of an object already read adds nothing.
        if (!isClass)
            return map_[index] == Kind::Object ? Read::Nothing : Read::Failed;
        kind = map_[index];
        if (kind == Kind::Object)
            return Read::Failed;
    }
    // An unknown class's members cannot be told apart from what follows them.
    if (kind == Kind::Unknown)
        return Read::Failed;
    map_.push_back(Kind::Object);

    if (kind == Kind::BlockDefinition)
        return ReadDefinition(blocks, depth) ? Read::Element : Read::Failed;
    if (kind == Kind::Dimension)
        return ReadDimension(out) ? Read::Element : Read::Failed;
    const auto base = ReadBase();
    if (!base)
        return Read::Failed;
    bool read = false;
    switch (kind) {
        case Kind::Line:
            read = ReadLine(*base, out);
            break;
        case Kind::Arc:
            read = ReadArc(*base, out);
            break;
        case Kind::Dot:
            read = ReadDot(*base, out);
            break;
        case Kind::Text:
            read = ReadText(*base, out);
            break;
        case Kind::Solid:
            read = ReadSolid(*base, out);
            break;
        case Kind::Insert:
            read = ReadInsert(*base, out);
            break;
        default:
            break;
    }
    return read ? Read::Element : Read::Failed;
}

std::optional<JwwObjectReader::Base> JwwObjectReader::ReadBase()
{
    const bool width = version_ >= 351;
    const auto curve = cursor_.U32();
    const auto style = cursor_.U8();
    const auto colour = cursor_.U16();
    if (!curve || !style || !colour || (width && !cursor_.U16()))
        return std::nullopt;
    const auto layer = cursor_.U16();
    const auto group = cursor_.U16();
    const auto flags = cursor_.U16();
    if (!layer || !group || !flags)
        return std::nullopt;
    return Base{*style, *colour, *layer % 16, *group % 16};
}

Entity JwwObjectReader::Make(const Base& base) const
{
    Entity entity;
    entity.group = base.group;
    entity.layer = base.layer;
    entity.penColour = base.penColour;
    entity.penStyle = base.penStyle;
    const auto found = colours_.find(base.penColour);
    if (found != colours_.end())
        entity.colour = found->second;
    return entity;
}

void JwwObjectReader::Add(std::vector<Entity>& out, Entity entity)
{
    out.push_back(std::move(entity));
    ++entities_;
}

bool JwwObjectReader::ReadLine(const Base& base, std::vector<Entity>& out)
{
    const auto x1 = cursor_.Double(), y1 = cursor_.Double();
    const auto x2 = cursor_.Double(), y2 = cursor_.Double();
    if (!x1 || !y1 || !x2 || !y2)
        return false;
    Entity entity = Make(base);
    entity.shape = Line{{*x1, *y1}, {*x2, *y2}};
    Add(out, std::move(entity));
    return true;
}

bool JwwObjectReader::ReadArc(const Base& base, std::vector<Entity>& out)
{
    const auto x = cursor_.Double(), y = cursor_.Double(), radius = cursor_.Double();
    const auto start = cursor_.Double(), sweep = cursor_.Double(), tilt = cursor_.Double();
    const auto flatness = cursor_.Double();
    const auto full = cursor_.U32();
    if (!x || !y || !radius || !start || !sweep || !tilt || !flatness || !full)
        return false;
    Arc arc{{*x, *y}, std::abs(*radius), *start, *sweep, *tilt, *flatness, *full != 0};
    if (arc.full) {
        arc.start = 0;
        arc.sweep = 2 * std::numbers::pi;
    }
    Entity entity = Make(base);
    entity.shape = arc;
    Add(out, std::move(entity));
    return true;
}

bool JwwObjectReader::ReadDot(const Base& base, std::vector<Entity>& out)
{
    const auto x = cursor_.Double(), y = cursor_.Double();
    const auto temporary = cursor_.U32();
    if (!x || !y || !temporary)
        return false;
    if (base.penStyle == kMarkedDot && !cursor_.Skip(4 + 8 + 8))  // marker code, angle, scale
        return false;
    Entity entity = Make(base);
    entity.shape = Dot{{*x, *y}, *temporary != 0};
    Add(out, std::move(entity));
    return true;
}

bool JwwObjectReader::ReadText(const Base& base, std::vector<Entity>& out)
{
    const auto x1 = cursor_.Double(), y1 = cursor_.Double();
    const auto x2 = cursor_.Double(), y2 = cursor_.Double();
    const auto kind = cursor_.U32();
    const auto width = cursor_.Double(), height = cursor_.Double();
    const auto spacing = cursor_.Double(), angle = cursor_.Double();
    if (!x1 || !y1 || !x2 || !y2 || !kind || !width || !height || !spacing || !angle)
        return false;
    const auto font = cursor_.String();
    if (!font)
        return false;
    const auto words = cursor_.String();
    if (!words)
        return false;
    if (words->startsWith(kPicturePrefix))
        return true;
    Entity entity = Make(base);
    entity.shape =
        Text{{*x1, *y1}, {*x2, *y2}, std::abs(*width), std::abs(*height), *spacing, *angle,
             *font,      *words};
    Add(out, std::move(entity));
    return true;
}

// A dimension is its line and its value text, and since 4.20 its extension
// lines and the points at their ends, each written whole with its own header.
bool JwwObjectReader::ReadDimension(std::vector<Entity>& out)
{
    if (!ReadBase())
        return false;
    auto part = [this, &out](bool (JwwObjectReader::*read)(const Base&, std::vector<Entity>&)) {
        const auto base = ReadBase();
        return base && (this->*read)(*base, out);
    };
    if (!part(&JwwObjectReader::ReadLine) || !part(&JwwObjectReader::ReadText))
        return false;
    if (version_ < 420)
        return true;
    if (!cursor_.U16())
        return false;
    return part(&JwwObjectReader::ReadLine) && part(&JwwObjectReader::ReadLine) &&
           part(&JwwObjectReader::ReadDot) && part(&JwwObjectReader::ReadDot) &&
           part(&JwwObjectReader::ReadDot) && part(&JwwObjectReader::ReadDot);
}

bool JwwObjectReader::ReadSolid(const Base& base, std::vector<Entity>& out)
{
    std::array<double, 8> v{};
    for (double& value : v) {
        const auto read = cursor_.Double();
        if (!read)
            return false;
        value = *read;
    }
    Entity entity = Make(base);
    if (base.penColour == kAnyColour) {
        const auto rgb = cursor_.U32();
        if (!rgb)
            return false;
        entity.colour = FromColorref(*rgb);
    }
    // Written as the first point, the fourth, the second and the third.
    const QPointF p1(v[0], v[1]), p4(v[2], v[3]), p2(v[4], v[5]), p3(v[6], v[7]);
    Solid solid;
    solid.corners = {p1, p2, p3, p4};
    if (base.penStyle >= kRoundSolid) {
        // The same fields hold an ellipse: centre, radius and flatness, tilt
        // and start, sweep and what part of it is filled.
        solid.arc = Arc{p1, std::abs(p4.x()), p2.y(), p3.x(), p2.x(), p4.y(), false};
        const double part = p3.y();
        if (base.penStyle == kRingSolids[0] || base.penStyle == kRingSolids[1]) {
            solid.shape = Solid::Shape::Ring;
            solid.innerRadius = std::abs(part);
        } else if (base.penStyle == kRimSolid || part < 0 || part == 5) {
            solid.shape = Solid::Shape::Segment;
        } else if (part == 100) {
            solid.shape = Solid::Shape::Ellipse;
        } else {
            solid.shape = Solid::Shape::Sector;
        }
    }
    entity.shape = solid;
    Add(out, std::move(entity));
    return true;
}

bool JwwObjectReader::ReadInsert(const Base& base, std::vector<Entity>& out)
{
    const auto x = cursor_.Double(), y = cursor_.Double();
    const auto sx = cursor_.Double(), sy = cursor_.Double(), angle = cursor_.Double();
    const auto number = cursor_.U32();
    if (!x || !y || !sx || !sy || !angle || !number)
        return false;
    Entity entity = Make(base);
    entity.shape = Insert{{*x, *y}, *sx, *sy, *angle, static_cast<int>(*number)};
    Add(out, std::move(entity));
    return true;
}

// The definition's time was written in 32 bits by older builds of the drawing
// program and in 64 by newer ones, with nothing in the file to tell which. A
// 64-bit time of this era has its upper half zero, where a 32-bit one is
// followed by the name's length and first bytes: that reading is tried
// first, the other when it does not hold.
bool JwwObjectReader::ReadDefinition(std::vector<Block>* blocks, int depth)
{
    if (depth >= limits_.blockDepth || !ReadBase())
        return false;
    const std::size_t start = cursor_.position();
    const std::size_t mapped = map_.size();
    const std::size_t counted = entities_;
    auto restart = [&] {
        cursor_.Seek(start);
        map_.resize(mapped);
        entities_ = counted;
    };
    cursor_.Skip(8);
    const auto time = cursor_.U64();
    const std::size_t likelier = time && *time >> 32 == 0 ? 8 : 4;
    for (std::size_t width : {likelier, 12 - likelier}) {
        restart();
        Block block;
        if (ReadDefinitionBody(width, block, blocks, depth)) {
            if (blocks)
                blocks->push_back(std::move(block));
            return true;
        }
        if (Stopped())
            break;
    }
    // Neither holds to the end: keep what the likelier one reads.
    restart();
    Block block;
    ReadDefinitionBody(likelier, block, blocks, depth);
    if (blocks)
        blocks->push_back(std::move(block));
    return false;
}

bool JwwObjectReader::ReadDefinitionBody(std::size_t timeBytes, Block& block,
                                         std::vector<Block>* blocks, int depth)
{
    const auto number = cursor_.U32();
    const auto referred = cursor_.U32();
    if (!number || !referred || !cursor_.Skip(timeBytes))
        return false;
    const auto name = cursor_.String();
    if (!name)
        return false;
    block.number = static_cast<int>(*number);
    // Newer files append a kind after a marker; the name is what comes before.
    block.name = name->section(QStringLiteral("@@SfigorgFlag@@"), 0, 0);
    return ReadList(block.entities, blocks, depth + 1);
}

}  // namespace preview
