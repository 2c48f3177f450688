#include "TestMain.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "prefs/PreferenceStore.h"
#include "settings/StoreChoice.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <memory>

namespace {
const QString fixtures = QStringLiteral(RYDEX_FIXTURES "/preferences/");

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <typename F> QString errorOf(F&& f)
{
    try {
        f();
    } catch (const RydexError& e) {
        return e.text();
    }
    return QStringLiteral("(no error)");
}

// The store's own words, without the line that says which file stood in the way.
template <typename F> QString firstLineOf(F&& f)
{
    return errorOf(std::forward<F>(f)).section(QLatin1Char('\n'), 0, 0);
}

// The permission bits only, without the "current user" flags Qt adds.
QFileDevice::Permissions modeOf(const QString& path)
{
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                     QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                     QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFileInfo(path).permissions() & all;
}

constexpr auto ownerRw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr auto ownerRwx = ownerRw | QFileDevice::ExeOwner;
} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;

    void install(const QString& fixture)
    {
        QVERIFY(QFile::copy(fixtures + fixture, m_file));
        QFile::setPermissions(m_file, ownerRw);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>(TestEnv::root() + QStringLiteral("/prefs-XXXXXX"));
        m_file = m_dir->filePath(QStringLiteral("Brontel/Rydex 2005.conf"));
    }
    void cleanup()
    {
        QFile::setPermissions(m_dir->path(), ownerRwx);
        QFile::setPermissions(m_dir->filePath(QStringLiteral("Brontel")), ownerRwx);
        m_dir.reset();
    }

    void keysAndLetterCase()
    {
        PreferenceStore store(m_file);
        QVERIFY(!store.openKey(PreferenceStore::cyclistsKeyPath(), false).exists());
        QVERIFY(!QFile::exists(m_file));

        PreferenceKey users = store.openKey(PreferenceStore::cyclistsKeyPath());
        QVERIFY(users.exists());
        QVERIFY(store.openKey(QStringLiteral("software\\Brontel"), false).exists());
        for (const char* name : {"Petr", "eva", "Jan"})
            users.createSubkey(QString::fromLatin1(name));
        const QStringList listed{"eva", "Jan", "Petr"};
        QCOMPARE(users.subkeys(), listed);

        PreferenceKey shouted =
            store.openKey(QStringLiteral("SOFTWARE\\brontel\\RYDEX 2005\\Users"));
        QCOMPARE(shouted.subkeys(), listed);
        const QByteArray before = contentOf(m_file);
        shouted.createSubkey(QStringLiteral("EVA"));
        QCOMPARE(contentOf(m_file), before);
        QCOMPARE(users.subkeys(), listed);

        PreferenceKey eva = users.subkey(QStringLiteral("eva"));
        eva.writeText(QStringLiteral("Skin"), QStringLiteral("a"));
        eva.writeText(QStringLiteral("SKIN"), QStringLiteral("b"));
        QCOMPARE(eva.readText(QStringLiteral("skin"), QString()), QStringLiteral("b"));
        QCOMPARE(eva.valueNames(), QStringList{QStringLiteral("Skin")});
    }

    void oneKeyName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("backslash")
            << QStringLiteral("Jan\\Novák") << QByteArray("\\Jan%5CNov\xc3\xa1k]");
        QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QByteArray("\\O'Brien]");
        QTest::newRow("escape chars")
            << QStringLiteral("100% ]x[") << QByteArray("\\100%25 %5Dx[]");
        QTest::newRow("line break") << QStringLiteral("a\nb") << QByteArray("\\a%0Ab]");
        QTest::newRow("spaces") << QStringLiteral(" eva ") << QByteArray("\\ eva ]");
    }
    void oneKeyName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, header);
        PreferenceStore(m_file)
            .openKey(PreferenceStore::cyclistsKeyPath())
            .subkey(name)
            .writeInteger(QStringLiteral("DefaultGraf"), 3);
        QVERIFY(contentOf(m_file).contains("users" + header + "\n\"DefaultGraf\"=\"3\"\n"));

        PreferenceStore other(m_file);
        PreferenceKey users = other.openKey(PreferenceStore::cyclistsKeyPath());
        QCOMPARE(users.subkeys(), QStringList{name});
        QCOMPARE(users.subkey(name, false).readInteger(QStringLiteral("DefaultGraf"), 1), 3);
        users.deleteSubkey(name);
        QVERIFY(users.subkeys().isEmpty());
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QString() << 7;
        QTest::newRow("2") << QStringLiteral("2") << 2;
        QTest::newRow("-1") << QStringLiteral("-1") << -1;
        QTest::newRow("0") << QStringLiteral("0") << 0;
        QTest::newRow("+4") << QStringLiteral("+4") << 4;
        QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
        QTest::newRow("int max") << QStringLiteral("2147483647") << 2147483647;
        QTest::newRow("int min") << QStringLiteral("-2147483648") << int(-2147483647 - 1);
        QTest::newRow("overflow") << QStringLiteral("2147483648") << 7;
        QTest::newRow("letters") << QStringLiteral("abc") << 7;
        QTest::newRow("empty") << QStringLiteral("") << 7;
        QTest::newRow("sign only") << QStringLiteral("-") << 7;
        QTest::newRow("leading space") << QStringLiteral(" 5") << 7;
        QTest::newRow("trailing space") << QStringLiteral("5 ") << 7;
        QTest::newRow("fraction") << QStringLiteral("1.5") << 7;
        QTest::newRow("hex") << QStringLiteral("0x10") << 7;
        QTest::newRow("other digits") << QStringLiteral("\u0663") << 7;
    }
    void readInteger()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        PreferenceKey key = PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
        if (!stored.isNull())
            key.writeText(QStringLiteral("n"), stored);
        QCOMPARE(key.readInteger(QStringLiteral("N"), 7), expected);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString(QLatin1String(""));
        QTest::newRow("path") << QStringLiteral("C:\\Rydex \"2005\"\\RX05TdF.sui");
        QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree\\n");
        QTest::newRow("section-like") << QStringLiteral("\n[software]\n\"x\"=\"y\"");
        QTest::newRow("czech") << QStringLiteral("Žluťoučký kůň");
    }
    void texts()
    {
        QFETCH(QString, text);
        PreferenceStore(m_file)
            .openKey(PreferenceStore::programKeyPath())
            .writeText(QStringLiteral("lng"), text);
        PreferenceKey key = PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
        const QString read = key.readText(QStringLiteral("lng"), QStringLiteral("default"));
        QCOMPARE(read, text);
        QVERIFY(!read.isNull());
        QCOMPARE(key.readText(QStringLiteral("skin"), QStringLiteral("default")),
                 QStringLiteral("default"));
        key.writeInteger(QStringLiteral("CurrentYear"), -3);
        QVERIFY(contentOf(m_file).contains("\n\"CurrentYear\"=\"-3\"\n"));
        QVERIFY(contentOf(m_file).startsWith("Rydex 2005 preferences 1\n"));
    }

    // The store chosen, as the file holds it: read back whatever wrote it,
    // and a password never reaching the file.
    void storeChoice_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("expected"); // "file" or the connection text
        const QString club = QStringLiteral("host=db.club.org dbname=club user=jan");
        QTest::newRow("nothing stored") << QString() << QString() << QStringLiteral("file");
        QTest::newRow("server") << QStringLiteral("server") << club << club;
        QTest::newRow("letter case, blanks") << QStringLiteral(" Server ") << club << club;
        QTest::newRow("file, text kept")
            << QStringLiteral("file") << club << QStringLiteral("file");
        QTest::newRow("unknown word") << QStringLiteral("cloud") << club << QStringLiteral("file");
        // Told why it does not open rather than quietly writing here.
        QTest::newRow("server without a text")
            << QStringLiteral("server") << QString() << QString();
    }
    void storeChoice()
    {
        QFETCH(QString, store);
        QFETCH(QString, server);
        QFETCH(QString, expected);
        const QString path = QStringLiteral("/data/Rydex.dat");
        {
            PreferenceKey key = PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
            if (!store.isNull())
                key.writeText(QStringLiteral("store"), store);
            if (!server.isNull())
                key.writeText(QStringLiteral("server"), server);
        }
        PreferenceKey key = PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
        const StoreLocation read = StoreChoice::read(key, path);
        QCOMPARE(read.isServer() ? read.connectionText() : QStringLiteral("file"), expected);
        if (!read.isServer())
            QCOMPARE(read.filePath(), path);
        QCOMPARE(StoreChoice::serverText(key), server.trimmed());

        // Written and read back through another store on the same file.
        const QString other = QStringLiteral("service=club");
        StoreChoice::write(key, StoreLocation::server(other));
        PreferenceKey again = PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
        QCOMPARE(StoreChoice::read(again, path), StoreLocation::server(other));
        StoreChoice::write(again, StoreLocation::file(path));
        QCOMPARE(StoreChoice::read(key, path), StoreLocation::file(path));
        QCOMPARE(StoreChoice::serverText(key), other);

        // A text with a password is refused whole: nothing of it is written.
        const QByteArray before = contentOf(m_file);
        for (const QString& secret : {QStringLiteral("service=club password=Tajne123"),
                                      QStringLiteral("postgresql://jan:Tajne123@db/club")}) {
            QCOMPARE(errorOf([&] { StoreChoice::write(key, StoreLocation::server(secret)); }),
                     Msg::text(Msg::ServerTextPassword));
            QCOMPARE(contentOf(m_file), before);
        }
        QVERIFY(!contentOf(m_file).contains("Tajne123"));
    }

    void handWrittenFile()
    {
        QDir().mkpath(QFileInfo(m_file).path());
        install(QStringLiteral("valid.conf"));
        PreferenceStore store(m_file);
        QCOMPARE(store.check(), std::nullopt);
        PreferenceKey program = store.openKey(PreferenceStore::programKeyPath());
        QCOMPARE(program.readText(QStringLiteral("skin"), QString()),
                 QStringLiteral("C:\\Program Files\\Rydex 2005\\RX05TdF.sui"));
        QVERIFY(program.hasValue(QStringLiteral("COUNT")));
        QCOMPARE(errorOf([&] { program.readText(QStringLiteral("count"), QString()); }),
                 QStringLiteral("Invalid data type for 'count'"));
        QCOMPARE(errorOf([&] { program.readInteger(QStringLiteral("Blob"), 1); }),
                 QStringLiteral("Invalid data type for 'Blob'"));

        PreferenceKey users = store.openKey(PreferenceStore::cyclistsKeyPath());
        QCOMPARE(users.subkeys(), (QStringList{"eva", QStringLiteral("Jan\\Novák")}));
        PreferenceKey jan = users.subkey(QStringLiteral("Jan\\Novák"), false);
        QCOMPARE(jan.readText(QStringLiteral("note"), QString()),
                 QStringLiteral("two\nlines, \"quoted\""));

        // Values of other types survive a write to their key untouched.
        program.writeText(QStringLiteral("lng"), QStringLiteral("czech"));
        const QByteArray written = contentOf(m_file);
        QVERIFY(written.contains("\"count\"=dword:00000005\n\"blob\"=hex:00,01,02,\\\n03,04\n"));
        QCOMPARE(users.subkeys().size(), 2);
        program.writeInteger(QStringLiteral("count"), 5);
        QCOMPARE(program.readInteger(QStringLiteral("count"), 0), 5);
    }

    // Values of other types go on over lines ending in "\"; such a value at
    // the end of the file must not swallow what a rewrite puts after it.
    void rewriteKeepsEveryValue_data()
    {
        QTest::addColumn<QByteArray>("eva");
        QTest::newRow("continued at the end, same name earlier")
            << QByteArray("\"Blob\"=hex:00\n\"CurrentYear\"=\"2004\"\n\"blob\"=hex:01,\\");
        QTest::newRow("continued at the end, line break")
            << QByteArray("\"Blob\"=hex:00\n\"CurrentYear\"=\"2004\"\n\"blob\"=hex:01,\\\n");
    }
    void rewriteKeepsEveryValue()
    {
        QFETCH(QByteArray, eva);
        QDir().mkpath(QFileInfo(m_file).path());
        QFile f(m_file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[software\\Brontel\\Rydex 2005\\users\\eva]\n" + eva);
        f.close();
        const auto evaKey = [this] {
            return PreferenceStore(m_file)
                .openKey(PreferenceStore::cyclistsKeyPath())
                .subkey(QStringLiteral("eva"), false);
        };
        const QStringList names = evaKey().valueNames();
        QCOMPARE(evaKey().readText(QStringLiteral("CurrentYear"), QString()),
                 QStringLiteral("2004"));

        for (int write = 0; write < 2; ++write) {
            PreferenceStore(m_file)
                .openKey(PreferenceStore::programKeyPath())
                .writeText(QStringLiteral("lng"), QStringLiteral("czech%1").arg(write));
            QCOMPARE(evaKey().valueNames(), names);
            QCOMPARE(evaKey().readText(QStringLiteral("CurrentYear"), QString()),
                     QStringLiteral("2004"));
        }
    }

    void deleteSubkey()
    {
        PreferenceStore store(m_file);
        PreferenceKey users = store.openKey(PreferenceStore::cyclistsKeyPath());
        PreferenceKey eva = users.subkey(QStringLiteral("eva"));
        eva.writeInteger(QStringLiteral("DefaultGraf"), 3);
        eva.subkey(QStringLiteral("inner"))
            .subkey(QStringLiteral("deeper"))
            .writeText(QStringLiteral("secret"), QStringLiteral("x"));
        users.subkey(QStringLiteral("Jan")).writeInteger(QStringLiteral("0"), 0);

        users.deleteSubkey(QStringLiteral("EVA"));
        QCOMPARE(users.subkeys(), QStringList{QStringLiteral("Jan")});
        QVERIFY(!contentOf(m_file).contains("secret"));
        users.deleteSubkey(QStringLiteral("nobody"));
        users.deleteSubkey(QString());
        QVERIFY(users.exists());

        users.createSubkey(QStringLiteral("eva"));
        QCOMPARE(users.subkey(QStringLiteral("eva")).readInteger(QStringLiteral("DefaultGraf"), 1),
                 1);
        QVERIFY(
            !users.subkey(QStringLiteral("eva")).subkey(QStringLiteral("inner"), false).exists());
        QCOMPARE(users.subkey(QStringLiteral("Jan")).readInteger(QStringLiteral("0"), 1), 0);
    }

    void twoStoresOnOneFile()
    {
        PreferenceStore first(m_file);
        PreferenceStore second(m_file);
        PreferenceKey a = first.openKey(PreferenceStore::programKeyPath());
        PreferenceKey b = second.openKey(PreferenceStore::programKeyPath());
        a.writeText(QStringLiteral("lng"), QStringLiteral("czech"));
        b.writeText(QStringLiteral("skin"), QStringLiteral("/x.sui"));
        a.writeInteger(QStringLiteral("0"), 0);
        QCOMPARE(b.readText(QStringLiteral("lng"), QString()), QStringLiteral("czech"));
        QCOMPARE(a.readText(QStringLiteral("skin"), QString()), QStringLiteral("/x.sui"));
        QCOMPARE(b.readInteger(QStringLiteral("0"), 1), 0);

        first.openKey(PreferenceStore::cyclistsKeyPath()).createSubkey(QStringLiteral("eva"));
        PreferenceKey evaHeld = first.openKey(PreferenceStore::cyclistsKeyPath() + "\\eva");
        QCOMPARE(second.openKey(PreferenceStore::cyclistsKeyPath()).subkeys(),
                 QStringList{QStringLiteral("eva")});
        // A key deleted by the other program comes back on the next write.
        second.openKey(PreferenceStore::cyclistsKeyPath()).deleteSubkey(QStringLiteral("eva"));
        QVERIFY(!evaHeld.exists());
        evaHeld.writeInteger(QStringLiteral("CurrentYear"), 2005);
        QCOMPARE(b.readText(QStringLiteral("lng"), QString()), QStringLiteral("czech"));
        QCOMPARE(evaHeld.readInteger(QStringLiteral("CurrentYear"), 0), 2005);
    }

    // Two programs writing at the same moment: the lock beside the file keeps
    // each from writing back content that misses the other's latest value.
    void simultaneousWriters()
    {
        PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
        const auto writer = [this](const QString& prefix) {
            PreferenceKey key = PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath());
            for (int i = 0; i < 20; ++i)
                key.writeInteger(prefix + QString::number(i), i);
        };
        std::unique_ptr<QThread> other(QThread::create(writer, QStringLiteral("b")));
        other->start();
        writer(QStringLiteral("a"));
        QVERIFY(other->wait(60000));
        QCOMPARE(
            PreferenceStore(m_file).openKey(PreferenceStore::programKeyPath()).valueNames().size(),
            40);

        // A value the file holds already is no change: it waits for no lock
        // (a year written again at every sign-in).
        QLockFile held(m_file + QStringLiteral(".lock"));
        QVERIFY(held.tryLock(0));
        QElapsedTimer waited;
        waited.start();
        PreferenceStore(m_file)
            .openKey(PreferenceStore::programKeyPath())
            .writeInteger(QStringLiteral("a3"), 3);
        QVERIFY2(waited.elapsed() < 1000, qPrintable(QString::number(waited.elapsed())));
    }

    void readOnly()
    {
        PreferenceStore store(m_file);
        PreferenceKey program = store.openKey(PreferenceStore::programKeyPath());
        program.writeText(QStringLiteral("lng"), QStringLiteral("czech"));
        const QByteArray before = contentOf(m_file);

        QVERIFY(QFile::setPermissions(m_file, QFileDevice::ReadOwner));
        QCOMPARE(errorOf([&] { program.writeText(QStringLiteral("lng"), QStringLiteral("x")); }),
                 QStringLiteral("Failed to set data for 'lng'.\n") +
                     Msg::format(Msg::PreferenceFileNotWritable, {m_file, "Permission denied"}));
        QCOMPARE(firstLineOf([&] { program.createSubkey(QStringLiteral("users")); }),
                 QStringLiteral("Failed to create key users."));
        QCOMPARE(program.readText(QStringLiteral("lng"), QString()), QStringLiteral("czech"));
        QCOMPARE(contentOf(m_file), before);

        QVERIFY(QFile::setPermissions(m_file, ownerRw));
        program.createSubkey(QStringLiteral("users"));
        const QString dir = QFileInfo(m_file).path();
        QVERIFY(QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QCOMPARE(firstLineOf([&] { program.deleteSubkey(QStringLiteral("Users")); }),
                 Msg::format(Msg::RegDeleteFailed, {QStringLiteral("Users")}) + u'.');
        QCOMPARE(errorOf([&] { program.writeInteger(QStringLiteral("0"), 1); }),
                 QStringLiteral("Failed to set data for '0'.\n") +
                     Msg::format(Msg::PreferenceFolderNotWritable, {dir, m_file}));
        QVERIFY(program.subkey(QStringLiteral("users"), false).exists());

        // Nothing may be created below a read-only directory either; opening
        // such a key is no error, a write to it names the folder in the way.
        const QString belowFile = dir + QStringLiteral("/sub/Rydex 2005.conf");
        PreferenceStore below(belowFile);
        PreferenceKey brontel = below.openKey(QStringLiteral("software\\Brontel"));
        QVERIFY(!brontel.exists());
        QCOMPARE(brontel.readInteger("x", 4), 4);
        QCOMPARE(brontel.subkey(QStringLiteral("Eva")).readText("lng", "english"), "english");
        QCOMPARE(errorOf([&] { brontel.writeInteger(QStringLiteral("x"), 1); }),
                 QStringLiteral("Failed to set data for 'x'.\n") +
                     Msg::format(Msg::PreferenceFolderNotWritable, {dir, belowFile}));
        QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/sub")));
    }

    void damaged_data()
    {
        const QString program = QStringLiteral("software\\Brontel\\Rydex 2005\\");
        QTest::addColumn<QString>("fixture");
        // What the message says was lost; empty when nothing could be read.
        QTest::addColumn<QStringList>("lost");
        QTest::addColumn<QString>("lng");
        QTest::addColumn<QStringList>("cyclists");
        QTest::newRow("garbage bytes") << QStringLiteral("garbage.bin") << QStringList()
                                       << QStringLiteral("default") << QStringList{"eva"};
        QTest::newRow("foreign ini") << QStringLiteral("foreign.txt") << QStringList()
                                     << QStringLiteral("default") << QStringList{"eva"};
        QTest::newRow("truncated") << QStringLiteral("truncated.conf")
                                   << QStringList{"Software\\Brontel\\Rydex 2005\\skin"}
                                   << QStringLiteral("english") << QStringList{"eva"};
        QTest::newRow("invalid utf-8")
            << QStringLiteral("badutf8.conf") << QStringList{program + "users\\Nov\uFFFDk"}
            << QStringLiteral("default") << QStringList{"eva"};
        // One bad byte costs its value, or its key, never the other cyclists.
        QTest::newRow("bad bytes here and there")
            << QStringLiteral("salvage.conf")
            << QStringList{program + "skin", program + "users\\jan\\Current\uFFFDYear",
                           program + "users\\Nov\uFFFDk"}
            << QStringLiteral("english") << QStringList{"eva", "jan", "petr"};
        QTest::newRow("newer format") << QStringLiteral("newer.conf") << QStringList()
                                      << QStringLiteral("default") << QStringList{"eva"};
    }
    void damaged()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, lost);
        QFETCH(QString, lng);
        QFETCH(QStringList, cyclists);
        QDir().mkpath(QFileInfo(m_file).path());
        install(fixture);
        const QByteArray original = contentOf(m_file);
        const QString kept = m_file + QStringLiteral(".damaged-1");
        const QString message = lost.isEmpty()
                                    ? Msg::format(Msg::PreferencesDamaged, {m_file, kept})
                                    : Msg::format(Msg::PreferencesSalvaged,
                                                  {m_file, kept, lost.join(QStringLiteral("; "))});

        // Unchecked: what can be read, and the damaged file is not overwritten.
        PreferenceStore unchecked(m_file);
        PreferenceKey program = unchecked.openKey(PreferenceStore::programKeyPath(), false);
        QCOMPARE(program.readText(QStringLiteral("lng"), QStringLiteral("default")), lng);
        QCOMPARE(
            firstLineOf([&] { program.writeText(QStringLiteral("lng"), QStringLiteral("x")); }),
            QStringLiteral("Failed to set data for 'lng'."));
        QCOMPARE(contentOf(m_file), original);

        PreferenceStore store(m_file);
        QCOMPARE(store.check(), message);
        QCOMPARE(contentOf(kept), original);
        QCOMPARE(modeOf(kept), ownerRw);
        // Checking again, from another start, keeps no second copy; what
        // could be read is already written back whole.
        QCOMPARE(PreferenceStore(m_file).check(),
                 lost.isEmpty() ? std::optional<QString>(message) : std::nullopt);
        QVERIFY(!QFile::exists(m_file + QStringLiteral(".damaged-2")));

        store.openKey(PreferenceStore::cyclistsKeyPath()).createSubkey(QStringLiteral("eva"));
        QCOMPARE(store.check(), std::nullopt);
        QCOMPARE(program.readText(QStringLiteral("lng"), QStringLiteral("default")), lng);
        QCOMPARE(store.openKey(PreferenceStore::cyclistsKeyPath()).subkeys(), cyclists);
        QCOMPARE(contentOf(kept), original);
        if (fixture == QLatin1String("salvage.conf")) {
            const PreferenceKey users = store.openKey(PreferenceStore::cyclistsKeyPath());
            QCOMPARE(users.subkey(QStringLiteral("jan")).readInteger("DefaultGraf", 9), 0);
            QCOMPARE(users.subkey(QStringLiteral("petr")).readInteger("CurrentYear", 9), 2003);
            QCOMPARE(users.subkey(QStringLiteral("eva")).readInteger("DefaultGraf", 9), 2);
        }
    }

    void damagedInReadOnlyDirectory()
    {
        QDir().mkpath(QFileInfo(m_file).path());
        install(QStringLiteral("foreign.txt"));
        const QByteArray original = contentOf(m_file);
        QVERIFY(QFile::setPermissions(QFileInfo(m_file).path(),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        PreferenceStore store(m_file);
        const QString message = store.check().value_or(QString());
        QVERIFY2(
            message.startsWith(
                Msg::format(Msg::PreferencesNotKept, {m_file}).section(QLatin1Char(':'), 0, 0)),
            qPrintable(message));
        QVERIFY(!QFile::exists(m_file + QStringLiteral(".damaged-1")));
        QVERIFY(QFile::setPermissions(QFileInfo(m_file).path(), ownerRwx));
        // Without a kept copy the file must stay as it is.
        QCOMPARE(firstLineOf([&] {
                     store.openKey(PreferenceStore::programKeyPath()).writeText("lng", "x");
                 }),
                 QStringLiteral("Failed to set data for 'lng'."));
        QCOMPARE(contentOf(m_file), original);
    }

    void missingEmptyAndUnreadable()
    {
        PreferenceStore store(m_file);
        QCOMPARE(store.check(), std::nullopt);
        QVERIFY(!QFile::exists(m_file));

        QDir().mkpath(QFileInfo(m_file).path());
        QFile(m_file).open(QIODevice::WriteOnly);
        QCOMPARE(store.check(), std::nullopt);
        store.openKey(PreferenceStore::programKeyPath());

        QVERIFY(QFile::setPermissions(m_file, QFileDevice::WriteOwner));
        const QString unreadable = Msg::format(Msg::PreferencesUnreadable, {m_file, QString()});
        QVERIFY(store.check().value_or(QString()).startsWith(unreadable));
        QCOMPARE(store.openKey(PreferenceStore::programKeyPath(), false).readInteger("x", 4), 4);
        QVERIFY(errorOf([&] {
                    store.openKey(QStringLiteral("software\\other")).createSubkey("x");
                }).startsWith(QStringLiteral("Failed to create key x.\n") + unreadable));

        QVERIFY(QFile::remove(m_file));
        QVERIFY(QDir().mkpath(m_file));
        QVERIFY(store.check().value_or(QString()).startsWith(unreadable));
        QVERIFY(QFileInfo(m_file).isDir());
    }

    void ownerOnlyPermissions()
    {
        PreferenceStore store(m_file);
        store.openKey(PreferenceStore::programKeyPath());
        QCOMPARE(modeOf(QFileInfo(m_file).path()), ownerRwx);
        QCOMPARE(modeOf(m_file), ownerRw);

        QVERIFY(QFile::setPermissions(m_file,
                                      ownerRw | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        store.openKey(PreferenceStore::programKeyPath()).writeText("lng", "czech");
        QCOMPARE(modeOf(m_file), ownerRw);
    }
};

RYDEX_TEST_MAIN(TestPreferences, QCoreApplication)
#include "tst_preferences.moc"
