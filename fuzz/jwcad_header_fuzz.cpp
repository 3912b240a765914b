// Any bytes under every drawing extension: the reader must return a clean memo
// text of at most 80 bytes, and the file reader must agree with the buffer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "drawings/jwcad_header.h"
#include "fuzz_temp_folder.h"
#include "text/mbcs.h"

namespace {

constexpr const char* kNames[] = {"f.jwc", "f.jwk", "f.jww", "f.bak"};

// What every caller relies on: it fits the memo line, holds no quote or control
// character, and never ends in half a character.
void CheckMemoText(std::string_view memo)
{
    if (memo.size() > 80)
        std::abort();
    for (std::size_t i = 0; i < memo.size(); ++i) {
        const auto b = static_cast<unsigned char>(memo[i]);
        if (text::IsLeadByte(b)) {
            if (++i >= memo.size())
                std::abort();
        } else if (b < 32 || b == '\'' || b == '"') {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string memos[std::size(kNames)];
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        memos[i] = drawings::ParseJwcadHeader(kNames[i], bytes);
        CheckMemoText(memos[i]);
    }
    // One extension per input through a real file keeps the run fast.
    const std::size_t pick = size % std::size(kNames);
    const std::string path = fuzzing::TempFolder() + kNames[pick];
    fuzzing::WriteFile(path, bytes);
    if (drawings::ReadJwcadHeader(path) != memos[pick])
        std::abort();
    return 0;
}
