#include "TestMain.h"
#include "TestProgram.h"

#include "app/TfrmBase.h"
#include "base/MessageCatalogue.h"
#include "prefs/PreferenceKey.h"
#include "prefs/PreferenceStore.h"
#include "records/TfrmNewRecord.h"
#include "theme/TsuiFileTheme.h"
#include "toolkit/MenuItem.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {
QString ship(const QString& folder, const QString& name)
{
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    QFile::copy(QStringLiteral(RYDEX_THEMES "/") + name, target);
    return target;
}

QString storedSkin(const TestProgram& program)
{
    PreferenceStore prefs(program.preferencePath());
    return prefs.openKey(PreferenceStore::programKeyPath(), false)
        .readText(QStringLiteral("skin"), QStringLiteral("<absent>"));
}

// Runs the theme command, answering its file dialog with the file (or
// cancelling it when empty); returns the dialog's name filters.
QStringList chooseTheme(TestProgram& program, const QString& file)
{
    QStringList filters;
    program.dialogs().handleNextModal([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        filters = files->nameFilters() << files->defaultSuffix() << dialog.objectName();
        if (file.isEmpty())
            return int(QDialog::Rejected);
        // Typed into the name box, as a user does.
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
        return int(QDialog::Accepted);
    });
    program.window()->mnuSkin->trigger();
    return filters;
}
} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

private slots:
    void chooseKeepAndFallBack();
};

void TestThemes::chooseKeepAndFallBack()
{
    const QString cwd = QDir::currentPath();
    QString night;
    QString storeFolder;
    {
        TestProgram program;
        storeFolder = program.folder();
        const QString standard = ship(program.folder(), QStringLiteral("RX05TdF.sui"));
        QDir().mkpath(program.folder() + "/mine");
        night = ship(program.folder() + "/mine", QStringLiteral("RX05Night.sui"));
        TfrmBase* w = program.start();

        // First start: the theme beside the program, nothing stored.
        QCOMPARE(w->suiFileTheme->themeFile(), standard);
        QCOMPARE(storedSkin(program), "<absent>");
        QVERIFY(qApp->styleSheet().contains(QStringLiteral("default theme")));

        // Cancelled: the theme in force is stored.
        QCOMPARE(chooseTheme(program, {}),
                 (QStringList{"Rydex Skin (*.sui)", "sui", "OpenSkinDialog"}));
        QCOMPARE(storedSkin(program), standard);

        // Another theme restyles every window; each window's manager binds
        // its listed controls when it is shown.
        chooseTheme(program, night);
        QCOMPARE(w->suiFileTheme->themeFile(), night);
        QCOMPARE(storedSkin(program), night);
        QVERIFY(qApp->styleSheet().contains(QStringLiteral("dark theme")));
        QCOMPARE(w->findChild<QObject*>(QStringLiteral("DBGrid"))->property("UIStyle").toString(),
                 "FromThemeFile");
        QCOMPARE(QDir::currentPath(), cwd);

        // A file that is no theme: the user is told, nothing changes.
        const QString broken = program.folder() + "/mine/Broken.sui";
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x00\x01\x02 not a sheet", 15));
        f.close();
        chooseTheme(program, broken);
        QCOMPARE(program.dialogs().last().kind, "error");
        QVERIFY(program.dialogs().last().text.contains(Msg::text(Msg::ThemeNotText)));
        QCOMPARE(w->suiFileTheme->themeFile(), night);
        QCOMPARE(storedSkin(program), night);
    }
    // The next start keeps the choice; once the file is gone, the one of
    // the same name beside the program is taken.
    {
        TestProgram again(storeFolder);
        TfrmBase* w = again.start();
        QCOMPARE(w->suiFileTheme->themeFile(), night);
    }
    QVERIFY(QFile::remove(night));
    ship(storeFolder, QStringLiteral("RX05Night.sui"));
    {
        TestProgram again(storeFolder);
        TfrmBase* w = again.start();
        QCOMPARE(w->suiFileTheme->themeFile(), storeFolder + "/RX05Night.sui");
        QCOMPARE(storedSkin(again), night); // not corrected at start-up
        again.window()->recordDialog()->show();
        QCOMPARE(again.window()->recordDialog()->btnOk->property("UIStyle").toString(),
                 "FromThemeFile");
        again.window()->recordDialog()->hide();
    }
    qApp->setStyleSheet(QString());
}

RYDEX_TEST_MAIN(TestThemes, QApplication)
#include "tst_themes.moc"
