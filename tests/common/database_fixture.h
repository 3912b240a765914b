#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QUuid>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "storage/database.h"

namespace testing_support {

// Where the local server may create databases: a folder its own user can write.
inline std::string ServerTestFolder()
{
    return "/var/lib/firebird/3.0/data/k5x7-tests/";
}

inline bool ServerRequired()
{
    const char* v = std::getenv("K5X7_REQUIRE_SERVER");
    return v && std::string(v) == "1";
}

// A fresh embedded database per test, with every statement text recorded.
class EmbeddedDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.file("ZUMENDB.FDB");
        db.SetStatementObserver([this](std::string_view text) { sent.emplace_back(text); });
        db.CreateDatabase(path);
        ASSERT_TRUE(db.Connected()) << "cannot create " << path;
        sent.clear();
    }

    std::string lastSent() const { return sent.empty() ? std::string() : sent.back(); }

    TempFolder folder;
    std::string path;
    storage::Database db;
    std::vector<std::string> sent;
};

// A fresh database on the local server, or a skip when no server runs here
// (a failure instead when the test command promised one).
class ServerDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file =
            ServerTestFolder() + QUuid::createUuid().toString(QUuid::Id128).toStdString() + ".FDB";
        path = "localhost:" + file;
        db.CreateDatabase(path);
        if (!db.Connected()) {
            if (ServerRequired())
                FAIL() << "the local server did not create " << path;
            GTEST_SKIP() << "no local Firebird server";
        }
    }

    void TearDown() override
    {
        db.DisconnectDatabase();
        QDir().remove(QString::fromStdString(file));
    }

    std::string file;
    std::string path;
    storage::Database db;
};

}  // namespace testing_support
