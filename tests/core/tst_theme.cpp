#include "TestMain.h"

#include "base/MessageCatalogue.h"
#include "theme/Contrast.h"
#include "theme/ThemeFile.h"

#include <QDir>

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void sheets_data();
    void sheets();
    void whichFile();
    void contrast_data();
    void contrast();
};

void TestTheme::sheets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problem"); // 0: usable

    QTest::newRow("a rule") << QByteArray("QPushButton { color: red; }") << 0;
    QTest::newRow("comments, quotes, brackets")
        << QByteArray("/* a { b */ QLabel[x=\"}\"] { background: url(a.png); }\n"
                      "ThemedFrame { qproperty-bandTop: #123456 }")
        << 0;
    QTest::newRow("UTF-8 text") << QByteArray("QLabel { font-family: \"Čeština\"; }") << 0;
    QTest::newRow("empty") << QByteArray() << int(Msg::ThemeEmpty);
    QTest::newRow("blanks only") << QByteArray(" \r\n\t ") << int(Msg::ThemeEmpty);
    QTest::newRow("binary") << QByteArray("QLabel {\0color: red}", 20) << int(Msg::ThemeNotText);
    QTest::newRow("Windows code page")
        << QByteArray("QLabel { font-family: \"\xe8\"; }") << int(Msg::ThemeNotText);
    QTest::newRow("no rule") << QByteArray("just words") << int(Msg::ThemeNotStyleSheet);
    QTest::newRow("rule not closed")
        << QByteArray("QLabel { color: red;") << int(Msg::ThemeNotStyleSheet);
    QTest::newRow("brace closing nothing")
        << QByteArray("} QLabel { color: red; }") << int(Msg::ThemeNotStyleSheet);
    QTest::newRow("nested rule") << QByteArray("QLabel { QPushButton { color: red; } }")
                                 << int(Msg::ThemeNotStyleSheet);
    QTest::newRow("comment not closed")
        << QByteArray("QLabel { color: red; } /* x") << int(Msg::ThemeNotStyleSheet);
    QTest::newRow("quote not closed")
        << QByteArray("QLabel[a=\"x] { color: red; }") << int(Msg::ThemeNotStyleSheet);
    QTest::newRow("declaration without colon")
        << QByteArray("QLabel { color red; }") << int(Msg::ThemeNotStyleSheet);
}

void TestTheme::sheets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    const ThemeFile::Sheet sheet = ThemeFile::read(bytes);
    QCOMPARE(sheet.problem, problem == 0 ? QString() : Msg::text(problem));
    QCOMPARE(sheet.text.isEmpty(), problem != 0);
}

void TestTheme::whichFile()
{
    const QString root = TestEnv::root() + "/themes";
    QDir().mkpath(root + "/program");
    QDir().mkpath(root + "/elsewhere");
    const auto touch = [](const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    };
    touch(root + "/program/RX05TdF.sui");
    touch(root + "/elsewhere/Dark.sui");
    const QString program = root + "/program";

    QCOMPARE(ThemeFile::resolve(root + "/elsewhere/Dark.sui", program),
             root + "/elsewhere/Dark.sui");
    // A file that is gone: the one of the same name beside the program.
    QCOMPARE(ThemeFile::resolve(root + "/elsewhere/RX05TdF.sui", program),
             program + "/RX05TdF.sui");
    QCOMPARE(ThemeFile::resolve(root + "/nowhere/Other.sui", program), std::nullopt);
    QCOMPARE(ThemeFile::resolve(QString(), program), std::nullopt);
    // A folder is no theme file.
    QCOMPARE(ThemeFile::resolve(root + "/elsewhere", program), std::nullopt);
}

void TestTheme::contrast_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("alike") << QColor(35, 38, 45) << QColor(35, 38, 45) << 1.0;
    QTest::newRow("blue link on the night theme") << QColor(Qt::blue) << QColor(0x23262d) << 1.8;
    QTest::newRow("blue link on the day theme") << QColor(Qt::blue) << QColor(0xeef1f6) << 7.6;
}

void TestTheme::contrast()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(double, ratio);
    QVERIFY(std::abs(contrastRatio(text, background) - ratio) < 0.05);
    QCOMPARE(contrastRatio(background, text), contrastRatio(text, background));
    // Made readable without changing what already reads, and still of its hue.
    const QColor readable = readableOn(text, background);
    QVERIFY(ratio < 1.5 || contrastRatio(readable, background) >= 4.5);
    if (ratio >= 4.5)
        QCOMPARE(readable, text);
    else if (text.hue() >= 0 && readable.hue() >= 0)
        QVERIFY(std::abs(readable.hue() - text.hue()) <= 2);
}

RYDEX_TEST_MAIN(TestTheme, QCoreApplication)
#include "tst_theme.moc"
