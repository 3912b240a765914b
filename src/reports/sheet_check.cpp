#include "reports/sheet_check.h"

#include <zlib.h>

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace reports {

namespace {

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr int kEndSize = 22;
constexpr int kEntrySize = 46;
constexpr int kLocalSize = 30;
constexpr int kDeflated = 8;
constexpr qint64 kLongestComment = 0xFFFF;
constexpr std::string_view kSheet = "xl/worksheets/sheet1.xml";
constexpr std::string_view kRowTag = "<row r=\"";
constexpr std::string_view kSheetEnd = "</worksheet>";
constexpr std::size_t kChunk = 64 * 1024;

quint16 U16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 U32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

struct Entry {
    quint32 compressed = 0;
    quint32 size = 0;
    quint32 localOffset = 0;
};

// The sheet's entry in the zip's central directory.
std::optional<Entry> FindSheet(QFile& file)
{
    const qint64 tailSize = std::min(file.size(), kLongestComment + kEndSize);
    if (tailSize < kEndSize || !file.seek(file.size() - tailSize))
        return std::nullopt;
    const QByteArray tail = file.read(tailSize);
    qint64 end = tail.size() - kEndSize;
    while (end >= 0 && U32(tail.constData() + end) != kEndOfDirectory)
        --end;
    if (end < 0)
        return std::nullopt;
    const quint32 directorySize = U32(tail.constData() + end + 12);
    const quint32 directoryOffset = U32(tail.constData() + end + 16);
    if (!file.seek(directoryOffset))
        return std::nullopt;
    const QByteArray directory = file.read(directorySize);
    for (qsizetype at = 0; at + kEntrySize <= directory.size();) {
        const char* p = directory.constData() + at;
        if (U32(p) != kDirectoryEntry)
            return std::nullopt;
        const quint16 nameLength = U16(p + 28);
        const qsizetype next = at + kEntrySize + nameLength + U16(p + 30) + U16(p + 32);
        if (next > directory.size())
            return std::nullopt;
        if (std::string_view(p + kEntrySize, nameLength) == kSheet && U16(p + 10) == kDeflated)
            return Entry{U32(p + 20), U32(p + 24), U32(p + 42)};
        at = next;
    }
    return std::nullopt;
}

// Follows the inflated text for row numbers, keeping only what a tag cut
// between two pieces needs.
class RowScan {
public:
    void Add(std::string_view piece)
    {
        text_.append(piece);
        std::size_t at = 0;
        while ((at = text_.find(kRowTag, at)) != std::string::npos) {
            const std::size_t digits = at + kRowTag.size();
            const std::size_t quote = text_.find('"', digits);
            if (quote == std::string::npos)
                break;
            std::uint32_t row = 0;
            const auto [end, error] =
                std::from_chars(text_.data() + digits, text_.data() + quote, row);
            if (error == std::errc() && end == text_.data() + quote)
                last_ = row;
            at = quote;
        }
        const std::size_t keep = std::max(kRowTag.size() + 12, kSheetEnd.size());
        if (text_.size() > keep)
            text_.erase(0, text_.size() - keep);
    }
    std::uint32_t last() const { return last_; }
    bool ended() const { return std::string_view(text_).find(kSheetEnd) != std::string::npos; }

private:
    std::string text_;
    std::uint32_t last_ = 0;
};

}  // namespace

std::optional<std::uint32_t> LastSheetRow(const QString& workbookPath)
{
    QFile file(workbookPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<Entry> sheet = FindSheet(file);
    QByteArray local;
    if (!sheet || !file.seek(sheet->localOffset) ||
        (local = file.read(kLocalSize)).size() != kLocalSize ||
        U32(local.constData()) != kLocalHeader ||
        !file.seek(sheet->localOffset + kLocalSize + U16(local.constData() + 26) +
                   U16(local.constData() + 28)))
        return std::nullopt;

    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    RowScan scan;
    std::string out(kChunk, '\0');
    quint32 left = sheet->compressed;
    int status = Z_OK;
    while (status == Z_OK) {
        QByteArray in = file.read(std::min<qint64>(left, kChunk));
        left -= static_cast<quint32>(in.size());
        if (in.isEmpty() && left > 0)
            break;
        stream.next_in = reinterpret_cast<Bytef*>(in.data());
        stream.avail_in = static_cast<uInt>(in.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END)
                break;
            scan.Add(std::string_view(out.data(), out.size() - stream.avail_out));
        } while (stream.avail_out == 0 && status == Z_OK);
        if (in.isEmpty() && status == Z_OK)
            break;
    }
    const bool whole = status == Z_STREAM_END && stream.total_out == sheet->size;
    inflateEnd(&stream);
    if (!whole || !scan.ended())
        return std::nullopt;
    return scan.last();
}

}  // namespace reports
