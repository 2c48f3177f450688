#pragma once

#include "toolkit/ControlProperties.h"

#include "prefs/CyclistPreferences.h"
#include "prefs/PreferenceKey.h"
#include "toolkit/MainWindowOperations.h"

#include "store/RideFields.h"
#include "store/StoreLocation.h"
#include "store/TData.h"
#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class DBGrid;
class PendingTranslation;
class QTimer;
class TbsPolyglotManager;
class TsuiFileTheme;
class TsuiThemeManager;
class DBMemo;
class MenuItem;
class MessageDialog;
class PreferenceStore;
class QGroupBox;
class QVBoxLayout;
class QLabel;
class QMenu;
class QStackedWidget;
class QStatusBar;
class QThread;
class QToolButton;
class SidePanel;
class StoreOpening;
class TabControl;
class TData;
class MonthChartView;
class TfrmNewRecord;
class TfrmWork;
class TfrmSettings;
class TfrmNewUser;
class TfrmLanguage;
class TfrmReport;
class TfrmImport;
class TfrmSeason;

// The main window: the welcome page while nobody is signed in, the month view
// of the signed-in cyclist otherwise, and every command of the program.
class TfrmBase : public QMainWindow, public MainWindowOperations
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)

public:
    struct Environment
    {
        std::shared_ptr<PreferenceStore> preferences;
        // Whether the ride store's engine is there; the program asks Qt for
        // the driver of the store chosen.
        std::function<bool()> engineCheck;
        // Where the theme file and the language folder lie.
        QString applicationDir;
        // The store chosen for this installation, and this computer's file,
        // which the Database window offers whatever is chosen.
        StoreLocation store;
        QString filePath;
    };

    explicit TfrmBase(Environment environment, QWidget* parent = nullptr);
    ~TfrmBase() override;

    // The data module is made after the main window; it is handed over then.
    void setDataModule(TData* data);
    TData* dataModule() const override { return m_data; }

    bool enginePresent() const { return m_enginePresent; }
    // True once start-up found no engine and the program is to end.
    bool terminated() const { return m_terminated; }

    // Sign-in state that the other windows read.
    QString cyclistName() const override { return m_cyclistName; }
    QStringList cyclistList() const { return m_cyclists; }
    PreferenceKey programKey() const override { return m_programKey; }
    PreferenceKey cyclistsKey() const override { return m_cyclistsKey; }
    PreferenceKey cyclistKey() const { return m_cyclistKey; }
    int year() const { return m_year; }
    QDate workingDate() const { return m_workingDate; }
    void setWorkingDate(const QDate& date) override { m_workingDate = date; }
    bool signedIn() const;
    // The month shown, 1 to 12.
    int monthShown() const;
    // The signed-in cyclist's preferences.
    CyclistPreferences cyclistPreferences() const override
    {
        return CyclistPreferences(m_cyclistKey);
    }

    // What the dialogs change in the month view, without reaching into its
    // controls.
    void showColumn(int position, bool shown) override;
    // Shows the chart with this index and makes its tab current.
    void showChart(int index) override;
    // The welcome page with the cyclist commands off, as after signing off.
    void showSignedOut() override;
    void showStoreNotOpen() override;
    QWidget* ownerWindow() override { return this; }
    QMetaObject::Connection connectHint(QObject* context,
                                        std::function<void(const QString&)> show) override;

    QString skinPath() const { return m_skin; }
    QString languageName() const { return m_language; }

    // Handlers and methods with the program's names.
    void FormCreate();
    void FormShow();
    void Reklama();
    void ShowHint(const QString& hint);
    void AktualizaceMenu() override;
    void ClickOnCyclist(MenuItem* item);
    void prihlaseni();
    // Shows what the store's opening left for the user to know.
    void reportStoreNotices();
    // Opens the data module's store as the user meets it: a server asks
    // for its password, an empty database whether to make the tables.
    // Throws RydexError; a password the user would not give leaves it closed.
    void openStore();
    // The "Database..." command: the store chosen for the installation.
    void mnuDatabaseClick();
    // Leaves the month view, opens that store and keeps the choice; when it
    // cannot be used, says why and goes back to the store used so far.
    bool useStore(const StoreLocation& location);
    // Copies this computer's rides to that server, behind the progress
    // window when it takes long; the words for the user on what was copied.
    QString copyRides(const StoreLocation& server);
    void mnuLogoffClick();
    void mnuQuitClick();
    void mnuAboutClick();
    void mnuLanguageClick();
    // The theme command: the application minimised, the theme file chosen
    // in OpenSkinDialog, "skin" written, the windows restored.
    void mnuSkinClick();
    // The month report in the print preview, from the menu, the grid's menu
    // and the toolbar.
    void Print();
    // Its first steps: the month's first ride made current, the question
    // for an empty month, the report's texts and chart. False when the user
    // declined or there is nothing to report on.
    bool prepareReport();
    void MesiceChange() override;
    void btnDownClick();
    void btnUpClick();
    void MonthKM();
    void YearHours();
    void YearKM();
    void GrafyChange();
    void DefaultGraf();
    // Fills the chart from the rows of the table's current set.
    void RefreshChart();

    // Ride records.
    void NewRecord();
    void EditRecord();
    void DeleteRecord();
    // The sequence after a stored change; savedOn is the day of the ride
    // saved, invalid after a delete.
    void refreshAfterChange(const QDate& savedOn);
    // After an import, which recomputed the odometer chains itself: the
    // month of the latest imported ride is shown, that ride current, the
    // month view filled once. The caller emits monthViewChanged when its
    // controls follow the table again.
    void showImportedRides(const QVector<RideRow>& rides);
    // Shows the month of that day with the ride of this id current (the
    // month's first ride when it is not there), moving to its year when
    // needed; the month view is filled once. The caller emits
    // monthViewChanged when its controls follow the table again.
    void showRide(const QDate& day, int rideId);
    // The season window while it is open.
    TfrmSeason* seasonWindow() const;
    // The signed-in cyclist's rides written for spreadsheets.
    void mnuExportClick();
