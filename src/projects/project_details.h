#pragma once
// What the project details panel shows of one project: its row, its client's
// names and its creator's name, read afresh each time a project is chosen.

#include <string>

#include "storage/database.h"

namespace projects {

struct ProjectDetails {
    std::string number;  // N as read; empty when the project is gone
    std::string name;
    std::string title;
    std::string subtitle;
    std::string memo1;
    std::string memo2;
    std::string memo3;
    std::string due;
    std::string plannedStart;
    std::string plannedEnd;
    std::string actualStart;
    std::string actualEnd;
    std::string delivered;
    bool done = false;
    // Only when the project names a client (CN > 0); the names are empty when
    // that company is gone.
    bool hasClient = false;
    std::string clientName;
    std::string clientDepartment;
    // Only when the project names a creator (MN > 0).
    bool hasCreator = false;
    std::string creatorName;
};

// Nothing is read for a number below 1. A project that does not exist (or a
// database that is not there) gives empty texts.
ProjectDetails LoadProjectDetails(storage::Database& db, int number);

}  // namespace projects
