#include "storage/row_store.h"

namespace storage {

namespace {

// A length takes one byte below 128, two below 16384, four otherwise.
void AppendLength(std::string& bytes, std::size_t n)
{
    if (n < 0x80) {
        bytes.push_back(static_cast<char>(n));
    } else if (n < 0x4000) {
        bytes.push_back(static_cast<char>(0x80 | (n >> 8)));
        bytes.push_back(static_cast<char>(n & 0xFF));
    } else {
        bytes.push_back(static_cast<char>(0xC0 | ((n >> 24) & 0x3F)));
        bytes.push_back(static_cast<char>((n >> 16) & 0xFF));
        bytes.push_back(static_cast<char>((n >> 8) & 0xFF));
        bytes.push_back(static_cast<char>(n & 0xFF));
    }
}

std::size_t ReadLength(const unsigned char*& p)
{
    const std::size_t first = *p++;
    if (first < 0x80)
        return first;
    if (first < 0xC0) {
        const std::size_t n = ((first & 0x3F) << 8) | p[0];
        p += 1;
        return n;
    }
    const std::size_t n =
        ((first & 0x3F) << 24) | (std::size_t(p[0]) << 16) | (std::size_t(p[1]) << 8) | p[2];
    p += 3;
    return n;
}

}  // namespace

void RowStore::clear() noexcept
{
    chunks_.clear();
    chunks_.shrink_to_fit();
    rows_ = 0;
    lastChunkBytes_ = 0;
}

void RowStore::beginRow()
{
    if (chunks_.empty() || chunks_.back().starts.size() == kChunkRows) {
        // Growing a buffer of this size step by step costs more than filling it.
        const std::size_t expected = chunks_.empty() ? 0 : lastChunkBytes_ + lastChunkBytes_ / 8;
        chunks_.emplace_back();
        Chunk& chunk = chunks_.back();
        chunk.bytes.reserve(expected);
        chunk.starts.reserve(kChunkRows);
    }
    Chunk& chunk = chunks_.back();
    chunk.starts.push_back(static_cast<std::uint32_t>(chunk.bytes.size()));
}

void RowStore::addValue(std::string_view value)
{
    std::string& bytes = chunks_.back().bytes;
    AppendLength(bytes, value.size());
    bytes.append(value);
}

void RowStore::endRow()
{
    ++rows_;
    const Chunk& chunk = chunks_.back();
    if (chunk.starts.size() == kChunkRows)
        lastChunkBytes_ = chunk.bytes.size();
}

int RowStore::copyRow(std::size_t index, Row& buffer) const
{
    if (index >= rows_)
        return -1;
    const std::size_t chunkIndex = index / kChunkRows;
    const std::size_t rowInChunk = index % kChunkRows;
    const Chunk& chunk = chunks_[chunkIndex];
    const std::string& bytes = chunk.bytes;
    const std::vector<std::uint32_t>& starts = chunk.starts;
    const std::size_t end = rowInChunk + 1 < starts.size() ? starts[rowInChunk + 1] : bytes.size();
    const auto* base = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* p = base + starts[rowInChunk];
    const unsigned char* stop = base + end;
    int copied = 0;
    for (std::string& value : buffer) {
        if (p >= stop)
            break;
        const std::size_t n = ReadLength(p);
        value.assign(reinterpret_cast<const char*>(p), n);
        p += n;
        ++copied;
    }
    return copied;
}

}  // namespace storage
