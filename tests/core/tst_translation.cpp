#include "TestMain.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/PropertyPath.h"
#include "polyglot/RuntimeNaming.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"
#include "polyglot/TbsPolyglotTranslator.h"

#include <QDir>
#include <memory>

// Windows and components of the shapes a language file reaches, without a
// widget: text, number, yes/no, enumerated, list, collection and object
// properties, and kinds a file cannot set.
class FakeTitle : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)

public:
    using QObject::QObject;
    QString caption = QStringLiteral("title");
};

class FakeColumns : public ItemCollection
{
    Q_OBJECT

public:
    explicit FakeColumns(QObject* owner) : ItemCollection(owner)
    {
        for (int i = 0; i < 3; ++i)
            titles.append(new FakeTitle(this));
    }
    int count() const override { return int(titles.size()); }
    QObject* item(int index) const override { return titles.at(index); }
    QList<FakeTitle*> titles;
};

class FakeControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(int Left MEMBER left)
    Q_PROPERTY(double Ratio MEMBER ratio)
    Q_PROPERTY(bool Visible MEMBER visible)
    Q_PROPERTY(Align Alignment MEMBER alignment)
    Q_PROPERTY(QStringList Items MEMBER items)
    Q_PROPERTY(FakeColumns* Columns MEMBER columns)
    Q_PROPERTY(FakeTitle* Title MEMBER title)
    Q_PROPERTY(FakeTitle* Nothing MEMBER nothing)
    Q_PROPERTY(qint64 Big MEMBER big)
    Q_PROPERTY(QChar Letter MEMBER letter)

public:
    enum Align { alLeft, alRight };
    Q_ENUM(Align)

    FakeControl(const QString& name, QObject* owner) : QObject(owner) { setObjectName(name); }
    QString caption() const { return m_caption; }
    void setCaption(const QString& c)
    {
        m_caption = c;
        captionSets.append(c);
    }

    int left = 7;
    double ratio = 2.5;
    bool visible = true;
    Align alignment = alLeft;
    QStringList items{QStringLiteral("one")};
    FakeColumns* columns = new FakeColumns(this);
    FakeTitle* title = new FakeTitle(this);
    FakeTitle* nothing = nullptr;
    qint64 big = 1;
    QChar letter = u'a';
    QStringList captionSets;

private:
    QString m_caption = QStringLiteral("Czech");
};

// A window is found by its class name: the language file's section.
class TfrmFake : public FakeControl
{
    Q_OBJECT

public:
    explicit TfrmFake(QObject* owner = nullptr) : FakeControl(QStringLiteral("frmFake"), owner)
    {
        auto* panel = new FakeControl(QStringLiteral("Panel"), this);
        label = new FakeControl(QStringLiteral("Label1"), panel);
        ratioComponent = new FakeControl(QStringLiteral("Ratio"), this);
    }
    FakeControl* label;
    FakeControl* ratioComponent;
};

class TfrmOther : public FakeControl
{
    Q_OBJECT

public:
    explicit TfrmOther(QObject* owner = nullptr) : FakeControl(QStringLiteral("frmOther"), owner) {}
};

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString freshDirectory(const QString& name)
{
    const QString dir = TestEnv::root() + u'/' + name + u'/';
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}
} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void propertyPaths_data();
    void propertyPaths();
    void engineAndManagers();
    void languageChoice();
    void translationPasses();
    void resourceStrings_data();
    void resourceStrings();
    void deletedFileComesBack();
};