public slots:
    // The record commands' entry points, one handler each, so that a reader
    // can trace every menu item, button and the grid to its command. Each
    // runs its command guarded: an error ends it in the standard error box.
    void mnuNewItemClick();
    void mnuNovyZaznamClick();
    void toolBtnCreateClick();
    void mnuEditItemClick();
    void mnuUpravaZaznamuClick();
    void toolBtnEditClick();
    void DBGridDblClick();
    void mnuNoteItemClick();
    void mnuDeleteItemClick();
    void mnuSmazatZaznamClick();
    void toolBtnDeleteClick();
    void mnuUpravaODOClick();
    void mnuImportClick();
    void toolBtnImportClick();
    void mnuSeasonClick();
    void toolBtnSeasonClick();
    // Writes everything of this installation into one backup file the user
    // names.
    void mnuBackupClick();
    // Puts what a backup the user chooses holds in place of all rides and
    // preferences, once the user saw what it holds and agreed.
    void mnuRestoreClick();

public:
    // How "Back up..." asks where to write, offering this path; an empty
    // answer cancels. Tests answer in place of the user.
    std::function<QString(const QString& suggested)> chooseBackupFile;
    // How "Restore..." asks for the backup, starting in this folder.
    std::function<QString(const QString& folder)> chooseRestoreFile;
    // The automatic backup under way, waited for before the program ends.
    void waitForAutomaticBackup();

public slots:
    // Opens the import window for the signed-in cyclist, reading these files
    // and every ride file below these folders; with none, the window waits
    // for the user to choose. Called with a cyclist signed in. While an
    // import window is open, the files are read into it instead.
    void importFiles(const QStringList& paths);

public:
    void SpoctiAVS() override;
    // What follows every stored change of records: UpdateTotal, re-read of
    // the table, the chart, YearKM, MonthKM, YearHours.
    void afterRecordsChanged() override;
    // Odometer chain of the signed-in cyclist's year shown, and the command
    // that sets the year's first reading.
    void UpdateTotal();
    // The same after a ride was saved on that day: a new first ride of the
    // year keeps the reading entered for the ride it comes before, and the
    // chain of the ride's year is recomputed too when it is not the year
    // shown, in the same transaction.
    void UpdateTotal(const QDate& savedOn);
    void EditODO();
    // The long-lived windows made after the main window.
    void setRecordDialog(TfrmNewRecord* dialog) { m_recordDialog = dialog; }
    TfrmNewRecord* recordDialog() const { return ensureWindows(), m_recordDialog; }
    void setProgressWindow(TfrmWork* window) { m_progress = window; }
    TfrmWork* progressWindow() const { return ensureWindows(), m_progress; }
    void setSettingsDialog(TfrmSettings* dialog) { m_settings = dialog; }
    TfrmSettings* settingsDialog() const override { return ensureWindows(), m_settings; }
    void setNewUserDialog(TfrmNewUser* dialog) { m_newUser = dialog; }
    void setLanguageDialog(TfrmLanguage* dialog) { m_languageDialog = dialog; }
    // The report form, whose chart follows this window's from now on.
    void setReportForm(TfrmReport* report);
    TfrmReport* reportForm() const { return ensureWindows(), m_report; }
    TfrmLanguage* languageDialog() const { return m_languageDialog; }
    TfrmNewUser* newUserDialog() const { return ensureWindows(), m_newUser; }
    // The windows that are not needed to show the main window are made just
    // after its first painting, or at once when something asks for one of
    // them sooner: the cyclist sees the main window without waiting for
    // dialogs he has not opened yet.
    // They hold their place in the order of translation from the moment the
    // maker is set, so they are translated as if they had been made then.
    void setWindowMaker(std::function<void()> maker);
    void ensureWindows() const;

    // Cyclists and settings.
    void mnuOptionsClick();
    // Opens the new cyclist dialog (from the settings dialog, or from the
    // sign-in menu while no cyclist exists).
    void openNewCyclistDialog() override;

    // The shown hint, for the record dialog's status bar as well.
    QString currentHint() const override { return m_hint; }

