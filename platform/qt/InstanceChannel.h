#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;

// One running instance of the application per user and system root. A Mac brings the running
// application forward and hands it what was opened; here a second start hands its arguments over
// a local socket to the first and leaves. The socket lies in a folder only the user can enter, and
// each end talks only to a process of the user's own (the kernel names the peer), so no other
// user can take a start's arguments or hand arguments to the user's instance.
class InstanceChannel : public QObject {
public:
    // The socket's name for this user and system root.
    static QString name();
    // The folder the socket lives in: the session's runtime folder (platform::path::runtimeDirectory,
    // $XDG_RUNTIME_DIR on Linux) when it is a real folder of the user's that
    // nobody else may enter, else "<TMPDIR or /tmp>/ostrova-<uid>", made with mode 0700 when
    // missing and held to the same. "" when there is no such folder (another user's in its place,
    // a link, one open to others): there is no channel then.
    static QString folder();
    // Hands `arguments` to the instance already running; true when one of the user's own took them.
    static bool handOver(const QStringList& arguments);

    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Listens for later starts; `onArguments` gets, on the main thread, the arguments of each start
    // of the user's own (others are dropped unread). False when the socket cannot be made (the
    // application then runs on its own).
    bool listen(std::function<void(const QStringList&)> onArguments);
    // Connections the channel is done with: taken, dropped or refused.
    int settledConnections() const { return settled_; }

private:
    std::unique_ptr<QLocalServer> server_;
    std::function<void(const QStringList&)> onArguments_;
    int settled_ = 0;
};