void TestTranslation::propertyPaths_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    // Which object and property to read back: "" is the window.
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    const auto row = [](const char* name, const char* key, const char* value, const char* object,
                        const char* property, const QVariant& expected) {
        QTest::newRow(name) << QString::fromUtf8(key) << QString::fromUtf8(value)
                            << QString::fromLatin1(object) << QString::fromLatin1(property)
                            << expected;
    };
    row("window title", "Caption", "'Jazyk'", "", "Caption", QStringLiteral("Jazyk"));
    row("names without case", "caPTION", "'Jazyk'", "", "Caption", QStringLiteral("Jazyk"));
    row("rest of a text path ignored", "Caption.Whatever", "'x'", "", "Caption",
        QStringLiteral("x"));
    row("a nested component", "Label1.Caption", "'Vyber jazyk:'", "Label1", "Caption",
        QStringLiteral("Vyber jazyk:"));
    row("quotes doubled", "Label1.Caption", "'Rock''n''roll'", "Label1", "Caption",
        QStringLiteral("Rock'n'roll"));
    row("one character unquoted", "Caption", "X", "", "Caption", QString());
    row("text after a closing quote", "Caption", "'a' 'b'", "", "Caption", QString());
    row("a coded blank", "Caption", "'a'#32'b'", "", "Caption", QStringLiteral("a b"));
    row("no value", "Caption", "", "", "Caption", QString());
    row("decimal", "Left", "-12", "", "Left", -12);
    row("hexadecimal with $", "Left", "$1F", "", "Left", 31);
    row("hexadecimal with 0X", "Left", "0X10", "", "Left", 16);
    row("not a number", "Left", "12px", "", "Left", 0);
    row("locale decimal comma", "Ratio", "1,25", "", "Ratio", 1.25);
    row("a point is no separator here", "Ratio", "1.25", "", "Ratio", 0.0);
    row("yes/no", "Visible", "FALSE", "", "Visible", false);
    row("enumeration", "Alignment", "alright", "", "Alignment",
        QVariant::fromValue(FakeControl::alRight));
    row("list", "Items.Strings", "Jan,'Feb Mar' , Apr,", "", "Items",
        QStringList{"Jan", "Feb Mar", "Apr", ""});
    row("list split at blanks", "Items.Strings", "Jan Feb", "", "Items", QStringList{"Jan", "Feb"});
    row("list emptied", "Items.Strings", "", "", "Items", QStringList{});
    row("list without Strings", "Items", "Jan", "", "Items", QStringList{"one"});
    row("Strings in lower case", "Items.strings", "Jan", "", "Items", QStringList{"one"});
    row("collection item", "Columns.Items(1).Caption", "'Day'", "column1", "Caption",
        QStringLiteral("Day"));
    row("item word not examined", "Columns.Whatever(1).Caption", "'Day'", "column1", "Caption",
        QStringLiteral("Day"));
    row("item out of range", "Columns.Items(3).Caption", "'Day'", "column1", "Caption",
        QStringLiteral("title"));
    row("item not a number", "Columns.Items(1x).Caption", "'Day'", "column1", "Caption",
        QStringLiteral("title"));
    row("object property", "Title.Caption", "'T'", "title", "Caption", QStringLiteral("T"));
    row("components not searched below a property", "Title.Label1.Caption", "'T'", "Label1",
        "Caption", QStringLiteral("Czech"));
    row("property preferred to a component", "Ratio.Caption", "'x'", "", "Ratio", 0.0);
    row("that component untouched", "Ratio.Caption", "'x'", "Ratio", "Caption",
        QStringLiteral("Czech"));
    row("object property holding nothing", "Nothing.Caption", "'x'", "", "Caption",
        QStringLiteral("Czech"));
    row("64-bit integer", "Big", "5", "", "Big", qint64(1));
    row("single character", "Letter", "'x'", "", "Letter", QChar(u'a'));
    row("path ending at a component", "Label1", "'x'", "Label1", "Caption",
        QStringLiteral("Czech"));
    row("a name of nothing", "Missing.Caption", "'x'", "", "Caption", QStringLiteral("Czech"));
}

void TestTranslation::propertyPaths()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, object);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    TfrmFake window;
    PropertyPath::ValueContext context;
    context.locale = QLocale(QLocale::Czech, QLocale::CzechRepublic);
    PropertyPath::apply(&window, key, value, context);

    QObject* target = &window;
    if (object == u"column1")
        target = window.columns->titles.at(1);
    else if (object == u"title")
        target = window.title;
    else if (!object.isEmpty())
        target = RuntimeNaming::ownedComponent(&window, object);
    QVERIFY(target);
    QCOMPARE(target->property(property.toLatin1()), expected);
}

void TestTranslation::engineAndManagers()
{
    QVERIFY(!GetCorePolyglot());
    TbsPolyglotManager orphan(QStringLiteral("orphan"));
    const auto errorOf = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const RydexError& e) {
            return e.text();
        }
        return QString();
    };
    QCOMPARE(errorOf([&] { orphan.CurrentLang(); }), "Core polyglot is not assigned.");
    QCOMPARE(errorOf([&] { orphan.setLangsDir(QStringLiteral("x")); }),
             "Core multi lang is not assigned");
    orphan.setTranslateResourceStrings(false); // does nothing

    auto engine = std::make_unique<TbsCorePolyglot>();
    QCOMPARE(GetCorePolyglot(), engine.get());
    QCOMPARE(errorOf([] { TbsCorePolyglot second; }),
             "Core Multi Lang is single instance class. Please use GetCorePolyglot class "
             "function to obtain an instance.");
    QCOMPARE(GetCorePolyglot(), engine.get());
    QCOMPARE(engine->langsDir(), "./Language/");
    QVERIFY(engine->routing());

    // Registration: no repeats, the translator follows its manager, and a
    // manager that goes detaches its translators.
    auto manager = std::make_unique<TbsPolyglotManager>(QStringLiteral("LanguageManager"));
    TfrmFake window;
    auto* translator = TbsPolyglotTranslator::attach(&window);
    QCOMPARE(translator->objectName(), "bsPolyglotTranslator");
    QCOMPARE(translator->Manager(), manager.get());
    translator->setManager(manager.get());
    QCOMPARE(manager->translators().size(), 1);
    {
        TfrmOther other;
        TbsPolyglotTranslator::attach(&other);
        QCOMPARE(manager->translators().size(), 2);
    }
    QCOMPARE(manager->translators().size(), 1);
    manager.reset();
    QCOMPARE(translator->Manager(), nullptr);
    QCOMPARE(engine->managers().size(), 0);

    engine.reset();
    QVERIFY(!GetCorePolyglot());
}

