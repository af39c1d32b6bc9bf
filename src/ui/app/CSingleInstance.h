#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

// One running Quillbox per user: a lock file decides who runs, and a local socket beside it lets
// a second start hand its command-line file to the first. A lock left by a dead process is stale
// and taken over.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // folder: where the lock and the socket live (the user's runtime folder by default).
    explicit CSingleInstance(QString folder = DefaultFolder(), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is now the one instance; it then listens for later starts.
    bool TryBecomePrimary();
    // From a second start: ask the first to come to the front and open file. False when no
    // instance answered.
    bool HandOver(const QString& file, int timeoutMs = 3000);

    static QString DefaultFolder();

signals:
    void activationRequested(const QString& file);

private:
    void OnNewConnection();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
