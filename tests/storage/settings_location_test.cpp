#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QFile>
#include <cstdlib>

#include "common/temp_folder.h"
#include "storage/settings.h"
#include "storage/settings_location.h"

namespace {

using storage::SettingsFileLocation;
using storage::UserConfigHome;
using testing_support::TempFolder;

TEST(SettingsLocation, TheRule)
{
    EXPECT_EQ(SettingsFileLocation("/opt/k/k5x7.dat", true, "/home/u/.config"), "/opt/k/k5x7.dat");
    EXPECT_EQ(SettingsFileLocation("/usr/bin/k5x7.dat", false, "/home/u/.config"),
              "/home/u/.config/k5x7/k5x7.dat");
    // Nowhere else to go: the old place, which fails as it always did.
    EXPECT_EQ(SettingsFileLocation("/usr/bin/k5x7.dat", false, ""), "/usr/bin/k5x7.dat");
    EXPECT_EQ(UserConfigHome("/x/cfg", "/home/u"), "/x/cfg");
    EXPECT_EQ(UserConfigHome("relative", "/home/u"), "/home/u/.config");
    EXPECT_EQ(UserConfigHome(nullptr, "/home/u"), "/home/u/.config");
    EXPECT_EQ(UserConfigHome(nullptr, nullptr), "");
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/bin", "/sbin", "/usr/games",
                               "/opt/k5x7/bin", "/opt", "/snap/k5x7/1/bin"})
        EXPECT_TRUE(storage::IsSystemProgramFolder(system)) << system;
    for (const char* own : {"/home/u/k5x7", "/work/build", "/usrx/bin", "/optional", "/"})
        EXPECT_FALSE(storage::IsSystemProgramFolder(own)) << own;
    // Windows: Program Files closed to the user sends the file to %APPDATA%\k5x7\.
    EXPECT_EQ(SettingsFileLocation("C:\\Program Files\\k5x7\\k5x7.dat", false,
                                   "C:\\Users\\u\\AppData\\Roaming"),
              "C:\\Users\\u\\AppData\\Roaming\\k5x7\\k5x7.dat");
}

#ifdef _WIN32

// A folder that can be written keeps the file beside the executable; one that
// cannot (here: not there at all) sends it to the roaming application data.
TEST(SettingsLocation, WindowsWritableAndUnwritableFolders)
{
    TempFolder folder;
    const std::string beside = folder.file("k5x7.dat");
    EXPECT_EQ(SettingsFileLocation(beside), beside);
    const QString appData = QString::fromLocal8Bit(qgetenv("APPDATA"));
    ASSERT_FALSE(appData.isEmpty());
    const QString moved =
        QString::fromStdString(SettingsFileLocation("Z:\\k5x7-no-such-folder\\k5x7.dat"));
    EXPECT_EQ(QDir::fromNativeSeparators(moved),
              QDir::fromNativeSeparators(appData) + QStringLiteral("/k5x7/k5x7.dat"));
    EXPECT_TRUE(QDir(folder.path().c_str()).entryList(QDir::Files).isEmpty());  // probe removed
}

#else

// The package's folder, run by root who may write there, and a folder anyone
// may write but someone else owns: neither takes the settings file.
TEST(SettingsLocation, FoldersNotTheUsersOwn)
{
    TempFolder folder;
    const std::string config = folder.file("config");
    QDir().mkpath(QString::fromStdString(config));
    const std::string shared = folder.file("shared");
    QDir().mkpath(QString::fromStdString(shared));
    ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
    const bool canGiveAway = geteuid() == 0 && chown(shared.c_str(), 65534, 65534) == 0;
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = previous ? previous : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(SettingsFileLocation("/usr/bin/k5x7.dat"), config + "/k5x7/k5x7.dat");
    if (canGiveAway) {
        EXPECT_EQ(SettingsFileLocation(shared + "/k5x7.dat"), config + "/k5x7/k5x7.dat");
    }
    if (previous)
        setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

// As the machine answers it: a folder the user may write keeps the file
// beside the executable; one the user may not sends it, written and read back
// whole, to the configuration folder. Root may write anywhere, so the second
// half runs as nobody in a child process.
TEST(SettingsLocation, WritableAndUnwritableExecutableFolders)
{
    TempFolder folder;
    const std::string writable = folder.file("writable/k5x7.dat");
    QDir().mkpath(QString::fromStdString(folder.file("writable")));
    EXPECT_EQ(SettingsFileLocation(writable), writable);

    const std::string bin = folder.file("bin");
    const std::string config = folder.file("config");
    QDir().mkpath(QString::fromStdString(bin));
    QDir().mkpath(QString::fromStdString(config));
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(bin.c_str(), 0555), 0);
    ASSERT_EQ(chmod(config.c_str(), 0777), 0);
    const std::string expected = config + "/k5x7/k5x7.dat";
    EXPECT_EXIT(
        {
            setenv("XDG_CONFIG_HOME", config.c_str(), 1);
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                std::exit(3);
            const std::string path = SettingsFileLocation(bin + "/k5x7.dat");
            if (path != expected)
                std::exit(1);
            storage::Settings settings;
            settings.DbFolder = "/srv/data/";
            std::exit(storage::MakeSettingsFolder(path) && storage::WriteSettings(path, settings)
                          ? 0
                          : 2);
        },
        testing::ExitedWithCode(0), "");
    storage::Settings read;
    storage::ReadSettings(expected, "/", read);
    EXPECT_EQ(read.DbFolder, "/srv/data/");
    EXPECT_TRUE(QDir(QString::fromStdString(bin)).isEmpty());
}

#endif

}  // namespace
