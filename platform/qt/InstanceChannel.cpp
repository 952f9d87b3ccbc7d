#include "platform/qt/InstanceChannel.h"

#include "platform/PathUtil.h"
#include "platform/PeerCredentials.h"
#include "platform/ProcessIdentity.h"
#include "platform/SystemRoot.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

// What one start may hand over; more is not arguments of ours.
constexpr qint64 kLongestMessage = 64 * 1024;
constexpr int kConnectMs = 1000;
constexpr int kWriteMs = 2000;

// A real folder (not a link) of this user's that nobody else may enter or write into.
bool isPrivateFolder(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// Whether the process at the other end of a connected socket is this user's, as the kernel says.
bool peerIsThisUser(qintptr descriptor)
{
    if (descriptor < 0)
        return false;
    const auto peer = platform::peerCredentials(static_cast<int>(descriptor));
    if (!peer)
        return false;
    platform::process::closeHandle(peer->handle);
    return peer->uid == ::geteuid();
}

QString socketPath()
{
    const QString folder = InstanceChannel::folder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + InstanceChannel::name();
}

}  // namespace

QString InstanceChannel::name()
{
    const QByteArray root = QByteArray::fromStdString(platform::systemRoot());
    const QString digest = QString::fromLatin1(QCryptographicHash::hash(root, QCryptographicHash::Sha256).toHex().left(16));
    return QStringLiteral("com.qzt.ostrova-%1-%2").arg(::getuid()).arg(digest);
}

QString InstanceChannel::folder()
{
    const std::string runtime = platform::path::runtimeDirectory();
    if (!runtime.empty() && isPrivateFolder(runtime))
        return QString::fromStdString(runtime);
    // The temporary folder is shared: a folder of that name someone else made first, or one that
    // is not ours as it should be, is no place for the channel.
    const char* temporary = std::getenv("TMPDIR");
    const std::string base = platform::path::trimTrailingSlashes(temporary && temporary[0] == '/' ? temporary : "/tmp");
    const std::string own = base + "/ostrova-" + std::to_string(::geteuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(own) ? QString::fromStdString(own) : QString();
}

bool InstanceChannel::handOver(const QStringList& arguments)
{
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    if (!peerIsThisUser(socket.socketDescriptor())) {
        socket.abort();
        return false;
    }
    socket.write(arguments.join(QChar(0)).toUtf8());
    socket.flush();
    const bool written = socket.bytesToWrite() == 0 || socket.waitForBytesWritten(kWriteMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWriteMs);
    return written;
}

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listen(std::function<void(const QStringList&)> onArguments)
{
    const QString path = socketPath();
    if (path.isEmpty())
        return false;
    onArguments_ = std::move(onArguments);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) {
        // Nobody answered on it (handOver was tried first): what is left is a crashed instance's.
        QLocalServer::removeServer(path);
        if (!server_->listen(path))
            return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            if (!peerIsThisUser(socket->socketDescriptor())) {
                socket->abort();
                socket->deleteLater();
                ++settled_;
                continue;
            }
            auto message = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, this, [socket, message] {
                message->append(socket->readAll());
                if (message->size() > kLongestMessage)
                    socket->abort();
            });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket, message] {
                message->append(socket->readAll());
                socket->deleteLater();
                if (message->size() <= kLongestMessage && onArguments_)
                    onArguments_(QString::fromUtf8(*message).split(QChar(0)));
                ++settled_;
            });
        }
    });
    return true;
}
