#include "storage/row_store.h"

#include <QTemporaryFile>
#include <algorithm>

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

RowStore::RowStore(std::size_t memoryBudget) : memoryBudget_(memoryBudget) {}

RowStore::~RowStore() = default;

void RowStore::clear() noexcept
{
    chunks_.clear();
    chunks_.shrink_to_fit();
    rows_ = 0;
    bytesInMemory_ = 0;
    spilled_ = 0;
    fileFailed_ = false;
    file_.reset();
    fileEnd_ = 0;
    std::string().swap(loaded_);
    std::string().swap(spare_);
    lastChunkBytes_ = 0;
    loadedChunk_ = SIZE_MAX;
}

void RowStore::beginRow()
{
    if (chunks_.empty() || chunks_.back().starts.size() == kChunkRows) {
        // Growing a buffer of this size step by step costs more than filling it.
        const std::size_t expected = chunks_.empty() ? 0 : lastChunkBytes_ + lastChunkBytes_ / 8;
        chunks_.emplace_back();
        Chunk& chunk = chunks_.back();
        chunk.bytes.swap(spare_);
        chunk.bytes.clear();
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
    Chunk& chunk = chunks_.back();
    if (chunk.starts.size() < kChunkRows)
        return;
    lastChunkBytes_ = chunk.bytes.size();
    bytesInMemory_ += chunk.bytes.size();
    if (bytesInMemory_ > memoryBudget_ && chunks_.size() > 1)
        spill(chunk);
}

void RowStore::spill(Chunk& chunk)
{
    if (fileFailed_)
        return;
    if (!file_) {
        file_ = std::make_unique<QTemporaryFile>();
        if (!file_->open()) {
            fileFailed_ = true;
            file_.reset();
            return;
        }
    }
    const auto size = static_cast<qint64>(chunk.bytes.size());
    if (!file_->seek(static_cast<qint64>(fileEnd_)) ||
        file_->write(chunk.bytes.data(), size) != size) {
        // A full disk: what is already in the file stays readable, the rest
        // stays in memory.
        fileFailed_ = true;
        return;
    }
    chunk.fileOffset = fileEnd_;
    chunk.fileSize = chunk.bytes.size();
    chunk.inFile = true;
    fileEnd_ += chunk.fileSize;
    bytesInMemory_ -= chunk.bytes.size();
    spare_.swap(chunk.bytes);
    std::string().swap(chunk.bytes);
    ++spilled_;
}

const std::string* RowStore::chunkBytes(std::size_t index) const
{
    const Chunk& chunk = chunks_[index];
    if (!chunk.inFile)
        return &chunk.bytes;
    if (loadedChunk_ == index)
        return &loaded_;
    loadedChunk_ = SIZE_MAX;
    loaded_.resize(chunk.fileSize);
    const auto size = static_cast<qint64>(chunk.fileSize);
    if (!file_ || !file_->seek(static_cast<qint64>(chunk.fileOffset)) ||
        file_->read(loaded_.data(), size) != size)
        return nullptr;
    loadedChunk_ = index;
    return &loaded_;
}

int RowStore::copyRow(std::size_t index, Row& buffer) const
{
    if (index >= rows_)
        return -1;
    const std::size_t chunkIndex = index / kChunkRows;
    const std::size_t rowInChunk = index % kChunkRows;
    const std::string* bytes = chunkBytes(chunkIndex);
    if (!bytes)
        return -1;
    const std::vector<std::uint32_t>& starts = chunks_[chunkIndex].starts;
    const std::size_t end = rowInChunk + 1 < starts.size() ? starts[rowInChunk + 1] : bytes->size();
    const auto* base = reinterpret_cast<const unsigned char*>(bytes->data());
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
