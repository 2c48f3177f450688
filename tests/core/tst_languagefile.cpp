#include "TestMain.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/LanguageDirectory.h"
#include "polyglot/LanguageValues.h"
#include "polyglot/TbsINIFile.h"

#include <QElapsedTimer>

namespace {
// The entries of a section as the engine sees them: each key with the value
// that reading it gives.
QString entries(const TbsINIFile& file, const QString& section)
{
    QStringList out;
    for (const QString& key : file.keys(section))
        out << key + u'=' + file.readString(section, key, QStringLiteral("<absent>"));
    return out.join(u'|');
}

QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = TestEnv::root() + u'/' + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// A short language file of every kind of line, with made-up texts.
const char example[] = "; Language file for the language dialog\r\n"
                       "[TfrmLanguage]\r\n"
                       "Caption='Language'\r\n"
                       "frmLanguageSui.Caption='Language'\r\n"
                       "Label1.Caption='Choose a language:'\r\n"
                       "[TfrmBase]\r\n"
                       "mnuLanguage.Caption='&Language...'\r\n"
                       "Mesice.Tabs.Strings=January,February,March,April,May,June,July,August,"
                       "September,October,November,December\r\n"
                       "DBGrid.Columns.Items(0).Title.Caption='Day'\r\n"
                       "[ResourceStrings]\r\n"
                       "65318_Cancel='Cancel'\r\n";
} // namespace

class TestLanguageFile : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void encoding_data();
    void encoding();
    void release_data();
    void release();
    void openFailures();
    void listing();
    void lookup_data();
    void lookup();
    void speed();
};

void TestLanguageFile::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("entries");

    const auto row = [](const char* tag, const QByteArray& bytes, const char* section,
                        const char* entries) {
        QTest::newRow(tag) << bytes << QString::fromUtf8(section) << QString::fromUtf8(entries);
    };
    row("CR LF", "[S]\r\na=1\r\nb=2\r\n", "S", "a=1|b=2");
    row("LF", "[S]\na=1\nb=2", "S", "a=1|b=2");
    row("CR", "[S]\ra=1\rb=2", "S", "a=1|b=2");
    row("LF CR", "[S]\n\ra=1", "S", "a=1");
    row("NUL ends the text", QByteArray("[S]\na=1\0\nb=2", 12), "S", "a=1");
    row("codes 0-32 trimmed", "\t[S] \x01\n \x1f a \t= 1 \x7f\x0b\n", "S", "a=1 \x7f");
    row("comment", "[S]\n;a=1\n  ;b=2\nc=x;y", "S", "c=x;y");
    row("header trimmed", "[ \tS ]\na=1", "S", "a=1");
    row("empty section name", "[]\na=1", "", "a=1");
    row("before the first header", "a=0\n[S]\na=1", "S", "a=1");
    row("first =", "[S]\na = b=c", "S", "a=b=c");
    row("no =", "[S]\nnothing\n[x\na=1", "S", "a=1");
    row("empty key and value", "[S]\n=v\nk=", "S", "=v|k=");
    row("no such section", "[S]\na=1", "T", "");
    row("section case", "[tfrmbase]\na=1", "TfrmBase", "a=1");
    row("last section wins", "[TfrmBase]\na=1\n[Other]\nb=2\n[TFRMBASE]\nc=3", "TfrmBase", "c=3");
    row("repeated key", "[S]\nCaption='One'\nx=1\ncaption='Two'", "S",
        "Caption='Two'|x=1|caption='Two'");
    row("byte-order mark", "\xEF\xBB\xBF[TfrmBase]\na=1\n[B]\nb=2", "TfrmBase", "");
    row("example", example, "TfrmBase",
        "mnuLanguage.Caption='&Language...'|Mesice.Tabs.Strings=January,February,March,April,"
        "May,June,July,August,September,October,November,December|"
        "DBGrid.Columns.Items(0).Title.Caption='Day'");
}

void TestLanguageFile::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, entries);
    const TbsINIFile file = TbsINIFile::fromBytes(bytes);
    QCOMPARE(::entries(file, section), entries);
    // Names compare without regard to case.
    for (const QString& key : file.keys(section)) {
        QCOMPARE(file.readString(section.toUpper(), key.toLower(), QString()),
                 file.readString(section, key, QString()));
    }
}

