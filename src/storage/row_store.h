#pragma once
// The rows of one result as the database layer keeps them: chunks of 1000
// rows, each chunk one buffer in which every value follows its length. A row
// costs its bytes and little more, where a vector of strings per row cost four
// times that.
//
// Past a memory budget, full chunks move to a temporary file and come back one
// at a time when they are read, so a result of any size takes about the same
// memory. When the file cannot be written the chunks simply stay in memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTemporaryFile;

namespace storage {

using Row = std::vector<std::string>;

class RowStore {
public:
    static constexpr std::size_t kChunkRows = 1000;
    // Bytes of row values kept in memory before chunks go to the file.
    static constexpr std::size_t kDefaultMemoryBudget = 4u << 20;

    explicit RowStore(std::size_t memoryBudget = kDefaultMemoryBudget);
    ~RowStore();
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    void clear() noexcept;
    std::size_t size() const { return rows_; }
    bool empty() const { return rows_ == 0; }

    // A row is added value by value, in column order, between these two.
    void beginRow();
    void addValue(std::string_view value);
    void endRow();

    // Copies the row's values into the buffer, as many as both hold; returns that
    // number. A row that cannot be read back copies nothing and returns -1.
    int copyRow(std::size_t index, Row& buffer) const;

    // Chunks written to the temporary file so far (for tests).
    std::size_t spilledChunks() const { return spilled_; }

private:
    struct Chunk {
        std::string bytes;                  // empty while the chunk is in the file
        std::vector<std::uint32_t> starts;  // offset of each row in bytes
        std::uint64_t fileOffset = 0;
        std::size_t fileSize = 0;
        bool inFile = false;
    };

    const std::string* chunkBytes(std::size_t chunk) const;
    void spill(Chunk& chunk);

    std::size_t memoryBudget_;
    std::vector<Chunk> chunks_;
    std::size_t rows_ = 0;
    std::size_t bytesInMemory_ = 0;
    std::size_t spilled_ = 0;
    std::size_t lastChunkBytes_ = 0;
    std::string spare_;  // the buffer of the chunk last written to the file
    bool fileFailed_ = false;
    std::unique_ptr<QTemporaryFile> file_;
    std::uint64_t fileEnd_ = 0;
    // The last chunk read back from the file.
    mutable std::string loaded_;
    mutable std::size_t loadedChunk_ = SIZE_MAX;
};

}  // namespace storage
