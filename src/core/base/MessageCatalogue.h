#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The program's numbered message texts. Every text a routine composes for the
// user (as opposed to a component's property) is fetched through text(), so
// that a language file's ResourceStrings section can replace it by number.
namespace Msg {
enum Id : int {
    // Numbers shared with the message texts a language file may already carry.
    Error = 65312,
    Yes = 65315,
    OK = 65317,
    Cancel = 65318,
    Warning = 65343,
    CannotOpenFile = 65415,
    InvalidPropertyElement = 65421,
    InvalidRegType = 65440,
    RegCreateFailed = 65441,
    RegSetDataFailed = 65442,
    RangeError = 65443,

    // The program's own texts.
    StoreNotValid = 1001,
    StoreReadOnly = 1002,
    StoreCannotCreate = 1003,
    PreferencesDamaged = 1004,
    PreferencesUnreadable = 1005,
    FieldValueTooLarge = 1006,
    FieldConversion = 1007,
    FilterNotUnderstood = 1008,
    StoreClosed = 1009,
    NoCurrentRow = 1010,
    NotEditing = 1011,
    Information = 1012,
    Confirmation = 1013,

    // The ride store.
    StoreFolderReadOnly = 1020,
    StoreDanglingLink = 1021,
    StoreFolderNotCreated = 1022,
    RideChangedElsewhere = 1023,
    DamagedRow = 1024,
    NumberOutOfRange = 1025,
    StoreUnfinishedWrite = 1026,
    StoreDriverMissing = 1027,
    StoreBusy = 1028,
    StoreDamagedLog = 1029,
    DamagedRidesShown = 1030,
    StoreNewerVersion = 1031,
    StoreLogNotApplied = 1032,
    StoreDamagedPages = 1033,

    // The ride store on a PostgreSQL server.
    ServerTextEmpty = 1040,
    ServerTextPassword = 1041,
    ServerTextCharacter = 1042,
    ServerTextNotUnderstood = 1043,
    ServerUnreachable = 1044,
    ServerPasswordNeeded = 1045,
    ServerPasswordWrong = 1046,
    ServerForeign = 1047,
    ServerEmptyQuestion = 1048,
    ServerEmptyRefused = 1049,
    ServerConnectionLost = 1050,
    ServerDriverMissing = 1051,
    ServerTimedOut = 1052,
    ServerReady = 1053,
    ServerEmptyFound = 1054,

    // The preference store.
    RegDeleteFailed = 1100,
    PreferencesNotKept = 1101,
    NotARegularFile = 1102,
    PreferenceFolderNotWritable = 1103,
    PreferenceFileNotWritable = 1104,
    PreferenceFileLocked = 1105,
    PreferenceFileDamagedKept = 1106,
    FileTooLarge = 1107,
    PreferencesSalvaged = 1108,
    PreferenceLine = 1109,

    // Ride records.
    AverageSpeedZeroDuration = 1250,
    InvalidRecordDate = 1251,
    FirstReadingToCheck = 1252,
    SaveRefused = 1260,
    AverageSpeedTooHigh = 1261,
    OdometerNegative = 1262,
    FirstCyclistHint = 1270,

    // Language files.
    FileReadOnly = 1300,
    CannotCreateFile = 1301,
    PolyglotSingleInstance = 1302,
    PolyglotNotAssigned = 1303,
    MultiLangNotAssigned = 1304,

    // Themes.
    ThemeUnusable = 1400,
    ThemeEmpty = 1401,
    ThemeNotText = 1402,
    ThemeNotStyleSheet = 1403,

