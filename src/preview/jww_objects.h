#pragma once
// The object part of a Jw_cad archive: lists of drawing elements written by
// MFC's object serialisation, where the first object of a class names the
// class and later ones refer to it by its index. Classes and objects share one
// index counter, and an object takes its index before its own members are
// read, so the indices of nested lists follow on.

#include <atomic>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "preview/archive_cursor.h"
#include "preview/drawing_model.h"
#include "preview/jww_reader.h"

namespace preview {

class JwwObjectReader {
public:
    // `colours` maps pen colour numbers to the screen colours of the header.
    JwwObjectReader(ArchiveCursor& cursor, int version, const std::map<int, Rgb>& colours,
                    const JwwLimits& limits, const std::atomic<bool>* cancel);

    // A list of drawing elements; false when it broke off (what was read stays).
    bool ReadElements(std::vector<Entity>& out);
    // The list of block definitions after the elements.
    bool ReadBlocks(std::vector<Block>& out);

    // Whether the cursor stands at the start of an element list: a count and,
    // unless empty, the first object naming its class.
    static bool LooksLikeListStart(ArchiveCursor cursor);

private:
    enum class Kind : std::int8_t {
        Object = -1,
        Line,
        Arc,
        Dot,
        Text,
        Dimension,
        Solid,
        Insert,
        BlockDefinition,
        Unknown
    };
    struct Base {
        int penStyle = 1;
        int penColour = 1;
        int layer = 0;
        int group = 0;
    };
    enum class Read { Element, Nothing, Failed };

    // One object of a list: elements go to `out`, definitions to `blocks`.
    Read ReadObject(std::vector<Entity>& out, std::vector<Block>* blocks, int depth);
    bool ReadList(std::vector<Entity>& out, std::vector<Block>* blocks, int depth);
    static Kind KindOf(std::string_view name);

    std::optional<Base> ReadBase();
    bool ReadLine(const Base& base, std::vector<Entity>& out);
    bool ReadArc(const Base& base, std::vector<Entity>& out);
    bool ReadDot(const Base& base, std::vector<Entity>& out);
    bool ReadText(const Base& base, std::vector<Entity>& out);
    bool ReadDimension(std::vector<Entity>& out);
    bool ReadSolid(const Base& base, std::vector<Entity>& out);
    bool ReadInsert(const Base& base, std::vector<Entity>& out);
    bool ReadDefinition(std::vector<Block>* blocks, int depth);
    bool ReadDefinitionBody(std::size_t timeBytes, Block& block, std::vector<Block>* blocks,
                            int depth);

    Entity Make(const Base& base) const;
    void Add(std::vector<Entity>& out, Entity entity);
    bool Stopped() const;

    ArchiveCursor& cursor_;
    int version_;
    const std::map<int, Rgb>& colours_;
    JwwLimits limits_;
    const std::atomic<bool>* cancel_;
    std::vector<Kind> map_{Kind::Object};  // index 0 is the null object
    std::size_t entities_ = 0;
    // Definitions met among the elements, handed on with the block list.
    std::vector<Block> strayBlocks_;
};

}  // namespace preview
