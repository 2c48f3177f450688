// The reading of a backup over damaged files: no crash, no hang; a file is
// either refused with the program's error or read whole (its cyclists' rides
// add up), and reading it leaves the file and its folder as they were.
//
// The first byte chooses what the rest is. Even: the file itself. Odd: edits
// of a real backup made at the first run, three bytes each (a position in
// the file, high byte first, and a value XORed into the byte there), so that
// the fuzzer reaches the pages beyond the header without a binary seed.

#include "FuzzSupport.h"

#include "backup/BackupContents.h"
#include "backup/BackupFile.h"
#include "store/ADOConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {
QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A backup of a store with two cyclists' rides and an import record.
QByteArray realBackup()
{
    const QString store = folder().filePath(QStringLiteral("Rydex.dat"));
    const QString target = folder().filePath(QStringLiteral("seed.rydexbackup"));
    {
        ADOConnection connection(store);
        connection.open();
        QSqlQuery q(connection.database());
        for (const char* sql :
             {"INSERT INTO rydex (date, user, day, month, year, time, dst, note) VALUES "
              "('2024-06-01 00:00:00', 'Eva', 1, 6, 2024, '01:00:00', 250000, 'a,\"b\"')",
              "INSERT INTO rydex (date, user, day, month, year, time, dst) VALUES "
              "('2025-01-02 00:00:00', 'Jan', 2, 1, 2025, '00:30:00', 100000)",
              "INSERT INTO imports VALUES ('ab', 1, 'a.fit', '2024-06-01T10:00:00')"})
            FUZZ_CHECK(q.exec(QString::fromLatin1(sql)), QString::fromLatin1(sql));
        BackupFile::Extras extras;
        extras.preferences = QByteArray("Rydex 2005 preferences 1\r\n");
        extras.taken = QDateTime::currentDateTimeUtc();
        BackupFile::write(connection.database(), target, extras);
    }
    const QByteArray bytes = readAll(target);
    FUZZ_CHECK(!bytes.isEmpty(), target);
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_backupfile";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static const QByteArray seed = realBackup();

    Fuzz::Input input(data, size);
    QByteArray bytes;
    if (input.byte() % 2 == 0) {
        bytes = input.rest();
    } else {
        bytes = seed;
        const QByteArray edits = input.rest();
        for (qsizetype i = 0; i + 2 < edits.size(); i += 3) {
            const qsizetype at = (quint8(edits[i]) << 8 | quint8(edits[i + 1])) % bytes.size();
            bytes[at] = char(bytes[at] ^ edits[i + 2]);
        }
    }
    const QString dir = folder().filePath(QStringLiteral("case"));
    QDir(dir).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(dir), dir);
    const QString path = QDir(dir).filePath(QStringLiteral("b.rydexbackup"));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly), f.errorString());
        FUZZ_CHECK(f.write(bytes) == bytes.size(), f.errorString());
    }
    Fuzz::acceptingRydexError([&] {
        const BackupContents contents = readBackup(path);
        int rides = 0;
        for (const BackupContents::Cyclist& c : contents.cyclists)
            rides += c.rides;
        FUZZ_CHECK(rides == contents.rides, QString::number(rides));
        FUZZ_CHECK(contents.taken.isValid(), path);
    });
    FUZZ_CHECK(readAll(path) == bytes, path);
    const QStringList left = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    FUZZ_CHECK(left == QStringList{QStringLiteral("b.rydexbackup")}, left.join(QLatin1Char(' ')));
    return 0;
}