    // Rides imported from ride files.
    ImportNotStored = 1500,
    ImportedFrom = 1501,
    ImportedFromDevice = 1502,
    RideFileDamaged = 1503,
    RideFileNoTimes = 1504,
    RideFileRoute = 1505,
    RideFileNotAnActivity = 1506,
    RideFileTooLong = 1507,
    RideFileOutOfRange = 1508,
    RideFileTooLarge = 1509,
    RideFileUnreadable = 1510,
    // The import window.
    ImportFolderCaption = 1530,
    ImportColumnFile = 1531,
    ImportColumnDate = 1532,
    ImportColumnStart = 1533,
    ImportColumnDuration = 1534,
    ImportColumnDistance = 1535,
    ImportColumnPulse = 1536,
    ImportColumnAscent = 1537,
    ImportColumnKind = 1538,
    ImportColumnStatus = 1539,
    ImportStatusNew = 1540,
    ImportStatusRecorded = 1541,
    ImportStatusRecordedFile = 1542,
    ImportStatusInThisImport = 1543,
    ImportSummary = 1544,
    ImportButton = 1545,
    ImportDone = 1546,
    ImportNothingChosen = 1547,
    ImportFileFilter = 1548,
    ImportFilesCaption = 1549,

    // Ride files handed to the program from the desktop.
    ImportSignInFirst = 1550,
    ImportNoCyclist = 1551,
    ImportSignInCyclist = 1552,

    // The season: personal bests, the lead on last year, numbers of rides.
    BestLongestDistance = 1600,
    BestLongestTime = 1601,
    BestMostClimbing = 1602,
    BestFastestRide = 1603,
    BestBiggestWeek = 1604,
    BestBiggestMonth = 1605,
    BestMostRidesInYear = 1606,
    SeasonLead = 1607,
    RidesOne = 1608,
    RidesFew = 1609,
    RidesMany = 1610,

    // The season window.
    SeasonCaption = 1620,
    SeasonWeekKm = 1621,
    SeasonWeekHours = 1622,
    SeasonYearKm = 1623,
    SeasonNotBegun = 1624,
    SeasonColumnMonth = 1625,
    SeasonColumnRides = 1626,
    SeasonColumnDistance = 1627,
    SeasonColumnHours = 1628,
    SeasonColumnElevation = 1629,
    SeasonColumnPulse = 1630,
    SeasonColumnChange = 1631,
    SeasonTotal = 1632,
    SeasonColumnBest = 1633,
    SeasonColumnValue = 1634,
    SeasonColumnWhen = 1635,
    SeasonWeekTip = 1636,

    // Backups.
    BackupNotWritten = 1700,
    BackupNotDatabase = 1701,
    BackupForeign = 1702,
    BackupNewer = 1703,
    BackupDamaged = 1704,
    BackupTablesUnexpected = 1705,
    BackupPreferencesDamaged = 1706,
    BackupUnreadable = 1707,
    AutoBackupFailed = 1710,
    BackupDone = 1720,
    BackupFileFilter = 1721,
    BackupSaveCaption = 1722,
    BackupOverStore = 1723,
    RestoreFailed = 1730,
    RestoreStoreInUse = 1731,
    RestoreOpenCaption = 1732,
    RestoreQuestion = 1733,
    RestoreDone = 1734,
    RestoreButton = 1735,
    RestoreColumnTaken = 1736,
    RestoreColumnCyclists = 1737,
    RestoreColumnRides = 1738,
    RestoreOtherFile = 1739,
    RestoreListUnreadable = 1740,

    // Rides exported for spreadsheets.
    ExportMonthChoice = 1760,
    ExportYearChoice = 1761,
    ExportAllChoice = 1762,
    ExportFileCaption = 1763,
    ExportFileFilter = 1764,
    ExportDone = 1765,
    ExportFailed = 1766,

    // Choosing the store: this computer's file or a server.
    DatabaseConnecting = 1800,
    DatabaseCopyDone = 1801,
    DatabaseNotUsed = 1802,
    DatabaseServerBackup = 1803,
};

// The text of a number, after the language routing had its say; an unknown
// number gives an empty text.
QString text(int id);
// text(id) with each "%s" replaced by the next argument, in order.
QString format(int id, const QStringList& args);
// The program's own text of a number, without routing.
QString builtIn(int id);
// Every number of the catalogue, in ascending order.
QList<int> ids();

// The translation engine installs a router here; it answers with a
// replacement text or with nothing to keep the program's own.
using Router = std::function<std::optional<QString>(int id)>;
void setRouter(Router router);
} // namespace Msg
