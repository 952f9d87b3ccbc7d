#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;

// One running instance of the application per user and system root. A Mac brings the running
// application forward and hands it what was opened; here a second start hands its arguments over
// a local socket (only the user's own) to the first and leaves.
class InstanceChannel : public QObject {
public:
    // The socket's name for this user and system root.
    static QString name();
    // Hands `arguments` to the instance already running; true when one took them.
    static bool handOver(const QStringList& arguments);

    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Listens for later starts; `onArguments` gets, on the main thread, the arguments of each.
    // False when the socket cannot be made (the application then runs on its own).
    bool listen(std::function<void(const QStringList&)> onArguments);

private:
    std::unique_ptr<QLocalServer> server_;
    std::function<void(const QStringList&)> onArguments_;
};
