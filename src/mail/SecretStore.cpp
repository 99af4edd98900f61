#include "mail/SecretStore.h"

#include <QEventLoop>

#include <qt6keychain/keychain.h>

namespace tav::mail {

namespace {

const QString kService = QStringLiteral("Tavirune");

SecretStore* g_store = nullptr;

// The keychain answers through its event loop; the few calls here wait
// for it, since the password is needed before going on.
template <typename Job> bool runJob(Job& job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

} // namespace

QString KeychainSecretStore::read(const QString& key)
{
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    return runJob(job) ? job.textData() : QString();
}

bool KeychainSecretStore::write(const QString& key, const QString& secret, QString* error)
{
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(secret);
    if (runJob(job))
        return true;
    if (error)
        *error = QStringLiteral("Le mot de passe n'a pas pu être enregistré dans le trousseau "
                                "du bureau : %1")
                     .arg(job.errorString());
    return false;
}

bool KeychainSecretStore::remove(const QString& key, QString* error)
{
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(key);
    if (runJob(job) || job.error() == QKeychain::EntryNotFound)
        return true;
    if (error)
        *error =
            QStringLiteral("Le mot de passe n'a pas pu être retiré du trousseau du bureau : %1")
                .arg(job.errorString());
    return false;
}

bool MemorySecretStore::write(const QString& key, const QString& secret, QString*)
{
    m_secrets.insert(key, secret);
    return true;
}

bool MemorySecretStore::remove(const QString& key, QString*)
{
    m_secrets.remove(key);
    return true;
}

QString smtpPasswordKey(const QString& user, const QString& host)
{
    return QStringLiteral("SMTP/") + user + u'@' + host;
}

SecretStore& secretStore()
{
    static KeychainSecretStore keychain;
    return g_store ? *g_store : keychain;
}

void setSecretStore(SecretStore* store)
{
    g_store = store;
}

} // namespace tav::mail
