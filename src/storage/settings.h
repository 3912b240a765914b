#pragma once
// The per-PC settings file: 55 CP932 lines, CR LF, meaning by line number alone.
// Values live here between start and end; windows read them when they open and
// store them back when they close.

#include <array>
#include <filesystem>
#include <string>

namespace storage {

// A window's position as the settings file keeps it; the window layer applies it.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;   // only kept for the main window
    int height = 0;  // only kept for the main window
};

struct Settings {
    std::string DbServer = "localhost:";
    std::string DbFolder;
    std::string DbName = "ZUMENDB.FDB";
    int PcUserNo = 0;
    std::string PcUserName;

    // Design positions until the file says otherwise.
    WindowPlacement Form1{192, 107, 347, 246};
    WindowPlacement Form2{192, 107};
    WindowPlacement Form3{192, 107};
    WindowPlacement Form4{192, 107};
    WindowPlacement Form5{192, 107};
    WindowPlacement Form6{191, 106};
    WindowPlacement Form11{200, 112};
    WindowPlacement Form12{192, 107};

    int ListWidth = 320;
    int ListHeight = 240;
    std::array<int, 6> ListColWidths{32, 32, 32, 32, 32, 32};
    int ListPanelHeight = 32;

    int ChartWidth = 320;
    int ChartHeight = 240;
    int ChartPanelHeight = 32;
    std::string ChartStartDate;
    std::string ChartEndDate;
    int ChartFilter = 0;

    int DetailWidth = 320;
    int DetailHeight = 240;
    int DetailTreeWidth = 100;
    std::string LastDrawingFolder;  // defaults to the executable's folder
    std::array<int, 13> DetailColWidths{64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64};
};

constexpr int kSettingsLineCount = 55;

// Resets every value but the window placements to its default (LastDrawingFolder
// to exeFolder), then reads what the file holds. Silent on every failure: values
// read before it keep their new values.
void ReadSettings(const std::filesystem::path& path, const std::string& exeFolder,
                  Settings& settings);

// Replaces the file atomically: on failure the previous file stays as it was.
// Returns whether the new file is in place.
bool WriteSettings(const std::filesystem::path& path, const Settings& settings);

// DbServer + DbFolder + DbName, joined with nothing between.
std::string DatabasePath(const Settings& settings);

}  // namespace storage
