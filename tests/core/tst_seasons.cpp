#include "TestMain.h"

#include "settings/SeasonList.h"

class TestSeasons : public QObject
{
    Q_OBJECT

private slots:
    void seasons_data()
    {
        QTest::addColumn<QList<int>>("years");
        QTest::addColumn<QList<int>>("seasons");
        QTest::newRow("no rides") << QList<int>{} << QList<int>{};
        QTest::newRow("one ride") << QList<int>{2004} << QList<int>{2004};
        QTest::newRow("gap between seasons")
            << QList<int>{2003, 2003, 2003, 2005, 2005} << QList<int>{2003, 2005};
        QTest::newRow("every ride another year")
            << QList<int>{1999, 2000, 2001} << QList<int>{1999, 2000, 2001};
        // A hand-edited ride whose year disagrees with its date must not list
        // 2003 twice.
        QTest::newRow("year out of date order")
            << QList<int>{2003, 2005, 2003, 2005} << QList<int>{2003, 2005};
        QTest::newRow("year 0 and the largest year")
            << QList<int>{65535, 0, 0} << QList<int>{0, 65535};
    }
    void seasons()
    {
        QFETCH(QList<int>, years);
        QFETCH(QList<int>, seasons);
        QCOMPARE(seasonList(years), seasons);
    }
};

RYDEX_TEST_MAIN(TestSeasons, QCoreApplication)
#include "tst_seasons.moc"
