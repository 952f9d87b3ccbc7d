// One running instance: a later start hands its arguments to the first over a local socket in a
// folder only the user can enter, word for word; a folder that is not such is refused; another user
// squatting where the socket was or would be gets nothing, and cannot hand arguments in; and the
// real application, started twice, leaves the second start at once.
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/ScopedEnvironment.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/qt/InstanceChannel.h"

#include <QLocalSocket>
#include <QTest>

#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

bool isSocket(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// A process of the unprivileged user listening at `path` (making its folder first, open to all,
// when asked), as someone squatting the channel would. It counts the bytes of each connection it
// takes, until it is killed.
class Squatter {
public:
    Squatter(const std::string& path, bool makeFolder)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        const std::string folder = path.substr(0, path.rfind('/'));
        const uid_t uid = fixtures::unprivilegedUid();
        const gid_t gid = fixtures::unprivilegedGid();
        int ends[2];
        if (::pipe(ends) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            const int report = ends[1];
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(126);
            if (makeFolder && (::mkdir(folder.c_str(), 0777) != 0 || ::chmod(folder.c_str(), 0777) != 0))
                ::_exit(125);
            const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                ::chmod(address.sun_path, 0777) != 0 || ::listen(listener, 8) != 0)
                ::_exit(124);
            (void)!::write(report, "r", 1);
            for (;;) {
                const int connection = ::accept(listener, nullptr, nullptr);
                if (connection < 0)
                    continue;
                long total = 0;
                char buffer[4096];
                for (ssize_t n; (n = ::read(connection, buffer, sizeof buffer)) > 0;)
                    total += n;
                ::close(connection);
                (void)!::write(report, &total, sizeof total);
            }
        }
        ::close(ends[1]);
        report_ = ends[0];
        char ready = 0;
        ready_ = pid_ > 0 && waitReadable(5000) && ::read(report_, &ready, 1) == 1 && ready == 'r';
    }
    ~Squatter()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {}
        }
        if (report_ >= 0)
            ::close(report_);
    }

    bool ready() const { return ready_; }
    // Bytes of the connection it took next; 0 when none came within the time.
    long received(int timeoutMs = 1000)
    {
        long total = 0;
        return waitReadable(timeoutMs) && ::read(report_, &total, sizeof total) == sizeof total ? total : 0;
    }

private:
    bool waitReadable(int timeoutMs)
    {
        pollfd fd{report_, POLLIN, 0};
        return ::poll(&fd, 1, timeoutMs) == 1;
    }

    pid_t pid_ = -1;
    int report_ = -1;
    bool ready_ = false;
};

}  // namespace

class InstanceChannelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixtures::MacTree> tree;
    std::unique_ptr<fixtures::ScopedEnvironment> environment;

    // The shared temporary folder, sticky and open to all like /tmp.
    std::string sharedTemporary() const { return tree->at("/private/tmp"); }
    std::string ownFolder() const { return sharedTemporary() + "/ostrova-" + std::to_string(::geteuid()); }
    std::string runtimeFolder() const { return tree->at("/run/user"); }
    static std::string socketIn(const std::string& folder) { return folder + "/" + InstanceChannel::name().toStdString(); }

    // Puts a folder of one kind at `path`; false when this kind needs another user and there is none.
    bool makeFolder(const std::string& path, const QString& kind) const
    {
        if (kind == "none")
            return true;
        if (kind == "file") {
            tree->writeFile(path, "not a folder");
            return ::chmod(path.c_str(), 0600) == 0;
        }
        if (kind == "link")
            return makeFolder(path + ".real", "private") && ::symlink((path + ".real").c_str(), path.c_str()) == 0;
        if (kind == "foreign" && ::geteuid() != 0)
            return false;
        if (!platform::fs::makeDirectories(path))
            return false;
        const mode_t mode = kind == "private" || kind == "foreign" ? 0700 : kind == "group" ? 0750 : 0705;
        if (::chmod(path.c_str(), mode) != 0)
            return false;
        return kind != "foreign" || ::chown(path.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()) == 0;
    }

