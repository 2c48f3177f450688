#include "TestMain.h"

#include "base/RydexError.h"
#include "polyglot/LanguageValues.h"
#include "polyglot/ResourceStringSection.h"
#include "polyglot/TbsINIFile.h"

using namespace LanguageValues;

class TestLanguageValues : public QObject
{
    Q_OBJECT

private slots:
    void textLiteral_data();
    void textLiteral();
    void integer_data();
    void integer();
    void number_data();
    void number();
    void enumeration_data();
    void enumeration();
    void listValue_data();
    void listValue();
    void resourceStrings_data();
    void resourceStrings();
};

void TestLanguageValues::textLiteral_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");

    const auto row = [](const char* value, const QString& text, int codePage = 1252) {
        QTest::newRow(value) << QString::fromUtf8(value) << codePage << text;
    };
    row("'Jazyk'", "Jazyk");
    row("'Rock''n''roll'", "Rock'n'roll");
    row("'First line'#13#10'Second line'", "First line\r\nSecond line");
    row("#39'quoted'#39", "'quoted'");
    row("Plain text", "Plain text");
    row("'a' 'b'", "");
    row("'open", "");
    row("X", "");
    row("'X'", "X");
    row("'a'#32'b'", "a b");
    row("", "");
    row("#", "");
    row("x#", QStringLiteral("x\u00FF"));
    row("'a'x", "");
    row("ab'", "");
    row("''''", "'");
    row("a''b", "ab");
    row("'#65'", "#65");
    row("#321", "A");
    row("#99999999999999999999", QStringLiteral("\u00FF"));
    // A character code is a byte of the locale's code page, whatever the
    // file's own encoding.
    row("'k'#249#242", QStringLiteral("k\u00F9\u00F2"));
    QTest::newRow("double-byte codes") << "#147#250#150#123" << 932 << QStringLiteral("日本");
    QTest::newRow("cs") << "'k'#249#242" << 1250 << QStringLiteral("kůň");
}

void TestLanguageValues::textLiteral()
{
    QFETCH(QString, value);
    QFETCH(int, codePage);
    QFETCH(QString, text);
    QCOMPARE(decodeTextLiteral(value, WindowsCodePage(codePage)), text);
}

void TestLanguageValues::integer_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("number");

    const auto ok = [](const char* value, int number) {
        QTest::newRow(value) << QString::fromUtf8(value) << true << number;
    };
    const auto bad = [](const char* value) {
        QTest::newRow(value) << QString::fromUtf8(value) << false << 0;
    };
    ok("-42", -42);
    ok("+7", 7);
    ok("0X1f", 31);
    ok("$FF00000F", qint32(0xFF00000F));
    ok("-2147483648", -2147483647 - 1);
    bad("2147483648");
    bad("$100000000");
    bad("");
    bad("0x");
    bad("-$10");
    bad("12a");
    bad("1.5");
}

void TestLanguageValues::integer()
{
    QFETCH(QString, value);
    QFETCH(bool, valid);
    QFETCH(int, number);
    QCOMPARE(parseInteger(value).has_value(), valid);
    QCOMPARE(decodeInteger(value), number);
}

void TestLanguageValues::number_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("number");

    const auto ok = [](const char* tag, const char* locale, const char* value, double number) {
        QTest::newRow(tag) << QString::fromLatin1(locale) << QString::fromUtf8(value) << true
                           << number;
    };
    const auto bad = [](const char* tag, const char* locale, const char* value) {
        QTest::newRow(tag) << QString::fromLatin1(locale) << QString::fromUtf8(value) << false
                           << 0.0;
    };
    ok("en point", "en_US", "1.5", 1.5);
    ok("cs comma", "cs_CZ", "1,5", 1.5);
    ok("sign and exponent", "en_US", "-2.5E3", -2500);
    ok("no integer part", "en_US", ".25", 0.25);
    ok("no fraction", "cs_CZ", "5,", 5);
    bad("cs rejects point", "cs_CZ", "1.5");
    bad("grouping", "en_US", "1,000.5");
    bad("empty", "en_US", "");
    bad("exponent without digits", "en_US", "1e");
    bad("out of range", "en_US", "1e999");
    bad("not a number", "en_US", "nan");
}

