#pragma once
// Passwords kept by the desktop's secret service, never in a file of ours.
// Where no secret service runs, the store says so and keeps nothing.

#include <QHash>
#include <QString>
#include <optional>

namespace xo::platform {

class SecretStore {
public:
    virtual ~SecretStore() = default;
    // False when no secret service answers; decided once per session.
    virtual bool available() = 0;
    // The stored secret; nullopt when there is none or no service.
    virtual std::optional<QString> read(const QString &key) = 0;
    virtual bool write(const QString &key, const QString &secret) = 0;
    virtual void remove(const QString &key) = 0;
};

// The session's store: the desktop's secret service through QtKeychain,
// unless a test installed another.
SecretStore &secrets();
// Installs `store` (not owned); nullptr restores the desktop's.
void setSecrets(SecretStore *store);

// A store in memory, for the session only (and for tests).
class SessionSecrets : public SecretStore {
public:
    bool available() override { return true; }
    std::optional<QString> read(const QString &key) override;
    bool write(const QString &key, const QString &secret) override;
    void remove(const QString &key) override;

private:
    QHash<QString, QString> secrets_;
};

} // namespace xo::platform