void TestLanguageFile::encoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");

    // "Příliš žluťoučký kůň" in code page 1250 and in UTF-8; the character
    // codes are 1250's "ů" and "ň".
    const QByteArray cp1250 = "'P\xF8\xEDli\x9A \x9El\x75\x9Do\x75\xE8k\xFD k'#249#242";
    const QByteArray utf8 = "'Příliš žluťoučký k'#249#242";
    const QString czech = QStringLiteral("Příliš žluťoučký kůň");
    QTest::newRow("1250 in Czech") << cp1250 << "cs_CZ" << czech;
    QTest::newRow("UTF-8 in Czech") << utf8 << "cs_CZ" << czech;
    QTest::newRow("1252 in German") << QByteArray("'Gr\xFC\xDF"
                                                  "e'")
                                    << "de_DE" << QStringLiteral("Grüße");
    QTest::newRow("1251 in Russian")
        << QByteArray("'\xCF\xF0\xE8\xE2\xE5\xF2'") << "ru_RU" << QStringLiteral("Привет");
    QTest::newRow("932 in Japanese")
        << QByteArray("'\x93\xFA\x96\x7B'") << "ja_JP" << QStringLiteral("日本");
    // A byte 1252 leaves undefined is kept, not dropped.
    QTest::newRow("undefined byte")
        << QByteArray("'a\x81'") << "en_US" << QStringLiteral("a\u0081");
}

void TestLanguageFile::encoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    const TbsINIFile file =
        TbsINIFile::fromBytes("[TfrmLanguage]\r\nLabel1.Caption=" + bytes, QLocale(locale));
    const QString value = file.readString("TfrmLanguage", "Label1.Caption", QString());
    QCOMPARE(LanguageValues::decodeTextLiteral(value, file.codePage()), text);
}

void TestLanguageFile::release_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("error"); // its beginning; "%1" is the path

    const QByteArray held = "; comment\r\nbefore=1\r\n[A]\nk = v\nplain\n\n[B]\nx=1\n[a]\ny=2";
    QTest::newRow("kept as it is") << held << "en_US"
                                   << "keep" << held << "";
    QTest::newRow("deleted while open")
        << held << "en_US"
        << "delete" << QByteArray("[A]\r\nk=v\r\nplain\r\n\r\n[B]\r\nx=1\r\n\r\n[a]\r\ny=2\r\n\r\n")
        << "";
    QTest::newRow("deleted, code page kept")
        << QByteArray("[A]\nk='\xE8'") << "cs_CZ"
        << "delete" << QByteArray("[A]\r\nk='\xE8'\r\n\r\n") << "";
    QTest::newRow("deleted, no section") << QByteArray("; comment\nk=1") << "en_US"
                                         << "delete" << QByteArray("<none>") << "";
    QTest::newRow("folder deleted")
        << held << "en_US"
        << "delete folder" << QByteArray("<none>") << "Cannot create file \"%1\". ";
    const QByteArray edited = "[B]\nb=1\n[A]\nk=v\ngone=1\nGONE=2\nkeep\n; comment";
    QTest::newRow("edited") << edited << "en_US"
                            << "edit"
                            << QByteArray("[A]\r\nk=w\r\nkeep\r\n\r\n[New]\r\nn=1\r\n\r\n") << "";
    QTest::newRow("edited, read-only") << edited << "en_US"
                                       << "edit read-only" << edited << "File \"%1\" is read-only";
}

void TestLanguageFile::release()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, locale);
    QFETCH(QString, action);
    QFETCH(QByteArray, after);
    QFETCH(QString, error);

    const QString folder = QStringLiteral("release-") + QTest::currentDataTag();
    QDir(TestEnv::root()).mkpath(folder);
    const QString path = writeFile(folder + "/english.lng", bytes);
    TbsINIFile file(path, QLocale(locale));
    if (action.startsWith("delete"))
        QFile::remove(path);
    if (action == "delete folder")
        QDir(TestEnv::root() + u'/' + folder).removeRecursively();
    if (action.startsWith("edit")) {
        file.writeString("a", "K", "w");
        file.writeString("New", "n", "1");
        file.deleteKey("A", "gone");
        file.eraseSection("b");
    }
    if (action == "edit read-only")
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    QString raised;
    try {
        file.release();
    } catch (const RydexError& e) {
        raised = e.text();
    }
    QVERIFY2(error.isEmpty() ? raised.isEmpty() : raised.startsWith(error.arg(path)),
             qPrintable(raised));
    QCOMPARE(readFile(path), after);
}

