#include "secrets.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace xo::platform {

namespace {

const QString kService = QStringLiteral("xo");

class KeychainSecrets : public SecretStore {
public:
    bool available() override {
        if (!known_) {
            known_ = true;
            // Without a session bus the library would try to start one; a
            // desktop without it has no secret service either.
            available_ = !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
            if (available_) {
                QKeychain::ReadPasswordJob probe(kService);
                probe.setAutoDelete(false);
                probe.setKey(QStringLiteral("probe"));
                run(probe);
                available_ = probe.error() == QKeychain::NoError || probe.error() == QKeychain::EntryNotFound;
            }
        }
        return available_;
    }
    std::optional<QString> read(const QString &key) override {
        if (!available()) return std::nullopt;
        QKeychain::ReadPasswordJob job(kService);
        job.setAutoDelete(false);
        job.setKey(key);
        run(job);
        if (job.error() != QKeychain::NoError) return std::nullopt;
        return job.textData();
    }
    bool write(const QString &key, const QString &secret) override {
        if (!available()) return false;
        QKeychain::WritePasswordJob job(kService);
        job.setAutoDelete(false);
        job.setKey(key);
        job.setTextData(secret);
        run(job);
        return job.error() == QKeychain::NoError;
    }
    void remove(const QString &key) override {
        if (!available()) return;
        QKeychain::DeletePasswordJob job(kService);
        job.setAutoDelete(false);
        job.setKey(key);
        run(job);
    }

private:
    static void run(QKeychain::Job &job) {
        // Never the library's clear-text file in place of the service.
        job.setInsecureFallback(false);
        QEventLoop loop;
        QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
        job.start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    bool known_ = false;
    bool available_ = false;
};

SecretStore *installed = nullptr;

} // namespace

SecretStore &secrets() {
    static KeychainSecrets desktop;
    return installed ? *installed : desktop;
}

void setSecrets(SecretStore *store) { installed = store; }

std::optional<QString> SessionSecrets::read(const QString &key) {
    const auto it = secrets_.constFind(key);
    if (it == secrets_.cend()) return std::nullopt;
    return *it;
}

bool SessionSecrets::write(const QString &key, const QString &secret) {
    secrets_.insert(key, secret);
    return true;
}

void SessionSecrets::remove(const QString &key) { secrets_.remove(key); }

} // namespace xo::platform
