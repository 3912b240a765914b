#pragma once
// CP932 (Windows Shift-JIS) at the edges: database, settings file, file headers.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// A fixed text of the program (UTF-8 in the source) as shown on screen.
inline QString Utf8(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Invalid byte sequences become U+FFFD; never fails.
QString FromCp932(std::string_view bytes);

// Empty when some character has no CP932 form.
std::optional<std::string> ToCp932(const QString& text);

// Lossy: characters with no CP932 form become '?'. For texts known to be safe.
std::string ToCp932Lossy(const QString& text);

// Characters with no CP932 form are left out, for texts read from files that
// must still fit a CP932 column.
std::string ToCp932Dropping(const QString& text);

// Bytes the text takes in CP932, or -1 when some character has no CP932 form.
int Cp932Length(const QString& text);

}  // namespace text