void TestLanguageFile::openFailures()
{
    const auto openError = [](const QString& path) {
        try {
            TbsINIFile file(path);
        } catch (const RydexError& e) {
            return e.text();
        }
        return QStringLiteral("opened");
    };
    const QString folder = TestEnv::root() + "/folder.lng";
    QDir().mkpath(folder);
    QCOMPARE(openError(folder + "x"),
             "Cannot open file \"" + folder + "x\". No such file or directory");
    QCOMPARE(openError(folder),
             "Cannot open file \"" + folder + "\". " + Msg::text(Msg::NotARegularFile));
}

void TestLanguageFile::listing()
{
    const QString dir = TestEnv::root() + "/lng/";
    QDir().mkpath(dir + "sub.lng");
    for (const char* name : {"english.lng", "English.lng", "Czech.lng", "deutsch.LNG", ".lng",
                             "a.b.lng", "readme.txt", "notes.lng.bak"})
        writeFile(QStringLiteral("lng/") + name, "[S]");
    QCOMPARE(LanguageDirectory::languages(dir),
             QStringList({"a.b", "Czech", "deutsch", "English", "english", "sub"}));
    QCOMPARE(LanguageDirectory::languageName("/lng/english.lng"), "english");
}

void TestLanguageFile::lookup_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("file"); // empty: none

    QTest::newRow("as given") << "english"
                              << "english.lng";
    QTest::newRow("other case") << "ENGLISH"
                                << "English.lng";
    QTest::newRow("extension case") << "deutsch"
                                    << "deutsch.LNG";
    QTest::newRow("folder") << "sub"
                            << "";
    QTest::newRow("missing") << "french"
                             << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("path") << "../lng/english"
                          << "";
}

void TestLanguageFile::lookup()
{
    QFETCH(QString, language);
    QFETCH(QString, file);
    const QString dir = TestEnv::root() + "/lng/";
    QCOMPARE(LanguageDirectory::languageFile(dir, language).value_or(QString()),
             file.isEmpty() ? QString() : dir + file);
}

void TestLanguageFile::speed()
{
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
    QSKIP("timings mean nothing in a debug or sanitizer build");
#endif
    QByteArray many = "[TfrmBase]\r\n";
    for (int i = 0; i < 10000; ++i)
        many += "Component" + QByteArray::number(i) + ".Caption='Text " + QByteArray::number(i) +
                "'\r\n";
    const QString path = writeFile("many.lng", many);
    qint64 best = std::numeric_limits<qint64>::max();
    QElapsedTimer timer;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        const TbsINIFile file(path);
        best = std::min(best, timer.nsecsElapsed());
        QCOMPARE(file.keys("TfrmBase").size(), 10000);
    }
    qInfo("10,000 entries: %.2f ms", double(best) / 1e6);
    QVERIFY(best < 10'000'000);

    // Lines of a megabyte in the decoders' worst shapes: a quadratic step
    // would take minutes.
    const QByteArray lines[] = {"'" + QByteArray("''").repeated(1 << 19) + "'",
                                QByteArray("'a'#200").repeated(1 << 17),
                                QByteArray("x,").repeated(1 << 19), QByteArray(1 << 20, '9')};
    for (const QByteArray& line : lines) {
        timer.start();
        const TbsINIFile file = TbsINIFile::fromBytes("[S]\nk=" + line);
        const QString value = file.readString("S", "k", QString());
        LanguageValues::decodeTextLiteral(value);
        LanguageValues::splitListValue(value);
        LanguageValues::parseInteger(value);
        LanguageValues::parseNumber(value);
        qInfo("a line of %lld bytes: %lld ms", qint64(line.size()), timer.elapsed());
        QVERIFY(timer.elapsed() < 1000);
    }
}

RYDEX_TEST_MAIN(TestLanguageFile, QCoreApplication)
#include "tst_languagefile.moc"
