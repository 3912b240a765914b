#pragma once

#include <QString>
#include <string>

#include "text/cp932.h"

namespace testing_support {

// The tests write the screens' Japanese texts as UTF-8 literals.
inline QString Q(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// What the database keeps as Shift_JIS, as the screens show it.
inline QString Q(const std::string& cp932)
{
    return text::FromCp932(cp932);
}

}  // namespace testing_support
