#pragma once
// A Firebird server of the test's own on a free port, so it can be killed and
// started again while the shared server on 3050 keeps serving the other tests.
// It runs from a root folder of links to the installed one with its own
// firebird.conf (port, security database copy, no guardian) and lock folder.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace testing_support {

class SecondServer {
public:
    static constexpr const char* kInstalledRoot = "/usr/lib/x86_64-linux-gnu/firebird/3.0";
    static constexpr const char* kServer = "/usr/sbin/firebird";
    static constexpr const char* kSecurityDb = "/var/lib/firebird/3.0/system/security3.fdb";

    // Listening on `address` only, on `port` (0: a free one).
    explicit SecondServer(std::string address = "localhost", int port = 0)
        : address_(std::move(address)), port_(port)
    {}

    ~SecondServer()
    {
        Kill();
        if (!base_.empty())
            QDir(QString::fromStdString(base_)).removeRecursively();
    }

    // Why this machine cannot run one (empty when it can).
    static std::string Unavailable()
    {
        if (geteuid() != 0)
            return "needs root to run a server as the firebird user";
        if (!getpwnam("firebird"))
            return "no firebird user";
        for (const char* path : {kInstalledRoot, kServer, kSecurityDb})
            if (!QFileInfo::exists(path))
                return std::string(path) + " missing";
        return {};
    }

    int port() const { return port_; }
    // Its $FIREBIRD: what the services manager of this server reports.
    std::string root() const { return base_ + "/root"; }
    bool running() const { return pid_ > 0; }

    // Lays out the root folder once, then starts the server and waits until it
    // accepts connections.
    bool Start()
    {
        if (base_.empty() && !Prepare())
            return false;
        const passwd* user = getpwnam("firebird");
        if (!user)
            return false;
        // Built before the fork: the child only switches user and executes.
        const std::string root = "FIREBIRD=" + base_ + "/root";
        const std::string lock = "FIREBIRD_LOCK=" + base_ + "/lock";
        char* const environment[] = {const_cast<char*>(root.c_str()),
                                     const_cast<char*>(lock.c_str()), nullptr};
        const uid_t uid = user->pw_uid;
        const gid_t gid = user->pw_gid;
        const pid_t pid = fork();
        if (pid < 0)
            return false;
        if (pid == 0) {
            if (chdir("/") != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                _exit(127);
            execle(kServer, kServer, static_cast<char*>(nullptr), environment);
            _exit(127);
        }
        pid_ = pid;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Accepts())
                return true;
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        Kill();
        return false;
    }

    // A crash, not a shutdown: connections break without a word to the clients.
    void Kill()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

    // A database path on this server, in the folder the server tests use.
    std::string Path(const std::string& file) const
    {
        return "localhost/" + std::to_string(port_) + ":" + file;
    }

private:
    static int FreePort()
    {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        if (s < 0)
            return 0;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        int port = 0;
        if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port = ntohs(address.sin_port);
        close(s);
        return port;
    }

    bool Accepts() const
    {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        if (s < 0)
            return false;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port_));
        if (inet_pton(AF_INET, address_ == "localhost" ? "127.0.0.1" : address_.c_str(),
                      &address.sin_addr) != 1) {
            close(s);
            return false;
        }
        const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(s);
        return ok;
    }

    bool Prepare()
    {
        if (port_ == 0)
            port_ = FreePort();
        if (port_ == 0)
            return false;
        base_ = "/tmp/k5x7-second-server-" + std::to_string(getpid()) + "-" + std::to_string(port_);
        const QString base = QString::fromStdString(base_);
        QDir().mkpath(base + "/root");
        QDir().mkpath(base + "/lock");
        const QDir installed(kInstalledRoot);
        for (const QString& name : installed.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (name == "firebird.conf" || name == "databases.conf")
                continue;
            QFile::link(installed.filePath(name), base + "/root/" + name);
        }
        // Its own copy of the users: a SuperServer holds its security database alone.
        const QString security = base + "/security3.fdb";
        if (!QFile::copy(kSecurityDb, security))
            return false;
        QFile conf(base + "/root/firebird.conf");
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        conf.write(QString("RemoteServicePort = %1\nRemoteBindAddress = %3\n"
                           "SecurityDatabase = %2\nGuardianOption = 0\n")
                       .arg(port_)
                       .arg(security)
                       .arg(QString::fromStdString(address_))
                       .toUtf8());
        conf.close();
        QFile aliases(base + "/root/databases.conf");
        if (!aliases.open(QIODevice::WriteOnly))
            return false;
        aliases.write(
            QString("security.db = %1\n{\n  RemoteAccess = false\n}\n").arg(security).toUtf8());
        aliases.close();
        const passwd* user = getpwnam("firebird");
        const std::string chown = "chown -R firebird:firebird '" + base_ + "'";
        return user && std::system(chown.c_str()) == 0;
    }

    std::string address_;
    std::string base_;
    int port_ = 0;
    pid_t pid_ = 0;
};

// Tests that share one second server for their suite; each skips where this
// machine cannot run one and finds the server up when it starts.
class SecondServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new SecondServer; }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override
    {
        if (const std::string why = SecondServer::Unavailable(); !why.empty())
            GTEST_SKIP() << why;
        ASSERT_TRUE(server_->running() || server_->Start()) << "second server did not start";
    }

    // A derived SetUp goes on only when this one neither skipped nor failed.
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }

    static inline SecondServer* server_ = nullptr;
};

}  // namespace testing_support