private slots:
    void init()
    {
        tree = std::make_unique<fixtures::MacTree>();
        tree->activate();
        environment = std::make_unique<fixtures::ScopedEnvironment>();
        environment->set("TMPDIR", sharedTemporary());
        // Never the real one of the machine.
        environment->unset("XDG_RUNTIME_DIR");
    }
    void cleanup()
    {
        environment.reset();
        tree.reset();
    }

    void aLaterStartHandsItsArgumentsOverWordForWord()
    {
        const QStringList sent{"/Applications/Ostrova.app/Contents/MacOS/Ostrova", "--review-remains", "com.example.kite",
                               "two words", QString::fromUtf8("Caf\u00e9")};
        QVERIFY(!InstanceChannel::handOver(sent));  // nobody listens yet

        InstanceChannel channel;
        QList<QStringList> received;
        QVERIFY(channel.listen([&](const QStringList& arguments) { received << arguments; }));
        QVERIFY(InstanceChannel::handOver(sent));
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first(), sent);
        QVERIFY(InstanceChannel::handOver({"Ostrova"}));
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received.last(), QStringList{"Ostrova"});

        // An oversized message is dropped, and the channel still serves the next start.
        const int settled = channel.settledConnections();
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(socketIn(ownFolder())));
        QVERIFY(socket.waitForConnected(1000));
        socket.write(QByteArray(200 * 1024, 'x'));
        socket.waitForBytesWritten(2000);
        socket.disconnectFromServer();
        QTRY_COMPARE(channel.settledConnections(), settled + 1);
        QCOMPARE(received.size(), 2);
        QVERIFY(InstanceChannel::handOver({"Ostrova"}));
        QTRY_COMPARE(received.size(), 3);

        // The name belongs to the user and the system root.
        const QString here = InstanceChannel::name();
        QVERIFY(here.contains(QString::number(::getuid())));
        fixtures::MacTree other;
        other.activate();
        QVERIFY(InstanceChannel::name() != here);
    }

    // What lies at $XDG_RUNTIME_DIR and at the folder of the user's own in the temporary folder,
    // and which of the two the channel takes ("" for neither: then there is no channel).
    void theChannelLivesInAFolderOnlyTheUserCanEnter_data()
    {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("taken");
        QTest::newRow("the runtime folder") << "private" << "none" << "runtime";
        QTest::newRow("no runtime folder: one made of the user's own") << "none" << "none" << "own";
        QTest::newRow("a runtime folder open to the group") << "group" << "none" << "own";
        QTest::newRow("a runtime folder open to others") << "open" << "none" << "own";
        QTest::newRow("a runtime folder that is a link") << "link" << "none" << "own";
        QTest::newRow("a runtime folder that is a file") << "file" << "none" << "own";
        QTest::newRow("another user's runtime folder") << "foreign" << "none" << "own";
        QTest::newRow("the user's own folder, made before") << "none" << "private" << "own";
        QTest::newRow("an own folder open to the group") << "none" << "group" << "";
        QTest::newRow("an own folder open to others") << "none" << "open" << "";
        QTest::newRow("an own folder that is a link") << "none" << "link" << "";
        QTest::newRow("an own folder that is a file") << "none" << "file" << "";
        QTest::newRow("another user's folder in its place") << "none" << "foreign" << "";
        QTest::newRow("a runtime folder is taken over a refused own one") << "private" << "open" << "runtime";
    }
    void theChannelLivesInAFolderOnlyTheUserCanEnter()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, own);
        QFETCH(QString, taken);
        if (!makeFolder(runtimeFolder(), runtime) || !makeFolder(ownFolder(), own))
            QSKIP("another user's folder is made by root");
        if (runtime != "none")
            environment->set("XDG_RUNTIME_DIR", runtimeFolder() + "/");
        const std::string expected = taken == "runtime" ? runtimeFolder() : taken == "own" ? ownFolder() : "";
        QCOMPARE(InstanceChannel::folder().toStdString(), expected);
        if (!expected.empty()) {
            struct stat st {};
            QCOMPARE(::lstat(expected.c_str(), &st), 0);
            QVERIFY(S_ISDIR(st.st_mode));
            QCOMPARE(st.st_uid, ::geteuid());
            QCOMPARE(st.st_mode & 07777, mode_t(0700));
        }

        InstanceChannel channel;
        QStringList received;
        QCOMPARE(channel.listen([&](const QStringList& arguments) { received = arguments; }), !expected.empty());
        QCOMPARE(InstanceChannel::handOver({"Ostrova", "--review-remains"}), !expected.empty());
        if (!expected.empty())
            QTRY_COMPARE(received, (QStringList{"Ostrova", "--review-remains"}));
        // The socket is made in the folder taken, nowhere else.
        for (const std::string& place : {runtimeFolder(), runtimeFolder() + ".real", ownFolder(), ownFolder() + ".real"})
            QVERIFY2(isSocket(socketIn(place)) == (place == expected), place.c_str());
        // And only its user may connect to it, whatever the folder lets through.
        if (!expected.empty()) {
            struct stat st {};
            QCOMPARE(::lstat(socketIn(expected).c_str(), &st), 0);
            QCOMPARE(st.st_mode & 077, mode_t(0));
        }
    }

    // Another user listening where the channel was (the shared temporary folder itself), in a folder
    // of the user's name it made first, or in the user's own folder while that was open to it: a
    // start hands it nothing and runs on its own.
    void aSquatterGetsNoArguments_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("listens");
        QTest::newRow("the shared temporary folder") << "shared" << true;
        QTest::newRow("a folder of the user's name made by another") << "squatted" << false;
        QTest::newRow("the user's own folder") << "own" << true;
    }
    void aSquatterGetsNoArguments()
    {
        if (::geteuid() != 0)
            QSKIP("another user is made by root");
        QFETCH(QString, where);
        QFETCH(bool, listens);
        std::string path = socketIn(where == "shared" ? sharedTemporary() : ownFolder());
        if (where == "own") {
            QCOMPARE(InstanceChannel::folder().toStdString(), ownFolder());
            QCOMPARE(::chmod(ownFolder().c_str(), 0777), 0);
        }
        Squatter squatter(path, where == "squatted");
        QVERIFY(squatter.ready());
        if (where == "own")
            QCOMPARE(::chmod(ownFolder().c_str(), 0700), 0);

        QVERIFY(!InstanceChannel::handOver({"Ostrova", "--review-remains", "com.example.kite"}));
        QCOMPARE(squatter.received(), 0L);
        // The start then runs on its own, with a channel of its own where one can be had.
        InstanceChannel channel;
        QStringList received;
        QCOMPARE(channel.listen([&](const QStringList& arguments) { received = arguments; }), listens);
        if (listens) {
            QVERIFY(InstanceChannel::handOver({"Ostrova"}));
            QTRY_COMPARE(received, QStringList{"Ostrova"});
        }
        QCOMPARE(squatter.received(200), 0L);
    }

    void anotherUserCanNeitherReachItNorHandArgumentsIn()
    {
        if (::geteuid() != 0)
            QSKIP("another user is made by root");
        InstanceChannel channel;
        QStringList received;
        QVERIFY(channel.listen([&](const QStringList& arguments) { received = arguments; }));
        const std::string path = socketIn(ownFolder());
        QVERIFY2(isSocket(path), path.c_str());
        const auto sendAsAnother = [&] {
            return fixtures::runUnprivileged([&] {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
                if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                    return errno == EACCES ? 1 : 2;
                const char message[] = "Ostrova\0--review-remains\0com.example.kite";
                return ::write(fd, message, sizeof message - 1) == ssize_t(sizeof message - 1) ? 0 : 3;
            });
        };
        QCOMPARE(sendAsAnother(), 1);
        // The socket open to all: the folder still keeps them out.
        QCOMPARE(::chmod(path.c_str(), 0777), 0);
        QCOMPARE(sendAsAnother(), 1);
        // The folder open too: they reach the socket, but what they send is not taken.
        QCOMPARE(::chmod(ownFolder().c_str(), 0711), 0);
        const int settled = channel.settledConnections();
        QCOMPARE(sendAsAnother(), 0);
        QTRY_COMPARE(channel.settledConnections(), settled + 1);
        QCOMPARE(received, QStringList{});
        QCOMPARE(::chmod(ownFolder().c_str(), 0700), 0);
        QVERIFY(InstanceChannel::handOver({"Ostrova"}));
        QTRY_COMPARE(received, QStringList{"Ostrova"});
    }

    // The real application: the second start leaves at once, the first stays.
    void theApplicationStartedAgainLeavesTheSecondStart()
    {
        const std::map<std::string, std::string> environment = {{"OSTROVA_ROOT", tree->root()}, {"HOME", tree->home()},
            {"TMPDIR", sharedTemporary()}, {"XDG_CONFIG_HOME", tree->at("~/.config")}, {"QT_QPA_PLATFORM", "offscreen"},
            {"OSTROVA_LAUNCHCTL", "/bin/false"}};
        fixtures::ScopedEnvironment scoped;
        for (const auto& [name, value] : environment)
            scoped.set(name, value);
        fixtures::BackgroundProcess first({OSTROVA_APP});
        const std::string path = socketIn(ownFolder());
        QTRY_VERIFY2_WITH_TIMEOUT(isSocket(path), path.c_str(), 20000);

        const auto second = fixtures::runProcess({OSTROVA_APP, "--review-remains", "com.example.kite"}, environment, "",
                                                 std::chrono::seconds(20));
        QVERIFY(!second.timedOut);
        QCOMPARE(second.exitCode, 0);
        QVERIFY(!first.ended(500));
    }
};

QTEST_MAIN(InstanceChannelTest)
#include "InstanceChannelTest.moc"
