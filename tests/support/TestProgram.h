#pragma once

#include "TestRides.h"

#include "app/Startup.h"
#include "prefs/PreferenceStore.h"
#include "store/RideFields.h"
#include "toolkit/ScriptedPresenter.h"

#include <QList>
#include <QStringList>
#include <memory>
#include <utility>

class ADOTable;
class TData;
class TfrmBase;

// The program as a test starts it: its own folder with a ride store and a
// preference file, the cyclists and rides the test puts there first, and a
// scripted presenter that answers every dialog from the test's script.
//
//     TestProgram program;
//     program.addCyclist("Eva", {{"DefaultGraf", "2"}});
//     program.addRides({{.date = QDate(2005, 3, 2), .km = "12.5"}});
//     program.start();
//     program.signIn("Eva");
//     QCOMPARE(program.window()->lblKilometry->text(), "12");
class TestProgram
{
public:
    // A fresh folder under the test root; or, given a folder, the files a
    // former program (or another process) left there.
    explicit TestProgram(const QString& folder = {});
    ~TestProgram();

    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    // Before start(): a cyclist's key, with text values in it.
    PreferenceKey addCyclist(const QString& name,
                             const QList<std::pair<QString, QString>>& values = {});
    // Before start(): rides written through a cursor of their own; none
    // leaves the store to be created by the program.
    void addRides(const QList<TestRide>& rides);

    // Starts the program; engineInstalled answers its check for the engine.
    // The windows the program makes once the main window is painted are made
    // at once, unless the test leaves them to the event loop.
    enum class OtherWindows { Now, Later };
    TfrmBase* start(bool engineInstalled = true, OtherWindows others = OtherWindows::Now);
    // Signs in through the sign-in menu as the user would: the cyclist listed
    // under that name, or the first one listed.
    void signIn(const QString& name = {});

    QString folder() const { return m_folder; }
    QString storePath() const { return m_options.storePath; }
    QString preferencePath() const { return m_options.preferencePath; }
    Startup::Options options() const { return m_options; }

    ScriptedPresenter& dialogs() const { return *m_dialogs; }
    Startup& startup() const { return *m_startup; }
    TfrmBase* window() const;
    TData* data() const;
    ADOTable* table() const;

    // The sign-in menu as "menu0=Eva", ..., in the order listed.
    QStringList loginMenu() const;
    // The key of every cyclist and one cyclist's key, as stored now; neither
    // is created when missing.
    PreferenceKey cyclistsKey() const;
    PreferenceKey cyclistKey(const QString& name) const;
    // The preference file as it is on disc.
    QByteArray preferenceBytes() const;
    // A cyclist's rides as stored, read through a connection of their own.
    QList<RideRow> stored(const QString& user) const;

private:
    QString m_folder;
    Startup::Options m_options;
    // Declared before the program, so that it outlives every window.
    ScopedPresenter<> m_dialogs;
    std::unique_ptr<Startup> m_startup;
};
