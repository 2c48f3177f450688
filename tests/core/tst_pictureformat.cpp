#include "TestMain.h"

#include "base/PictureFormat.h"
#include "records/LongDate.h"

#include <limits>

namespace {
// The Czech group separator is a no-break space.
const QString nbsp = QStringLiteral("\u00A0");

qint64 units(double value)
{
    return Fixed4::fromDouble(value).units();
}
} // namespace

class TestPictureFormat : public QObject
{
    Q_OBJECT

private slots:
    void exactValue_data();
    void exactValue();
    void binaryValue_data();
    void binaryValue();
    void general_data();
    void general();
    void dateWithoutWeekday_data();
    void dateWithoutWeekday();
};

void TestPictureFormat::exactValue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* locale, const char* picture, double value, const QString& expected) {
        QTest::addRow("%s %s %s", locale, picture, qPrintable(QString::number(value, 'g', 17)))
            << QString::fromLatin1(locale) << QString::fromLatin1(picture) << units(value)
            << expected;
    };

    // Display format of distances: two decimals always.
    row("en_US", "0.00", 1.005, "1.01");
    row("en_US", "0.00", 1.0049, "1.00");
    row("en_US", "0.00", -1.005, "-1.01");
    row("en_US", "0.00", -0.004, "0.00");
    row("en_US", "0.00", 1234.5, "1234.50");
    row("cs_CZ", "0.00", 1234.5, "1234,50");
    row("de_DE", "0.00", 0.005, "0,01");
    // Edit format: nothing forced.
    row("en_US", "#.##", 0, "");
    row("en_US", "#.##", 12.5, "12.5");
    row("en_US", "#.##", 0.5, ".5");
    row("en_US", "#.##", 12.345, "12.35");
    row("en_US", "#.##", 0.005, ".01");
    row("en_US", "#.##", 9.995, "10");
    row("en_US", "#.##", -0.5, "-.5");
    row("cs_CZ", "#.##", 12.5, "12,5");
    row("cs_CZ", "#.##", 0.5, ",5");
    // Point labels.
    row("en_US", "#,##0.###", 0, "0");
    row("en_US", "#,##0.###", 1000, "1,000");
    row("en_US", "#,##0.###", 999.9995, "1,000");
    row("en_US", "#,##0.###", 1000000, "1,000,000");
    row("en_US", "#,##0.###", -1234.5, "-1,234.5");
    row("cs_CZ", "#,##0.###", 1000, "1" + nbsp + "000");
    row("cs_CZ", "#,##0.###", 1000000, "1" + nbsp + "000" + nbsp + "000");
    row("cs_CZ", "#,##0.###", 1234.5678, "1" + nbsp + "234,568");
    row("de_DE", "#,##0.###", 1234567.891, "1.234.567,891");
    // Value axis: whole numbers, no decimal separator.
    row("en_US", "#,##0.", 0, "0");
    row("en_US", "#,##0.", 1234.5, "1,235");
    row("en_US", "#,##0.", -999.5, "-1,000");
    row("cs_CZ", "#,##0.", 1234567, "1" + nbsp + "234" + nbsp + "567");
    row("de_DE", "#,##0.", 1000, "1.000");
    // Duration shares.
    row("en_US", "#0.# %", 0, "0 %");
    row("en_US", "#0.# %", 25, "25 %");
    row("en_US", "#0.# %", 33.35, "33.4 %");
    row("cs_CZ", "#0.# %", 33.333, "33,3 %");
    row("en_US", "0", 2.5, "3");
    row("en_US", "0", 123456789, "123456789");
    // General rules beyond the program's own pictures.
    row("en_US", "00.0", 5, "05.0");
    row("en_US", "0.0#", 1.25, "1.25");
    row("en_US", "#.0#", 0.5, ".5");
    row("en_US", ".00", 12.5, "12.50");
    row("en_US", "<0>", -5, "<-5>");
    row("en_US", "'km' 0", 5, "km 5");
    row("en_US", "\"#0.\"0", 5, "#0.5");
    row("en_US", "0.0.0", 1.25, "1.25");
    row("en_US", "", 1234.5, "1234.5");
}

