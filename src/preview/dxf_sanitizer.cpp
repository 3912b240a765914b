#include "preview/dxf_sanitizer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

namespace preview {

namespace {

constexpr int kLargestGroupCode = 1071;
constexpr std::size_t kLongestValue = 1000;  // dxflib reads lines of up to 1024 bytes
// Entities, blocks and table entries given to dxflib at the most.
constexpr std::size_t kMostObjects = kDxfMostEntities + 50'000;

struct Group {
    int code = 0;
    std::string_view value;
};

// The groups of a file one after the other, up to the first that is not well
// formed: a code of the DXF range on one line, a value of the length dxflib
// reads on the next.
class GroupReader {
public:
    explicit GroupReader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<Group> Next()
    {
        if (stopped_)
            return std::nullopt;
        const auto code = NextLine();
        const auto value = code ? NextLine() : std::nullopt;
        int number = -1;
        const auto parsed = code
                                ? std::from_chars(code->data(), code->data() + code->size(), number)
                                : std::from_chars_result{};
        if (!code || !value || value->size() > kLongestValue || parsed.ec != std::errc() ||
            parsed.ptr != code->data() + code->size() || number < 0 || number > kLargestGroupCode) {
            stopped_ = true;
            whole_ = !code || ended_;
            return std::nullopt;
        }
        ended_ = number == 0 && *value == "EOF";  // what follows the end mark does not count
        return Group{number, *value};
    }

    // Whether reading stopped at the end of the file rather than at damage.
    bool whole() const { return whole_; }

private:
    std::optional<std::string_view> NextLine()
    {
        if (at_ >= bytes_.size())
            return std::nullopt;
        const std::size_t end = std::min(bytes_.find('\n', at_), bytes_.size());
        std::string_view line = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        return line;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    bool stopped_ = false;
    bool ended_ = false;
    bool whole_ = false;
};

// The counts dxflib sizes its arrays by: the group that starts each value
// counted, and the groups that belong to that value.
struct CountRule {
    std::string_view entity;
    int countCode;
    int valueCode;
    std::array<int, 6> members;  // the value's own code included; 0 fills
};
constexpr CountRule kCountRules[] = {
    {"LWPOLYLINE", 90, 10, {10, 20, 30, 40, 41, 42}},
    {"SPLINE", 72, 40, {40}},
    {"SPLINE", 73, 10, {10, 20, 30, 41}},
    {"SPLINE", 74, 11, {11, 21, 31}},
    {"LEADER", 76, 10, {10, 20, 30}},
};
constexpr std::size_t kRules = std::size(kCountRules);
// Values kept of one count: what an entity may make dxflib allocate.
constexpr int kLargestCount = 100'000;

bool IsCounted(std::string_view entity)
{
    return std::any_of(std::begin(kCountRules), std::end(kCountRules),
                       [&](const CountRule& r) { return r.entity == entity; });
}

bool IsMember(const CountRule& rule, int code)
{
    return code != 0 &&
           std::find(rule.members.begin(), rule.members.end(), code) != rule.members.end();
}

}  // namespace

SanitizedDxf SanitizeDxf(std::string_view bytes)
{
    using Tally = std::array<int, kRules>;
    // First the values each counted entity holds, as many as are kept.
    std::vector<Tally> tallies;
    {
        GroupReader reader(bytes);
        std::string_view entity;
        Tally tally{};
        std::size_t objects = 0;
        while (const auto group = reader.Next()) {
            if (group->code == 0) {
                if (++objects > kMostObjects)
                    break;
                if (IsCounted(entity))
                    tallies.push_back(tally);
                entity = group->value;
                tally = {};
                continue;
            }
            for (std::size_t r = 0; r < kRules; ++r)
                if (kCountRules[r].entity == entity && kCountRules[r].valueCode == group->code &&
                    tally[r] < kLargestCount)
                    ++tally[r];
        }
        if (IsCounted(entity))
            tallies.push_back(tally);
    }

    SanitizedDxf sanitized;
    std::string& out = sanitized.text;
    out.reserve(bytes.size() + 64);
    auto put = [&out](int code, std::string_view value) {
        out += std::to_string(code);
        out += '\n';
        out += value;
        out += '\n';
    };
    GroupReader reader(bytes);
    std::string_view entity;
    std::size_t next = 0;
    Tally kept{};
    std::array<bool, kRules> taking{};  // the value being read is one that is kept
    bool last = false;
    std::size_t objects = 0;
    bool cut = false;
    while (const auto group = reader.Next()) {
        last = group->code == 0 && group->value == "EOF";
        // Past what the drawing may hold, dxflib is not given the rest to read.
        if (group->code == 0 && ++objects > kMostObjects) {
            cut = true;
            last = false;
            break;
        }
        if (group->code == 0) {
            put(0, group->value);
            entity = group->value;
            kept = {};
            taking = {};
            if (IsCounted(entity) && next < tallies.size()) {
                const Tally& tally = tallies[next++];
                for (std::size_t r = 0; r < kRules; ++r)
                    if (kCountRules[r].entity == entity)
                        put(kCountRules[r].countCode, std::to_string(tally[r]));
            }
            continue;
        }
        bool drop = false;
        for (std::size_t r = 0; r < kRules; ++r) {
            const CountRule& rule = kCountRules[r];
            if (rule.entity != entity)
                continue;
            if (group->code == rule.countCode && !IsMember(rule, group->code))
                drop = true;  // written above, as counted
            else if (group->code == rule.valueCode)
                taking[r] = kept[r]++ < kLargestCount;
            // Parts of a value before its first one, or of one past the limit,
            // belong to nothing dxflib has room for.
            if (IsMember(rule, group->code) && !taking[r])
                drop = true;
        }
        if (!drop)
            put(group->code, group->value);
    }
    sanitized.whole = reader.whole() && !cut;
    if (!last)
        put(0, "EOF");
    return sanitized;
}

}  // namespace preview
