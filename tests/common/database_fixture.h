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

// Where a test's own database goes. Windows has no embedded engine: there it is
// a fresh database on the local server, which the test removes.
inline std::string OwnDatabasePath(const TempFolder& folder, std::string& serverFile)
{
#ifdef _WIN32
    (void)folder;
    serverFile =
        ServerTestFolder() + QUuid::createUuid().toString(QUuid::Id128).toStdString() + ".FDB";
    return "localhost:" + serverFile;
#else
    serverFile.clear();
    return folder.file("ZUMENDB.FDB");
#endif
}

// The server's file as this program sees it: Wine shows the Linux root as Z:.
inline QString LocalNameOfServerFile(const std::string& file)
{
#ifdef _WIN32
    return QStringLiteral("Z:") + QString::fromStdString(file);
#else
    return QString::fromStdString(file);
#endif
}

// A fresh embedded database per test, with every statement text recorded.
class EmbeddedDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = OwnDatabasePath(folder, serverFile);
        db.SetStatementObserver([this](std::string_view text) { sent.emplace_back(text); });
        db.CreateDatabase(path);
        ASSERT_TRUE(db.Connected()) << "cannot create " << path;
        sent.clear();
    }

    void TearDown() override
    {
        if (serverFile.empty())
            return;
        db.DisconnectDatabase();
        QDir().remove(LocalNameOfServerFile(serverFile));
    }

    std::string lastSent() const { return sent.empty() ? std::string() : sent.back(); }

    TempFolder folder;
    std::string serverFile;
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
        QDir().remove(LocalNameOfServerFile(file));
    }

    std::string file;
    std::string path;
    storage::Database db;
};

}  // namespace testing_support
