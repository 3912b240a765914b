#include "storage/settings.h"

#include "text/mbcs.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>
#include <variant>

namespace storage {

namespace {

using Field = std::variant<std::string*, int*>;

// The one line order both the reader and the writer walk, so they cannot drift apart.
std::array<Field, kSettingsLineCount> SettingsFields(Settings& s)
{
    return std::to_array<Field>({
        &s.DbServer,
        &s.DbFolder,
        &s.DbName,
        &s.PcUserNo,
        &s.PcUserName,
        &s.Form1.left,
        &s.Form1.top,
        &s.Form1.width,
        &s.Form1.height,
        &s.Form2.left,
        &s.Form2.top,
        &s.Form3.left,
        &s.Form3.top,
        &s.Form4.left,
        &s.Form4.top,
        &s.Form5.left,
        &s.Form5.top,
        &s.Form6.left,
        &s.Form6.top,
        &s.ListWidth,
        &s.ListHeight,
        &s.ListColWidths[0],
        &s.ListColWidths[1],
        &s.ListColWidths[2],
        &s.ListColWidths[3],
        &s.ListColWidths[4],
        &s.ListColWidths[5],
        &s.ListPanelHeight,
        &s.ChartWidth,
        &s.ChartHeight,
        &s.ChartPanelHeight,
        &s.ChartStartDate,
        &s.ChartEndDate,
        &s.ChartFilter,
        &s.DetailWidth,
        &s.DetailHeight,
        &s.DetailTreeWidth,
        &s.LastDrawingFolder,
        &s.DetailColWidths[0],
        &s.DetailColWidths[1],
        &s.DetailColWidths[2],
        &s.DetailColWidths[3],
        &s.DetailColWidths[4],
        &s.DetailColWidths[5],
        &s.DetailColWidths[6],
        &s.DetailColWidths[7],
        &s.DetailColWidths[8],
        &s.DetailColWidths[9],
        &s.DetailColWidths[10],
        &s.DetailColWidths[11],
        &s.DetailColWidths[12],
        &s.Form11.left,
        &s.Form11.top,
        &s.Form12.left,
        &s.Form12.top,
    });
}

void ResetToDefaults(Settings& settings, const std::string& exeFolder)
{
    Settings fresh;
    fresh.Form1 = settings.Form1;
    fresh.Form2 = settings.Form2;
    fresh.Form3 = settings.Form3;
    fresh.Form4 = settings.Form4;
    fresh.Form5 = settings.Form5;
    fresh.Form6 = settings.Form6;
    fresh.Form11 = settings.Form11;
    fresh.Form12 = settings.Form12;
    fresh.LastDrawingFolder = exeFolder;
    settings = std::move(fresh);
}

void AtLeast(int& value, int minimum)
{
    value = std::max(value, minimum);
}

// Defaults already satisfy every clamp, so clamping all of them at the end equals
// clamping each line as it comes in, also when reading stopped early.
void ApplyClamps(Settings& s)
{
    AtLeast(s.ListWidth, 80);
    AtLeast(s.ListHeight, 80);
    for (int& width : s.ListColWidths) {
        AtLeast(width, 32);
    }
    AtLeast(s.ListPanelHeight, 10);
    AtLeast(s.ChartWidth, 80);
    AtLeast(s.ChartHeight, 80);
    AtLeast(s.ChartPanelHeight, 10);
    if (s.ChartFilter < 0 || s.ChartFilter > 2) {
        s.ChartFilter = 0;
    }
    for (int& width : s.DetailColWidths) {
        AtLeast(width, 16);
    }
}

// A line ends at LF; one CR before it belongs to the line end. Past the end of the
// file a line reads as empty. Only the first kMaxLineBytes of a line are kept, so a
// damaged file of one endless line cannot exhaust memory. False only on a read error.
constexpr size_t kMaxLineBytes = 1 << 20;

bool ReadLine(std::istream& in, std::string& line)
{
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (!buffer || !in.good())
        return !in.bad();
    for (;;) {
        int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            break;
        }
        if (c == '\n')
            break;
        if (line.size() < kMaxLineBytes)
            line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

void Assign(const Field& field, const std::string& line)
{
    if (auto* text = std::get_if<std::string*>(&field)) {
        **text = line;
    } else {
        *std::get<int*>(field) = text::StrToIntOrZero(line);
    }
}

// A CR or LF inside a value would shift every line after it; CP932 trail bytes are
// never CR or LF, so dropping them cannot split a character.
std::string WithoutLineBreaks(const std::string& value)
{
    std::string out = value;
    std::erase_if(out, [](char c) { return c == '\r' || c == '\n'; });
    return out;
}

std::string Render(Settings settings)
{
    std::string out;
    for (const Field& field : SettingsFields(settings)) {
        if (auto* text = std::get_if<std::string*>(&field)) {
            out += WithoutLineBreaks(**text);
        } else {
            out += std::to_string(*std::get<int*>(field));
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace

void ReadSettings(const std::filesystem::path& path, const std::string& exeFolder,
                  Settings& settings)
{
    ResetToDefaults(settings, exeFolder);
    // Only a regular file: a device or FIFO at the path could block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return;
    }
    std::string line;
    for (const Field& field : SettingsFields(settings)) {
        if (!ReadLine(in, line)) {
            break;
        }
        Assign(field, line);
    }
    ApplyClamps(settings);
}

bool WriteSettings(const std::filesystem::path& path, const Settings& settings)
{
    const std::string content = Render(settings);
    // QSaveFile writes beside the target, syncs, and renames over it on commit; the
    // temporary file is removed on every failure, leaving the old file untouched.
    QSaveFile file(QString::fromStdU16String(path.u16string()));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // commit() does not notice a buffered write that the disk refused (a full disk,
    // a size limit), so the flush is checked here.
    const auto size = static_cast<qint64>(content.size());
    if (file.write(content.data(), size) != size || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::string DatabasePath(const Settings& settings)
{
    return settings.DbServer + settings.DbFolder + settings.DbName;
}

}  // namespace storage
