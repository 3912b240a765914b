#include "text/mfc_string.h"

namespace text {

QString FromUtf16Le(std::string_view bytes)
{
    QString decoded(static_cast<qsizetype>(bytes.size() / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        decoded[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(
            static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
    return decoded;
}

}  // namespace text
