#pragma once
// One drawing a search found, with what the result grid, the CSV and the
// command line show of it. Texts are CP932 as stored.

#include <string>

namespace search {

enum class FileState {
    None,     // no file registered (a group node)
    Pending,  // not looked at yet
    Present,
    Missing,            // folder + file name names no file
    ChangedAfterIssue,  // written after its issue (or later revision) date
    NoAnswer,           // the folder did not answer in time
};

struct SearchHit {
    int projectNo = 0;
    std::string projectName;
    int nodeNo = 0;
    std::string nodeName;
    std::string number;  // 図番
    std::string title;
    std::string fileName;
    std::string folder;
    std::string checked;  // the stamp dates as stored
    std::string approved;
    std::string issued;
    std::string revised;
    FileState fileState = FileState::None;
};

}  // namespace search