void TestTranslation::languageChoice()
{
    const QString dir = freshDirectory(QStringLiteral("choice"));
    writeFile(dir + "english.lng", "[TfrmFake]\nCaption='English'\n");
    writeFile(dir + "Deutsch.lng", "[TfrmFake]\nCaption='Deutsch'\n");
    TbsCorePolyglot engine;
    TbsPolyglotManager manager(QStringLiteral("LanguageManager"));
    int passes = 0;
    manager.AfterAllTranslate = [&](QObject* sender) {
        QCOMPARE(sender, &manager);
        ++passes;
    };

    // A new directory: sorted list, the previous (empty) language falls back
    // to the first one listed.
    manager.setLangsDir(dir.chopped(1));
    QCOMPARE(manager.LangsDir(), dir);
    QCOMPARE(engine.languages(), (QStringList{"Deutsch", "english"}));
    QCOMPARE(manager.CurrentLang(), "Deutsch");
    QCOMPARE(passes, 1);

    manager.setCurrentLang(QStringLiteral("english"));
    QCOMPARE(manager.CurrentLang(), "english");
    QCOMPARE(passes, 2);
    manager.setCurrentLang(QStringLiteral("english")); // the same: nothing
    QCOMPARE(passes, 2);
    manager.setCurrentLang(QStringLiteral("ENGLISH")); // other case: again
    QCOMPARE(manager.CurrentLang(), "ENGLISH");
    QCOMPARE(engine.openFilePath(), dir + "english.lng");
    QCOMPARE(passes, 3);
    manager.setCurrentLang(QStringLiteral("français")); // not listed: ignored
    QCOMPARE(manager.CurrentLang(), "ENGLISH");
    QCOMPARE(passes, 3);

    // The same directory in another case or without "/" rebuilds nothing.
    writeFile(dir + "czech.lng", "");
    manager.setLangsDir(dir.toUpper());
    QCOMPARE(engine.languageCount(), 2);

    // A handler may cancel.
    manager.CurrentLangChanging = [](QObject*, const QString& from, const QString& to,
                                     bool& cancel) {
        QCOMPARE(from, "ENGLISH");
        QCOMPARE(to, "Deutsch");
        cancel = true;
    };
    manager.setCurrentLang(QStringLiteral("Deutsch"));
    QCOMPARE(manager.CurrentLang(), "ENGLISH");
    manager.CurrentLangChanging = nullptr;

    // Another directory re-selects the language by name, else the first.
    const QString other = freshDirectory(QStringLiteral("other"));
    writeFile(other + "English.lng", "");
    writeFile(other + "Polski.lng", "");
    manager.setLangsDir(other);
    QCOMPARE(manager.CurrentLang(), "ENGLISH");
    QCOMPARE(engine.openFilePath(), other + "English.lng");
    manager.setLangsDir(freshDirectory(QStringLiteral("empty")));
    QCOMPARE(manager.CurrentLang(), "");
    QCOMPARE(engine.languageCount(), 0);
    manager.setCurrentLang(QString());
    QCOMPARE(engine.openFilePath(), "");
}

