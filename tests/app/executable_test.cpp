// The real executable, started as a log-in session would start it: a
// termination signal closes it as 終了 does, and a folder with a Japanese
// name reaches the settings file intact.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>

#include "common/temp_folder.h"
#include "storage/database.h"
#include "storage/settings.h"
#include "text/cp932.h"

namespace {

// Only the application's own handlers catch SIGHUP, and they are put in place
// once the main window is shown and its database attached.
bool Ready(qint64 pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGHUP - 1)) & 1;
    return false;
}

// Starts the executable, sends the signal once it is ready, and gives the
// exit code, or -1 when it did not end within five seconds of the signal.
int RunUntilSignal(
    const QString& exe, int signal, const QStringList& args = {},
    const std::function<bool()>& ready = [] { return true; })
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(exe, args);
    if (!process.waitForStarted(10000))
        return -2;
    QElapsedTimer waited;
    waited.start();
    while (!(Ready(process.processId()) && ready()) && waited.elapsed() < 30000)
        QThread::msleep(20);
    ::kill(static_cast<pid_t>(process.processId()), signal);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
}

std::vector<std::string> Lines(const QString& path)
{
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

}  // namespace

TEST(Executable, ClosesOnTerminationSignalsAndKeepsAJapaneseFolder)
{
    testing_support::TempFolder folder;
    const QString dir = QString::fromStdString(folder.path()) + QStringLiteral("図面管理");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString exe = dir + "/k5x7";
    ASSERT_TRUE(QFile::copy(QStringLiteral(K5X7_APP_PATH), exe));
    const QString settings = dir + "/k5x7.dat";

    // First start: the first folder of the file dialog is the executable's.
    ASSERT_EQ(RunUntilSignal(exe, SIGTERM), 0);
    const std::vector<std::string> first = Lines(settings);
    ASSERT_EQ(first.size(), 55u);
    EXPECT_EQ(text::FromCp932(first[37]), dir + "/");

    // With a database attached, by the engine that has handlers of its own.
    {
        storage::Database maker;
        maker.CreateDatabase(folder.file("ZUMENDB.FDB"));
        ASSERT_TRUE(maker.Connected());
    }
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        storage::Settings s;
        s.DbServer = "";
        s.DbFolder = folder.path();
        s.ChartFilter = 7;  // put right when read, so the file shows it was written again
        ASSERT_TRUE(storage::WriteSettings(settings.toStdString(), s));
        EXPECT_EQ(RunUntilSignal(exe, signal), 0) << "signal " << signal;
        const std::vector<std::string> lines = Lines(settings);
        ASSERT_EQ(lines.size(), 55u);
        EXPECT_EQ(lines[1], folder.path());
        EXPECT_EQ(lines[33], "0") << "signal " << signal;
    }
}

// A thumbnail helper that hangs: killed, and the exit does not wait for it.
TEST(Executable, ATerminationSignalEndsItWhileAThumbnailHelperHangs)
{
    testing_support::TempFolder folder;
    const QString helper = QString::fromStdString(folder.file("hang"));
    std::ofstream(helper.toStdString()) << "#!/bin/sh\nexec tail -f \"$0\"\n";
    QFile::setPermissions(helper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString drawing = QString::fromStdString(folder.file("plan.jww"));
    std::ofstream(drawing.toStdString()) << "JwwData.";
    auto hanging = [&helper] {
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (cmdline.open(QIODevice::ReadOnly) &&
                cmdline.readAll().contains(helper.toLocal8Bit()))
                return true;
        }
        return false;
    };
    qputenv("K5X7_PREVIEW_HELPER", helper.toLocal8Bit());
    bool seen = false;
    EXPECT_EQ(RunUntilSignal(QStringLiteral(K5X7_EXIT_PROBE_PATH), SIGTERM, {drawing},
                             [&] { return seen = hanging(); }),
              0);
    EXPECT_TRUE(seen) << "the helper was never started";
    qunsetenv("K5X7_PREVIEW_HELPER");
    QElapsedTimer clock;
    clock.start();
    while (hanging() && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_FALSE(hanging());
}
