// One running instance: a later start hands its arguments to the first over the user's own local
// socket, word for word; nobody else can reach it; and the real application, started twice, leaves
// the second start at once.
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/MacTree.h"
#include "fixtures/ScopedEnvironment.h"
#include "fixtures/Unprivileged.h"
#include "platform/FileSystem.h"
#include "platform/qt/InstanceChannel.h"

#include <QLocalSocket>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

class InstanceChannelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixtures::MacTree> tree;

    std::string socketPath() const { return tree->temporaryDirectory() + InstanceChannel::name().toStdString(); }

private slots:
    void init()
    {
        tree = std::make_unique<fixtures::MacTree>();
        tree->activate();
    }
    void cleanup() { tree.reset(); }

    void theNameBelongsToTheUserAndTheSystemRoot()
    {
        const QString here = InstanceChannel::name();
        QVERIFY(here.contains(QString::number(::getuid())));
        fixtures::MacTree other;
        other.activate();
        QVERIFY(InstanceChannel::name() != here);
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
    }

    void anOversizedMessageIsDropped()
    {
        InstanceChannel channel;
        int received = 0;
        QVERIFY(channel.listen([&](const QStringList&) { ++received; }));
        QLocalSocket socket;
        socket.connectToServer(InstanceChannel::name());
        QVERIFY(socket.waitForConnected(1000));
        socket.write(QByteArray(200 * 1024, 'x'));
        socket.waitForBytesWritten(2000);
        socket.disconnectFromServer();
        QTest::qWait(300);
        QCOMPARE(received, 0);
        // The channel still serves the next start.
        QVERIFY(InstanceChannel::handOver({"Ostrova"}));
        QTRY_COMPARE(received, 1);
    }

    void anotherUserCannotReachIt()
    {
        if (::geteuid() != 0)
            QSKIP("another user is made by root");
        InstanceChannel channel;
        QVERIFY(channel.listen([](const QStringList&) {}));
        const std::string path = socketPath();
        QVERIFY2(platform::fs::exists(path), path.c_str());
        const auto tryAsAnother = [&] {
            return fixtures::runUnprivileged([&] {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
                const int result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
                return result == 0 ? 0 : (errno == EACCES ? 1 : 2);
            });
        };
        QCOMPARE(tryAsAnother(), 1);
        // The folder is open to them: the socket's own rights are what keeps them out.
        QCOMPARE(::chmod(path.c_str(), 0777), 0);
        QCOMPARE(tryAsAnother(), 0);
    }

    // The real application: the second start leaves at once, the first stays.
    void theApplicationStartedAgainLeavesTheSecondStart()
    {
        const std::map<std::string, std::string> environment = {
            {"OSTROVA_ROOT", tree->root()},          {"HOME", tree->home()},
            {"TMPDIR", tree->temporaryDirectory()},  {"XDG_CONFIG_HOME", tree->at("~/.config")},
            {"QT_QPA_PLATFORM", "offscreen"},        {"OSTROVA_LAUNCHCTL", "/bin/false"}};
        fixtures::ScopedEnvironment scoped;
        for (const auto& [name, value] : environment)
            scoped.set(name, value);
        fixtures::BackgroundProcess first({OSTROVA_APP});
        QTRY_VERIFY2_WITH_TIMEOUT(platform::fs::exists(socketPath()), qPrintable(QString::fromStdString(socketPath())), 20000);

        const auto second = fixtures::runProcess({OSTROVA_APP, "--review-remains", "com.example.kite"}, environment, "",
                                                 std::chrono::seconds(20));
        QVERIFY(!second.timedOut);
        QCOMPARE(second.exitCode, 0);
        QVERIFY(!first.ended(500));
    }
};

QTEST_MAIN(InstanceChannelTest)
#include "InstanceChannelTest.moc"
