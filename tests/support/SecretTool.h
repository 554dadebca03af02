#pragma once
// Looks at the Secret Service through libsecret's own command-line tool, independently of our code.

#include <QByteArray>
#include <QString>

#include <optional>

namespace SecretTool {

// Number of items filed under the attributes our keyring code uses for an account.
int itemCount(const QString &service, const QString &account);
// The secret's bytes, or none when there is no item.
std::optional<QByteArray> lookup(const QString &service, const QString &account);
// Files raw bytes as the secret of an account, the way our keyring code files text.
bool store(const QString &service, const QString &account, const QByteArray &secret);
void clear(const QString &service, const QString &account);

} // namespace SecretTool
