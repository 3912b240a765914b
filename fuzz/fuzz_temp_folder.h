#pragma once
// One private folder per fuzzing process, removed when it exits normally.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fuzzing {

inline const std::string& TempFolder()
{
    struct Folder {
        std::string path;
        ~Folder() { std::filesystem::remove_all(path); }
    };
    static const Folder folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/k5x7-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return Folder{pattern + "/"};
    }();
    return folder.path;
}

inline void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        std::abort();
}

}  // namespace fuzzing