void TestPictureFormat::exactValue()
{
    QFETCH(QString, locale);
    QFETCH(QString, picture);
    QFETCH(qint64, units);
    QFETCH(QString, expected);
    QCOMPARE(formatPicture(picture, Fixed4::fromUnits(units), QLocale(locale)), expected);
}

void TestPictureFormat::binaryValue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* tag, const char* locale, const char* picture, double value,
                  const char* expected) {
        QTest::newRow(tag) << QString::fromLatin1(locale) << QString::fromLatin1(picture) << value
                           << QString::fromLatin1(expected);
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();

    // Binary values a hair below the half still round as the decimal they show.
    row("1.005", "en_US", "0.00", 1.005, "1.01");
    row("2.675", "en_US", "0.00", 2.675, "2.68");
    row("0.15 %", "cs_CZ", "#0.# %", 0.15, "0,2 %");
    row("third", "cs_CZ", "#0.# %", 100.0 / 3, "33,3 %");
    row("beyond fixed range", "en_US", "#,##0.###", 1e15, "1,000,000,000,000,000");
    row("tiny half", "en_US", "#,##0.###", 0.0005, "0.001");
    row("minus zero", "en_US", "#,##0.###", -0.0, "0");
    row("negative to zero", "en_US", "0.00", -0.001, "0.00");
    row("grouped", "de_DE", "#,##0.###", 1234567.891, "1.234.567,891");
    row("nan", "en_US", "0.00", nan, "NAN");
    row("infinity", "en_US", "0.00", -infinity, "-INF");
}

void TestPictureFormat::binaryValue()
{
    QFETCH(QString, locale);
    QFETCH(QString, picture);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatPicture(picture, value, QLocale(locale)), expected);
}

void TestPictureFormat::general_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("expected");

    QTest::newRow("decimal comma") << "cs_CZ" << units(1234.5) << "1234,5";
    QTest::newRow("whole") << "cs_CZ" << units(1500) << "1500";
    QTest::newRow("zero") << "de_DE" << qint64(0) << "0";
    QTest::newRow("negative") << "de_DE" << units(-0.25) << "-0,25";
    QTest::newRow("15 digits") << "en_US" << Q_INT64_C(1234567890123456789) << "123456789012346";
    QTest::newRow("carry") << "en_US" << Q_INT64_C(999999999999999950) << "100000000000000";
    QTest::newRow("lowest") << "en_US" << std::numeric_limits<qint64>::min() << "-922337203685478";
}

void TestPictureFormat::general()
{
    QFETCH(QString, locale);
    QFETCH(qint64, units);
    QFETCH(QString, expected);
    QCOMPARE(formatGeneral(Fixed4::fromUnits(units), QLocale(locale)), expected);
}

RYDEX_TEST_MAIN(TestPictureFormat, QCoreApplication)
void TestPictureFormat::dateWithoutWeekday_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Czech") << "cs_CZ"
                           << "d. MMMM yyyy" << QStringLiteral("5. prosince 2025");
    QTest::newRow("US English") << "en_US"
                                << "MMMM d, yyyy"
                                << "December 5, 2025";
    QTest::newRow("British English") << "en_GB"
                                     << "d MMMM yyyy"
                                     << "5 December 2025";
    QTest::newRow("weekday last") << "hu_HU"
                                  << "yyyy. MMMM d." << QStringLiteral("2025. december 5.");
    QTest::newRow("no separator") << "ja_JP" << QStringLiteral("yyyy年M月d日")
                                  << QStringLiteral("2025年12月5日");
    QTest::newRow("quoted literal kept") << "lt_LT"
                                         << "yyyy 'm'. MMMM d 'd'."
                                         << "";
    QTest::newRow("Arabic comma") << "ar_EG"
                                  << "d MMMM yyyy"
                                  << "";
}

void TestPictureFormat::dateWithoutWeekday()
{
    QFETCH(QString, locale);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    const QLocale l(locale);
    QCOMPARE(longDateWithoutWeekday(l), format);
    if (!shown.isEmpty())
        QCOMPARE(l.toString(QDate(2025, 12, 5), format), shown);
    QCOMPARE(withoutWeekday(QStringLiteral("'dddd' dddd, d")), QStringLiteral("'dddd' d"));
}

#include "tst_pictureformat.moc"
