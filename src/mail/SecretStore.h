#pragma once

#include <QMap>
#include <QString>

namespace tav::mail {

// Where the SMTP password is kept: the desktop's secret store in the
// program, memory in tests. Never the settings file.
class SecretStore
{
public:
    virtual ~SecretStore() = default;
    // An empty text when nothing is stored or the store cannot be read.
    virtual QString read(const QString& key) = 0;
    // False with a French message when the store refuses.
    virtual bool write(const QString& key, const QString& secret, QString* error) = 0;
    virtual bool remove(const QString& key, QString* error) = 0;
};

// The desktop's secret store through QtKeychain (Secret Service, KWallet).
class KeychainSecretStore : public SecretStore
{
public:
    QString read(const QString& key) override;
    bool write(const QString& key, const QString& secret, QString* error) override;
    bool remove(const QString& key, QString* error) override;
};

class MemorySecretStore : public SecretStore
{
public:
    QString read(const QString& key) override { return m_secrets.value(key); }
    bool write(const QString& key, const QString& secret, QString* error) override;
    bool remove(const QString& key, QString* error) override;
    const QMap<QString, QString>& secrets() const { return m_secrets; }

private:
    QMap<QString, QString> m_secrets;
};

// The key of the SMTP password of a user on a server.
QString smtpPasswordKey(const QString& user, const QString& host);

// The store the program uses; tests replace it. Not owned by the caller.
SecretStore& secretStore();
void setSecretStore(SecretStore* store); // nullptr: back to the keychain

} // namespace tav::mail