void TestTranslation::translationPasses()
{
    const QString dir = freshDirectory(QStringLiteral("passes"));
    writeFile(dir + "a.lng", "[TfrmFake]\nCaption='dropped'\n"
                             "[TfrmFake]\nCaption='One'\nLeft=3\ncaption='Two'\n"
                             "[TfrmOther]\nCaption='Other A'\n");
    writeFile(dir + "b.lng", "[TfrmFake]\nLeft=5\nVisible=Maybe\nCaption='never'\n"
                             "[TfrmOther]\nCaption='Other B'\n");
    TbsCorePolyglot engine;
    TbsPolyglotManager manager(QStringLiteral("LanguageManager"));
    TfrmFake window;
    TfrmOther other;
    TbsPolyglotTranslator::attach(&window);
    TbsPolyglotTranslator::attach(&other);
    QCOMPARE(window.caption(), "Czech");

    // Every occurrence of a repeated key is applied with its last value; the
    // earlier section of the same name is never used.
    manager.setLangsDir(dir);
    QCOMPARE(manager.CurrentLang(), "a");
    QCOMPARE(window.captionSets, (QStringList{"Two", "Two"}));
    QCOMPARE(window.left, 3);
    QCOMPARE(other.caption(), "Other A");

    // A name that is no element stops the pass: the rest of that section and
    // the windows after it keep their texts, the language is current.
    try {
        manager.setCurrentLang(QStringLiteral("b"));
        QFAIL("no error for an invalid element");
    } catch (const RydexError& e) {
        QCOMPARE(e.text(), "Invalid property element: Maybe");
    }
    QCOMPARE(manager.CurrentLang(), "b");
    QCOMPARE(window.left, 5);
    QCOMPARE(window.caption(), "Two");
    QCOMPARE(other.caption(), "Other A");

    // Two files that switch to each other end after a few nested changes.
    writeFile(dir + "ping.lng", "[TfrmOther]\nLanguageManager.CurrentLang='pong'\n");
    writeFile(dir + "pong.lng", "[TfrmOther]\nLanguageManager.CurrentLang='ping'\n");
    {
        const std::unique_ptr<TbsPolyglotManager> owned(
            new TbsPolyglotManager(QStringLiteral("LanguageManager"), &other));
        manager.setLangsDir(QString()); // listed anew below
        manager.setLangsDir(dir);
        manager.setCurrentLang(QStringLiteral("ping"));
        QVERIFY2(manager.CurrentLang() == "ping" || manager.CurrentLang() == "pong",
                 qPrintable(manager.CurrentLang()));
    }

    // A window made later is translated from the open file at its creation;
    // texts are not reset by a language that does not name them.
    manager.setCurrentLang(QStringLiteral("a"));
    TfrmOther later;
    TbsPolyglotTranslator::attach(&later);
    QCOMPARE(later.caption(), "Other A");
}

void TestTranslation::resourceStrings_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<bool>("routing");
    QTest::addColumn<QString>("expected");

    const QString own = Msg::builtIn(Msg::Cancel);
    QTest::newRow("key with a label and blanks")
        << QByteArray("65318 _x='Zrušit'\n") << true << "Zrušit";
    QTest::newRow("leading zero is another number") << QByteArray("065318='x'\n") << true << own;
    QTest::newRow("first key in file order")
        << QByteArray("65318_a='first'\n65318_b='second'\n") << true << "first";
    QTest::newRow("repeated key, last value")
        << QByteArray("65318='one'\n65318='two'\n") << true << "two";
    QTest::newRow("empty text is an answer") << QByteArray("65318=''\n") << true << "";
    QTest::newRow("routing off") << QByteArray("65318='Zrušit'\n") << false << own;
}

void TestTranslation::resourceStrings()
{
    QFETCH(QByteArray, section);
    QFETCH(bool, routing);
    QFETCH(QString, expected);

    const QString dir = freshDirectory(QStringLiteral("strings"));
    writeFile(dir + "x.lng", "[ResourceStrings]\n" + section);
    {
        TbsCorePolyglot engine;
        TbsPolyglotManager manager(QStringLiteral("LanguageManager"));
        manager.setLangsDir(dir);
        manager.setTranslateResourceStrings(routing);
        QCOMPARE(Msg::text(Msg::Cancel), expected);
        QCOMPARE(Msg::text(Msg::OK), Msg::builtIn(Msg::OK));
        QCOMPARE(Msg::text(0), QString());
    }
    // Routing ends with the engine.
    QCOMPARE(Msg::text(Msg::Cancel), Msg::builtIn(Msg::Cancel));
}

void TestTranslation::deletedFileComesBack()
{
    const QString dir = freshDirectory(QStringLiteral("deleted"));
    writeFile(dir + "a.lng", "; the translator's note\r\n[TfrmFake]\r\nCaption = 'A'\r\nstray\r\n");
    writeFile(dir + "b.lng", "");
    TbsCorePolyglot engine;
    TbsPolyglotManager manager(QStringLiteral("LanguageManager"));
    TfrmFake window;
    TbsPolyglotTranslator::attach(&window);
    manager.setLangsDir(dir);
    QCOMPARE(window.caption(), "A");
    QVERIFY(QFile::remove(dir + "a.lng"));
    manager.setCurrentLang(QStringLiteral("b"));
    QCOMPARE(window.caption(), "A");
    QFile file(dir + "a.lng");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[TfrmFake]\r\nCaption='A'\r\nstray\r\n\r\n"));
}

RYDEX_TEST_MAIN(TestTranslation, QCoreApplication)
#include "tst_translation.moc"
