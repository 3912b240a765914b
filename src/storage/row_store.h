#pragma once
// The rows of one result as the database layer keeps them: chunks of 1000
// rows, each chunk one buffer in which every value follows its length. A row
// costs its bytes and little more, where a vector of strings per row cost four
// times that. Everything stays in memory: an office's rows never go to a
// temporary folder that other accounts share, and reading a row back cannot fail.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

using Row = std::vector<std::string>;

class RowStore {
public:
    static constexpr std::size_t kChunkRows = 1000;

    RowStore() = default;
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
    // number, or -1 for a row past the last.
    int copyRow(std::size_t index, Row& buffer) const;

private:
    struct Chunk {
        std::string bytes;
        std::vector<std::uint32_t> starts;  // offset of each row in bytes
    };

    std::vector<Chunk> chunks_;
    std::size_t rows_ = 0;
    std::size_t lastChunkBytes_ = 0;
};

}  // namespace storage