signals:
    void hintChanged(const QString& hint);
    // The month view was filled again (sign-in, month, year, records).
    void monthViewChanged();
    // Rides were stored or deleted (a save, a delete, an import).
    void ridesWritten();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLanguageManager();
    void buildMenus();
    void buildWelcomePage();
    void buildWorkingPage();
    QWidget* buildToolbarStrip(QWidget* parent);
    QWidget* buildYearStrip(QWidget* parent);
    void buildMonthArea(QVBoxLayout* layout);
    void wireMonthKeys();
    // One menu item (or separator) and where it goes.
    struct MenuRow;
    void addMenuRows(const MenuRow* rows, std::size_t count);
    // Shortcut scopes, the commands not built yet, and every item's handler.
    void wireMenus();
    QWidget* buildChartArea(QWidget* parent);
    QGroupBox* buildStatisticsBox(QWidget* parent, const QString& name, const QString& caption,
                                  const QStringList& captions, const QStringList& valueNames,
                                  const QStringList& units, const QList<int>& rows);
    void buildMessageDialogs();
    void setCyclistCommandsEnabled(bool enabled);
    // Opens the season window, or brings it to the front when it is open.
    void openSeason();
    // A ride the season window points at, shown in the month view.
    void showSeasonRide(const QDate& day, int rideId);
    // The welcome page's word on how to begin, in the language shown, while
    // no cyclist exists.
    void showFirstSteps();
    void showWorkingPage(bool working);
    void setMonthFilter();
    void setYearText();
    void changeYear(int step);
    // The year shown is stored once it is on the screen; anything that reads
    // or replaces the cyclist's preferences stores it first.
    void storeYear();
    // The ways out of the month view. Each leaves it through leaveMonthView,
    // which writes the year still waiting to be stored before anything reads
    // or replaces the preferences it belongs to.
    enum class Leaving {
        SignOut,        // the sign-out command: welcome page, store closed
        Restore,        // a restore about to replace the store and preferences
        ProgramEnd,     // Exit, or the window closed: the table closed
        AnotherCyclist, // another cyclist signing in directly
        CyclistDialog,  // the settings or the new cyclist dialog opening
        StoreChange,    // another store about to be used: welcome page, store closed
    };
    void leaveMonthView(Leaving way);
    void applyColumnChoice();
    // Takes the day's automatic backup beside the store on a thread of its
    // own, when one is due; a failure is reported once.
    void startAutomaticBackup();
    // Backups and restores are of this computer's file: RydexError while a
    // server's store is in use.
    void requireFileStore() const;
    void automaticBackupFinished(const QString& failure);
    // Runs a command; an error it does not handle goes to the standard error box.
    void guarded(const std::function<void()>& command);
    // Another computer changed rides of this cyclist: the month view shows
    // them once no dialog or pending ride could be disturbed.
    void ridesChangedElsewhere(const QString& cyclist);
    void showChangesFromElsewhere();

    Environment m_env;
    std::unique_ptr<StoreOpening> m_opening;
    // Runs the re-read of rides changed elsewhere, coalesced and postponed
    // while the user is busy in a dialog.
    QTimer* m_changedElsewhere = nullptr;
    QPointer<TData> m_data;
    bool m_enginePresent = false;
    bool m_terminated = false;
    bool m_shownOnce = false;
    // Opens (creating) a preference key; see the definition for a file
    // whose problem was shown at start-up.
    PreferenceKey openPreferenceKey(const QString& path);
    // The preference file's problem was shown at start-up.
    bool m_preferencesReported = false;
    PreferenceKey m_programKey;
    PreferenceKey m_cyclistsKey;
    PreferenceKey m_cyclistKey;
    QString m_cyclistName;
    QStringList m_cyclists;
    int m_year = 0;
    QDate m_workingDate;
    QString m_skin;
    // The theme beside the program, when it was refused as the window was
    // made: the user was told then, and is not told again at the first showing.
    QString m_refusedStartTheme;
    QString m_language;
    QString m_hint;
    TfrmNewRecord* m_recordDialog = nullptr;  // not owned; lives for the whole run
    TfrmWork* m_progress = nullptr;           // not owned; lives for the whole run
    TfrmSettings* m_settings = nullptr;       // not owned; lives for the whole run
    TfrmNewUser* m_newUser = nullptr;         // not owned; lives for the whole run
    TfrmLanguage* m_languageDialog = nullptr; // not owned; lives for the whole run
    TfrmReport* m_report = nullptr;           // not owned; lives for the whole run
    QPointer<TfrmImport> m_import;            // while an import window is open
    QPointer<TfrmSeason> m_season;            // while the season window is open
    mutable std::function<void()> m_windowMaker;
    mutable std::unique_ptr<PendingTranslation> m_windowsPlace;
    bool m_windowsScheduled = false;
    QTimer* m_yearStore = nullptr;
    std::unique_ptr<QThread> m_automaticBackup;
    bool m_automaticBackupReported = false;
    std::optional<std::pair<CyclistPreferences, int>> m_yearToStore;

