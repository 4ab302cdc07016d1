#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One running program per user session. A later launch hands its arguments to the
// running one over a local socket in the runtime folder and then ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `name` tells programs apart (tests run their own).
    explicit SingleInstance(const QString& name = QStringLiteral("quiverlane"));
    ~SingleInstance() override;

    // True when another instance is running and took `arguments`: this one should
    // end. Otherwise this instance becomes the one that later launches reach.
    bool passToRunningInstance(const QStringList& arguments);
    QString socketPath() const { return socketPath_; }

Q_SIGNALS:
    // A later launch, with its arguments (the program's name left out).
    void launched(const QStringList& arguments);

private:
    void readLaunch();

    QString socketPath_;
    QLocalServer* server_ = nullptr;
};
