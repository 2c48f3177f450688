#include "TestServer.h"

#include "TestRides.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QUuid>

namespace {
// The connection text with the given keywords' values replaced; the
// server's own texts are plain keyword=value pairs without quoting.
QString withValues(const QString& text, const QList<std::pair<QString, QString>>& values)
{
    QStringList pairs = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const auto& [keyword, value] : values) {
        const QString prefix = keyword + QLatin1Char('=');
        pairs.removeIf([&](const QString& pair) { return pair.startsWith(prefix); });
        pairs << prefix + value;
    }
    return pairs.join(QLatin1Char(' '));
}

// Databases and roles cannot be bound values: the names are made here of
// letters, digits and underscores only.
QString newDatabaseName()
{
    static QAtomicInt made;
    return QStringLiteral("rydex_test_%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(made.fetchAndAddRelaxed(1))
        .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
}
} // namespace

namespace TestServer {

QString adminText()
{
    const QString path = qEnvironmentVariable("RYDEX_TEST_SERVER");
    if (path.isEmpty())
        qFatal("RYDEX_TEST_SERVER is not set: run the tests through ctest, which starts the "
               "throwaway PostgreSQL server (scripts/test-server.sh)");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the throwaway PostgreSQL server is not running: %s cannot be read (%s)",
               qPrintable(path), qPrintable(file.errorString()));
    const QString text = QString::fromUtf8(file.readAll()).trimmed();
    if (text.isEmpty())
        qFatal("%s is empty", qPrintable(path));
    return text;
}

StoreLocation freshStore()
{
    const QString admin = adminText();
    const QString database = newDatabaseName();
    // Tests run side by side: two of them may make the role at once, and
    // the loser of that race is told the role exists.
    onOwnConnection(
        StoreLocation::server(admin),
        {
            QStringLiteral("DO $$ BEGIN "
                           "CREATE ROLE rydex_owner LOGIN NOSUPERUSER "
                           "NOCREATEDB NOCREATEROLE NOREPLICATION; "
                           "EXCEPTION WHEN duplicate_object OR "
                           "unique_violation THEN NULL; END $$"),
            QStringLiteral("CREATE DATABASE %1 OWNER rydex_owner STRATEGY FILE_COPY").arg(database),
        });
    return StoreLocation::server(
        withValues(admin, {{QStringLiteral("dbname"), database},
                           {QStringLiteral("user"), QStringLiteral("rydex_owner")}}));
}

} // namespace TestServer
