#include "store/StoreLocation.h"

#include "base/MessageCatalogue.h"

#include <QDir>
#include <QRegularExpression>

StoreLocation StoreLocation::file(const QString& path)
{
    StoreLocation location;
    location.m_kind = Kind::File;
    location.m_text = path;
    return location;
}

StoreLocation StoreLocation::server(const QString& connectionText)
{
    StoreLocation location;
    location.m_kind = Kind::Server;
    location.m_text = connectionText.trimmed();
    return location;
}

QString StoreLocation::shown() const
{
    return isServer() ? m_text : QDir::toNativeSeparators(m_text);
}

namespace {
// The keywords of a libpq connection text, in the order written; a text
// that is a connection URI has none.
QStringList keywordsOf(const QString& text)
{
    static const QRegularExpression keyword(QStringLiteral("(?:^|\\s)([A-Za-z_]+)\\s*="));
    QStringList found;
    for (auto it = keyword.globalMatch(text); it.hasNext();)
        found << it.next().captured(1).toLower();
    return found;
}
} // namespace

std::optional<QString> StoreLocation::connectionTextProblem(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Msg::text(Msg::ServerTextEmpty);
    // The text is kept in the preference file: a password in it would be
    // written there for anyone who reads the file.
    const QStringList keywords = keywordsOf(trimmed);
    if (keywords.contains(QLatin1String("password")) ||
        QRegularExpression(QStringLiteral("^postgres(ql)?://[^/@]*:[^/@]*@"))
            .match(trimmed)
            .hasMatch())
        return Msg::text(Msg::ServerTextPassword);
    // Qt hands the options to libpq with every ";" turned into a space.
    if (trimmed.contains(QLatin1Char(';')) || trimmed.contains(QChar(0)))
        return Msg::text(Msg::ServerTextCharacter);
    if (keywords.isEmpty())
        return Msg::text(Msg::ServerTextNotUnderstood);
    return std::nullopt;
}

QString StoreLocation::withTimeLimits(const QString& text)
{
    const QStringList keywords = keywordsOf(text);
    QString result = text.trimmed();
    // Reaching a server: at most ten seconds. A connection that goes quiet
    // (a cable pulled, a laptop's network gone) is found out by the
    // keepalives and the send timeout within about ten seconds as well.
    const std::pair<const char*, const char*> limits[] = {
        {"connect_timeout", "10"},    {"keepalives", "1"},       {"keepalives_idle", "5"},
        {"keepalives_interval", "2"}, {"keepalives_count", "2"}, {"tcp_user_timeout", "10000"},
    };
    for (const auto& [name, value] : limits) {
        if (!keywords.contains(QLatin1String(name)))
            result +=
                QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=') + QLatin1String(value);
    }
    return result;
}
