#include "reports/pdf_outline.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>

namespace reports {

namespace {

constexpr qint64 kTail = 1024;              // where startxref is looked for
constexpr qint64 kLargestObject = 1 << 20;  // a catalog or page tree past this is not Qt's

struct Trailer {
    qint64 xref = 0;
    std::vector<qint64> offsets;  // by object number, -1 where free
    int size = 0;
    int root = 0;
    QByteArray info;  // "/Info n 0 R" and "/ID [...]" as written, carried over
};

std::optional<qint64> StartXref(QIODevice& pdf)
{
    const qint64 size = pdf.size();
    if (!pdf.seek(std::max<qint64>(0, size - kTail)))
        return std::nullopt;
    const QByteArray tail = pdf.read(kTail);
    const qsizetype at = tail.lastIndexOf("startxref");
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 offset = tail.mid(at + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    return ok && offset > 0 && offset < size ? std::optional<qint64>(offset) : std::nullopt;
}

// The cross-reference table and the trailer after it.
std::optional<Trailer> ReadTrailer(QIODevice& pdf)
{
    Trailer trailer;
    const std::optional<qint64> xref = StartXref(pdf);
    if (!xref || !pdf.seek(*xref))
        return std::nullopt;
    trailer.xref = *xref;
    if (pdf.readLine().trimmed() != "xref")
        return std::nullopt;
    for (;;) {
        const QByteArray line = pdf.readLine().trimmed();
        if (line.startsWith("trailer"))
            break;
        const QList<QByteArray> header = line.split(' ');
        bool okFirst = false, okCount = false;
        const int first = header.value(0).toInt(&okFirst);
        const int count = header.value(1).toInt(&okCount);
        if (header.size() != 2 || !okFirst || !okCount || first < 0 || count < 0 ||
            count > 10'000'000)
            return std::nullopt;
        if (static_cast<int>(trailer.offsets.size()) < first + count)
            trailer.offsets.resize(first + count, -1);
        for (int i = 0; i < count; ++i) {
            const QByteArray entry = pdf.read(20);
            if (entry.size() != 20)
                return std::nullopt;
            trailer.offsets[first + i] = entry[17] == 'n' ? entry.left(10).toLongLong() : -1;
        }
    }
    QByteArray dictionary;
    while (!dictionary.contains("startxref") && !pdf.atEnd() && dictionary.size() < kTail * 4)
        dictionary += pdf.readLine();
    static const QRegularExpression size(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression root(QStringLiteral("/Root\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression info(QStringLiteral("/Info\\s+\\d+\\s+0\\s+R"));
    static const QRegularExpression id(QStringLiteral("/ID\\s*\\[[^\\]]*\\]"));
    const QString text = QString::fromLatin1(dictionary);
    trailer.size = size.match(text).captured(1).toInt();
    trailer.root = root.match(text).captured(1).toInt();
    trailer.info =
        (info.match(text).captured() + QLatin1Char('\n') + id.match(text).captured()).toLatin1();
    if (trailer.size <= 0 || trailer.root <= 0 || trailer.root >= trailer.size)
        return std::nullopt;
    return trailer;
}

// What lies between "n 0 obj" and "endobj".
std::optional<QByteArray> ReadObject(QIODevice& pdf, const Trailer& trailer, int number)
{
    if (number <= 0 || number >= static_cast<int>(trailer.offsets.size()) ||
        trailer.offsets[number] < 0 || !pdf.seek(trailer.offsets[number]))
        return std::nullopt;
    QByteArray bytes;
    qsizetype end = -1;
    while (end < 0 && !pdf.atEnd() && bytes.size() < kLargestObject) {
        bytes += pdf.read(4096);
        end = bytes.indexOf("endobj");
    }
    const QByteArray head = QByteArray::number(number) + " 0 obj";
    if (end < 0 || !bytes.startsWith(head))
        return std::nullopt;
    return bytes.mid(head.size(), end - head.size()).trimmed();
}

std::optional<int> Reference(const QByteArray& dictionary, const char* key)
{
    const QRegularExpression pattern(QLatin1String(key) + QStringLiteral("\\s+(\\d+)\\s+0\\s+R"));
    const auto match = pattern.match(QString::fromLatin1(dictionary));
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

// A dictionary with `entries` added before its closing ">>".
QByteArray WithEntries(const QByteArray& dictionary, const QByteArray& entries)
{
    const qsizetype close = dictionary.lastIndexOf(">>");
    return dictionary.left(close) + entries + dictionary.mid(close);
}

QByteArray TextString(const QString& text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + ">";
}

QByteArray Ref(int number)
{
    return QByteArray::number(number) + " 0 R";
}

}  // namespace

bool AppendOutline(QIODevice& pdf, const std::vector<int>& order,
                   const std::vector<OutlineItem>& items)
{
    const std::optional<Trailer> trailer = ReadTrailer(pdf);
    if (!trailer)
        return false;
    const std::optional<QByteArray> catalog = ReadObject(pdf, *trailer, trailer->root);
    const std::optional<int> pagesNumber =
        catalog ? Reference(*catalog, "/Pages") : std::optional<int>();
    const std::optional<QByteArray> pages =
        pagesNumber ? ReadObject(pdf, *trailer, *pagesNumber) : std::nullopt;
    if (!pages)
        return false;
    const qsizetype kidsAt = pages->indexOf("/Kids");
    const qsizetype open = pages->indexOf('[', kidsAt);
    const qsizetype close = pages->indexOf(']', open);
    if (kidsAt < 0 || open < 0 || close < 0)
        return false;
    static const QRegularExpression reference(QStringLiteral("(\\d+)\\s+0\\s+R"));
    std::vector<int> kids;
    for (auto it = reference.globalMatch(QString::fromLatin1(pages->mid(open, close - open)));
         it.hasNext();)
        kids.push_back(it.next().captured(1).toInt());
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i))
            return false;
    if (sorted.size() != kids.size())
        return false;

    QByteArray newKids = "[\n";
    for (const int page : order)
        newKids += Ref(kids[page]) + "\n";
    std::map<int, QByteArray> objects;
    objects[*pagesNumber] = pages->left(open) + newKids + pages->mid(close);
    const int outlines = trailer->size;
    const int first = outlines + 1;
    std::vector<OutlineItem> valid;
    for (const OutlineItem& item : items)
        if (item.page >= 0 && item.page < static_cast<int>(kids.size()))
            valid.push_back(item);
    if (!valid.empty()) {
        const int last = first + static_cast<int>(valid.size()) - 1;
        objects[trailer->root] =
            WithEntries(*catalog, "/Outlines " + Ref(outlines) + "\n/PageMode /UseOutlines\n");
        objects[outlines] = "<<\n/Type /Outlines\n/First " + Ref(first) + "\n/Last " + Ref(last) +
                            "\n/Count " + QByteArray::number(valid.size()) + "\n>>";
        for (std::size_t i = 0; i < valid.size(); ++i) {
            const int number = first + static_cast<int>(i);
            QByteArray item = "<<\n/Title " + TextString(valid[i].title) + "\n/Parent " +
                              Ref(outlines) + "\n/Dest [" + Ref(kids[order[valid[i].page]]) +
                              " /Fit]\n";
            if (number > first)
                item += "/Prev " + Ref(number - 1) + "\n";
            if (number < last)
                item += "/Next " + Ref(number + 1) + "\n";
            objects[number] = item + ">>";
        }
    }

    if (!pdf.seek(pdf.size()))
        return false;
    const qint64 base = pdf.size();
    QByteArray update = "\n";
    std::map<int, qint64> offsets;
    for (const auto& [number, body] : objects) {
        offsets[number] = base + update.size();
        update += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const qint64 xref = base + update.size();
    update += "xref\n";
    // One subsection for each run of consecutive numbers.
    for (auto it = offsets.begin(); it != offsets.end();) {
        auto end = it;
        int next = it->first;
        while (end != offsets.end() && end->first == next) {
            ++end;
            ++next;
        }
        update += QByteArray::number(it->first) + " " + QByteArray::number(next - it->first) + "\n";
        for (; it != end; ++it)
            update += QByteArray::number(it->second).rightJustified(10, '0') + " 00000 n\r\n";
    }
    const int size = std::max(trailer->size, offsets.rbegin()->first + 1);
    update += "trailer\n<<\n/Size " + QByteArray::number(size) + "\n/Root " + Ref(trailer->root) +
              "\n" + trailer->info + "\n/Prev " + QByteArray::number(trailer->xref) +
              "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf.write(update) == update.size();
}

}  // namespace reports
