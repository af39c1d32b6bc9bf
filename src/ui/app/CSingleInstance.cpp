#include "app/CSingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace {
constexpr char kActivate[] = "QUILLBOX-ACTIVATE\n";
}

CSingleInstance::CSingleInstance(QString folder, QObject* parent) : QObject(parent), m_folder(std::move(folder)) {
    QDir().mkpath(m_folder);
}

CSingleInstance::~CSingleInstance() {
    if (m_server) m_server->close();
}

QString CSingleInstance::DefaultFolder() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(runtime).exists())
        runtime = QDir::tempPath() + QStringLiteral("/quillbox-") + QString::number(::getuid());
    return runtime;
}

bool CSingleInstance::TryBecomePrimary() {
    m_lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/quillbox.lock"));
    // Age alone never makes a lock stale: only a lock whose process is gone is taken over.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    const QString name = m_folder + QStringLiteral("/quillbox.socket");
    QLocalServer::removeServer(name); // a socket file left by a crashed run
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    m_server->listen(name);
    return true;
}

bool CSingleInstance::HandOver(const QString& file, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(m_folder + QStringLiteral("/quillbox.socket"));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kActivate);
    socket.write(file.toUtf8());
    socket.write("\n");
    socket.flush();
    const bool ok = socket.waitForBytesWritten(timeoutMs) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return ok;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        auto finish = [this, socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->startsWith(kActivate)) {
                QByteArray rest = buffer->mid(int(sizeof kActivate) - 1);
                if (rest.endsWith('\n')) rest.chop(1);
                emit activationRequested(QString::fromUtf8(rest));
            }
            buffer->clear();
            socket->deleteLater();
        };
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] { buffer->append(socket->readAll()); });
        connect(socket, &QLocalSocket::disconnected, this, finish);
    }
}