public:
    // Components, named as the language files and the tests know them.
    TbsPolyglotManager* LanguageManager = nullptr;
    TsuiFileTheme* suiFileTheme = nullptr;
    TsuiThemeManager* suiThemeManager = nullptr;
    QMenuBar* MainMenu = nullptr;
    MenuItem* mnuProgram = nullptr;
    MenuItem* mnuDatabase = nullptr;
    MenuItem* mnuSkin = nullptr;
    MenuItem* mnuLanguage = nullptr;
    MenuItem* mnuBackup = nullptr;
    MenuItem* mnuRestore = nullptr;
    MenuItem* mnuQuit = nullptr;
    MenuItem* mnuRydex = nullptr;
    MenuItem* mnuLogin = nullptr;
    MenuItem* mnuLogoff = nullptr;
    MenuItem* mnuNewCyclist = nullptr;
    MenuItem* mnuRecords = nullptr;
    MenuItem* mnuNovyZaznam = nullptr;
    MenuItem* mnuImport = nullptr;
    MenuItem* mnuExport = nullptr;
    MenuItem* mnuUpravaZaznamu = nullptr;
    MenuItem* mnuSmazatZaznam = nullptr;
    MenuItem* mnuUpravaODO = nullptr;
    MenuItem* mnuPrint = nullptr;
    MenuItem* mnuSeason = nullptr;
    MenuItem* mnuOptions = nullptr;
    MenuItem* mnuInformace = nullptr;
    MenuItem* mnuAbout = nullptr;
    QMenu* GridMenu = nullptr;
    MenuItem* mnuRecordsItem = nullptr;
    MenuItem* mnuNewItem = nullptr;
    MenuItem* mnuEditItem = nullptr;
    MenuItem* mnuDeleteItem = nullptr;
    MenuItem* mnuTisk = nullptr;
    QMenu* NoteMenu = nullptr;
    MenuItem* mnuNoteItem = nullptr;
    QToolButton* toolBtnCreate = nullptr;
    QToolButton* toolBtnEdit = nullptr;
    QToolButton* toolBtnDelete = nullptr;
    QToolButton* toolBtnImport = nullptr;
    QToolButton* toolBtnSeason = nullptr;
    QToolButton* toolBtnPrint = nullptr;
    QToolButton* toolBtnSettings = nullptr;
    QStackedWidget* Pages = nullptr;
    QWidget* WelcomePage = nullptr;
    QWidget* WorkPage = nullptr;
    QWidget* SponsorPanel = nullptr;
    QLabel* lblFirstCyclist = nullptr;
    QWidget* YearStrip = nullptr;
    QLabel* lblYear = nullptr;
    QToolButton* btnDown = nullptr;
    QToolButton* btnUp = nullptr;
    TabControl* Mesice = nullptr;
    DBGrid* Grid = nullptr;
    SidePanel* NotePanel = nullptr;
    DBMemo* Note = nullptr;
    TabControl* Grafy = nullptr;
    MonthChartView* Graf = nullptr;
    QLabel* lblHodiny = nullptr;
    QLabel* lblKilometry = nullptr;
    QLabel* lblPrevyseni = nullptr;
    QLabel* lblTep = nullptr;
    QLabel* lblHodCelkem = nullptr;
    QLabel* lblKMCelkem = nullptr;
    QStatusBar* StatusBar = nullptr;
    MessageDialog* msgDlgMSJet = nullptr;
    MessageDialog* msgDlgNotDatabeseOpen = nullptr;
    MessageDialog* msgDlgDeleteRecord = nullptr;
    MessageDialog* msgDlgNotDelete = nullptr;
    MessageDialog* mdgDlgNoRecord = nullptr;
    MessageDialog* msgDlgNotPrint = nullptr;
};
