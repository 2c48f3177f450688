#include "TestMain.h"

#include "base/Fixed4.h"
#include "base/RydexError.h"

#include <limits>

class TestFixed4 : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void rounding_data();
    void rounding();
    void fromDouble_data();
    void fromDouble();
    void plainText();
    void sumsBeyondTheRange();
};

void TestFixed4::parse_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("units");

    auto ok = [](const char* tag, const char* locale, const QString& text, qint64 units) {
        QTest::newRow(tag) << QString::fromLatin1(locale) << text << true << units;
    };
    auto bad = [](const char* tag, const char* locale, const QString& text) {
        QTest::newRow(tag) << QString::fromLatin1(locale) << text << false << qint64(0);
    };

    ok("en point", "en_US", "12.5", 125000);
    ok("cs comma", "cs_CZ", "12,5", 125000);
    bad("cs rejects point", "cs_CZ", "12.5");
    bad("en rejects comma", "en_US", "12,5");
    bad("en grouping", "en_US", "1,000");
    ok("surrounding blanks", "en_US", " 7 ", 70000);
    ok("plus", "en_US", "+3", 30000);
    ok("minus fraction", "cs_CZ", "-0,5", -5000);
    ok("no integer part", "en_US", ".5", 5000);
    ok("trailing separator", "en_US", "5.", 50000);
    // Beyond four decimals the fifth digit decides, halves away from zero.
    ok("fifth decimal half", "en_US", "0.00005", 1);
    ok("just below half", "en_US", "0.000049999", 0);
    ok("negative half", "en_US", "-0.00005", -1);
    ok("carry into whole", "en_US", "9.99995", 100000);
    ok("only fifth digit counts", "en_US", "1.23454999", 12345);
    ok("large", "en_US", "922337203685469.9999", Q_INT64_C(9223372036854699999));
    ok("large rounded up", "en_US", "922337203685469.99995", Q_INT64_C(9223372036854700000));
    // Up to the very end of the range, as "#.##" shows such a value.
    ok("whole beyond ...469", "en_US", "922337203685470", Q_INT64_C(9223372036854700000));
    ok("largest", "en_US", "922337203685477.5807", std::numeric_limits<qint64>::max());
    ok("most negative", "en_US", "-922337203685477.5807", -std::numeric_limits<qint64>::max());
    bad("one unit beyond", "en_US", "922337203685477.5808");
    bad("rounded beyond", "en_US", "922337203685477.58075");
    bad("whole beyond", "en_US", "922337203685478");
    bad("empty", "en_US", "");
    bad("blank", "en_US", "   ");
    bad("sign only", "en_US", "-");
    bad("separator only", "en_US", ".");
    bad("letters", "en_US", "abc");
    bad("two separators", "en_US", "1.2.3");
    bad("double minus", "en_US", "--1");
    bad("exponent", "en_US", "1e3");
    bad("blank after sign", "en_US", "- 1");
    bad("arabic-indic digit", "en_US", QStringLiteral("\u0663"));
    bad("too large", "en_US", "99999999999999999999");
}

void TestFixed4::parse()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, units);

    const std::optional<Fixed4> value = Fixed4::parse(text, QLocale(locale));
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(value->units(), units);
}

void TestFixed4::rounding_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<qint64>("to2");
    QTest::addColumn<qint64>("wholeEven");

    QTest::newRow("12.5") << qint64(125000) << qint64(125000) << qint64(12);
    QTest::newRow("13.5") << qint64(135000) << qint64(135000) << qint64(14);
    QTest::newRow("0.5") << qint64(5000) << qint64(5000) << qint64(0);
    QTest::newRow("12.5001") << qint64(125001) << qint64(125000) << qint64(13);
    QTest::newRow("1.005") << qint64(10050) << qint64(10100) << qint64(1);
    QTest::newRow("1.0049") << qint64(10049) << qint64(10000) << qint64(1);
    QTest::newRow("-1.005") << qint64(-10050) << qint64(-10100) << qint64(-1);
    QTest::newRow("-12.5") << qint64(-125000) << qint64(-125000) << qint64(-12);
    QTest::newRow("-13.5") << qint64(-135000) << qint64(-135000) << qint64(-14);
    QTest::newRow("-0.5") << qint64(-5000) << qint64(-5000) << qint64(0);
    QTest::newRow("-0.5001") << qint64(-5001) << qint64(-5000) << qint64(-1);
    // The ends of the range, which a store written by another tool may hold.
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << Q_INT64_C(9223372036854775800)
                             << Q_INT64_C(922337203685478);
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min()
                              << Q_INT64_C(-9223372036854775800) << Q_INT64_C(-922337203685478);
}

void TestFixed4::rounding()
{
    QFETCH(qint64, units);
    QFETCH(qint64, to2);
    QFETCH(qint64, wholeEven);

    const Fixed4 value = Fixed4::fromUnits(units);
    QCOMPARE(value.roundedTo2().units(), to2);
    QCOMPARE(value.roundedToWholeEven(), wholeEven);
}

void TestFixed4::fromDouble_data()
{
    const qint64 max = std::numeric_limits<qint64>::max();
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("units");

    QTest::newRow("plain") << 12.34 << qint64(123400);
    QTest::newRow("zero") << 0.0 << qint64(0);
    // These halves sit a hair below the half in binary; they still round up.
    QTest::newRow("0.00015") << 0.00015 << qint64(2);
    QTest::newRow("1.00005") << 1.00005 << qint64(10001);
    QTest::newRow("-0.00015") << -0.00015 << qint64(-2);
    QTest::newRow("below a unit") << 1e-9 << qint64(0);
    QTest::newRow("15 digits kept") << 123456789012.3456 << qint64(1234567890123460);
    QTest::newRow("too large") << 1e20 << max;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << max;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
}

void TestFixed4::fromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, units);
    QCOMPARE(Fixed4::fromDouble(value).units(), units);
}

void TestFixed4::plainText()
{
    QCOMPARE(Fixed4::fromUnits(-5000).toPlainString(), QStringLiteral("-0.5"));
    QCOMPARE(Fixed4::fromUnits(1).toPlainString(), QStringLiteral("0.0001"));
    // The plain text reads back to the same value.
    const Fixed4 odd = Fixed4::fromUnits(Q_INT64_C(-98765432101234));
    QCOMPARE(Fixed4::parse(odd.toPlainString(), QLocale::c()), odd);
    QCOMPARE(Fixed4::fromUnits(std::numeric_limits<qint64>::min()).toPlainString(),
             QStringLiteral("-922337203685477.5808"));
}

void TestFixed4::sumsBeyondTheRange()
{
    const Fixed4 largest = Fixed4::fromUnits(std::numeric_limits<qint64>::max());
    const Fixed4 smallest = Fixed4::fromUnits(std::numeric_limits<qint64>::min());
    const Fixed4 unit = Fixed4::fromUnits(1);
    QCOMPARE((largest - unit + unit), largest);
    QVERIFY_THROWS_EXCEPTION(RydexError, largest + unit);
    QVERIFY_THROWS_EXCEPTION(RydexError, smallest - unit);
    Fixed4 total = largest;
    QVERIFY_THROWS_EXCEPTION(RydexError, total += unit);
    QCOMPARE(total, largest);
    QVERIFY_THROWS_EXCEPTION(RydexError, Fixed4::fromInt(Q_INT64_C(922337203685478)));
    QCOMPARE(Fixed4::fromInt(Q_INT64_C(-922337203685477)).units(), Q_INT64_C(-9223372036854770000));
}

RYDEX_TEST_MAIN(TestFixed4, QCoreApplication)
#include "tst_fixed4.moc"
