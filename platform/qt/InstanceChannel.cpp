#include "platform/qt/InstanceChannel.h"

#include "platform/SystemRoot.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

// What one start may hand over; more is not arguments of ours.
constexpr qint64 kLongestMessage = 64 * 1024;
constexpr int kConnectMs = 1000;
constexpr int kWriteMs = 2000;

}  // namespace

QString InstanceChannel::name()
{
    const QByteArray root = QByteArray::fromStdString(platform::systemRoot());
    const QString digest = QString::fromLatin1(QCryptographicHash::hash(root, QCryptographicHash::Sha256).toHex().left(16));
    return QStringLiteral("com.qzt.ostrova-%1-%2").arg(::getuid()).arg(digest);
}

bool InstanceChannel::handOver(const QStringList& arguments)
{
    QLocalSocket socket;
    socket.connectToServer(name());
    if (!socket.waitForConnected(kConnectMs))
        return false;
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
    onArguments_ = std::move(onArguments);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name())) {
        // Nobody answered on it (handOver was tried first): what is left is a crashed instance's.
        QLocalServer::removeServer(name());
        if (!server_->listen(name()))
            return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
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
            });
        }
    });
    return true;
}
