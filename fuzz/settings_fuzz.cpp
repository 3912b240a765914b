// Any bytes as the settings file: reading must not fail, the clamps must hold,
// and what is read must write back to a file that reads the same again (the file
// is the only thing carried from one run to the next).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_temp_folder.h"
#include "storage/settings.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CheckClamps(const storage::Settings& s)
{
    bool ok = s.ListWidth >= 80 && s.ListHeight >= 80 && s.ListPanelHeight >= 10 &&
              s.ChartWidth >= 80 && s.ChartHeight >= 80 && s.ChartPanelHeight >= 10 &&
              s.ChartFilter >= 0 && s.ChartFilter <= 2;
    for (int width : s.ListColWidths)
        ok = ok && width >= 32;
    for (int width : s.DetailColWidths)
        ok = ok && width >= 16;
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string folder = fuzzing::TempFolder();
    const std::string input = folder + "input.dat";
    const std::string first = folder + "first.dat";
    const std::string second = folder + "second.dat";
    fuzzing::WriteFile(input, std::string_view(reinterpret_cast<const char*>(data), size));

    storage::Settings settings;
    storage::ReadSettings(input, "/exe/", settings);
    CheckClamps(settings);
    if (!storage::WriteSettings(first, settings))
        std::abort();
    storage::Settings again;
    storage::ReadSettings(first, "/exe/", again);
    if (!storage::WriteSettings(second, again) || ReadAll(first) != ReadAll(second))
        std::abort();
    return 0;
}