void TestLanguageValues::number()
{
    QFETCH(QString, locale);
    QFETCH(QString, value);
    QFETCH(bool, valid);
    QFETCH(double, number);
    QCOMPARE(parseNumber(value, QLocale(locale)).has_value(), valid);
    QCOMPARE(decodeNumber(value, QLocale(locale)), number);
}

void TestLanguageValues::enumeration_data()
{
    QTest::addColumn<bool>("yesNo");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("element"); // -1: the error

    QTest::newRow("name") << false << "PartiallyChecked" << 1;
    QTest::newRow("case") << false << "cHECKED" << 2;
    QTest::newRow("empty") << false << "" << -1;
    QTest::newRow("unknown") << false << "Maybe" << -1;
    QTest::newRow("number") << false << "2" << -1;
    QTest::newRow("True") << true << "True" << 1;
    QTest::newRow("false") << true << "false" << 0;
    QTest::newRow("yes") << true << "Yes" << -1;
}

void TestLanguageValues::enumeration()
{
    QFETCH(bool, yesNo);
    QFETCH(QString, value);
    QFETCH(int, element);
    try {
        const int decoded = yesNo ? int(decodeYesNo(value))
                                  : decodeEnumeration(value, QMetaEnum::fromType<Qt::CheckState>());
        QCOMPARE(decoded, element);
    } catch (const RydexError& e) {
        QCOMPARE(element, -1);
        QCOMPARE(e.text(), "Invalid property element: " + value);
    }
}

void TestLanguageValues::listValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("lines");

    const auto row = [](const char* value, const QStringList& lines) {
        QTest::newRow(value) << QString::fromUtf8(value) << lines;
    };
    row("January,February,March,April,May,June,July,August,September,October,November,December",
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"});
    row("", {});
    row("Jan Feb", {"Jan", "Feb"});
    row("'Jan Feb'", {"Jan Feb"});
    row("a , b", {"a", "b"});
    row("a,", {"a", ""});
    row(",a", {"", "a"});
    row("a,,b", {"a", "", "b"});
    row("'it''s',x", {"it's", "x"});
    row("'a'b", {"a", "b"});
    row("'open", {"open"});
    row("#65,'#66'", {"#65", "#66"});
    QTest::newRow("NUL ends") << QStringLiteral("a\u0000b") << QStringList{"a"};
}

void TestLanguageValues::listValue()
{
    QFETCH(QString, value);
    QFETCH(QStringList, lines);
    QCOMPARE(splitListValue(value), lines);
}

void TestLanguageValues::resourceStrings_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("text");

    QTest::newRow("label") << QByteArray("65318_Cancel='Cancel'") << 65318 << true << "Cancel";
    QTest::newRow("leading zero") << QByteArray("065318='x'") << 65318 << false << "";
    QTest::newRow("blanks") << QByteArray("65318 _x='x'") << 65318 << true << "x";
    QTest::newRow("first key decides")
        << QByteArray("65318_a='A'\n65318_b='B'") << 65318 << true << "A";
    QTest::newRow("its last value")
        << QByteArray("65318_a='A'\n65318_b='B'\n65318_A='C'") << 65318 << true << "C";
    QTest::newRow("empty text answers") << QByteArray("65318=X") << 65318 << true << "";
    QTest::newRow("format kept") << QByteArray(
                                        "65415='Soubor \"%s\" nelze otev'#248'\xc3\xadt. %s'")
                                 << 65415 << true
                                 << QStringLiteral("Soubor \"%s\" nelze otevřít. %s");
}

void TestLanguageValues::resourceStrings()
{
    QFETCH(QByteArray, section);
    QFETCH(int, id);
    QFETCH(bool, found);
    QFETCH(QString, text);
    const TbsINIFile file =
        TbsINIFile::fromBytes("[resourcestrings]\n" + section, QLocale(QLocale::Czech));
    const std::optional<QString> result = ResourceStrings::find(file, id);
    QCOMPARE(result.has_value(), found);
    QCOMPARE(result.value_or(QString()), text);
}

RYDEX_TEST_MAIN(TestLanguageValues, QCoreApplication)
#include "tst_languagevalues.moc"
