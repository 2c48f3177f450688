#include "base/MessageCatalogue.h"

#include <QHash>
#include <algorithm>

namespace {
struct Entry
{
    int id;
    const char* text;
};

// Kept in UTF-8; fetched afresh on every call, never cached in a static
// QString, since the language can change at run time.
constexpr Entry entries[] = {
    {Msg::Error, "Error"},
    {Msg::Yes, "&Yes"},
    {Msg::OK, "OK"},
    {Msg::Cancel, "Cancel"},
    {Msg::Warning, "Warning"},
    {Msg::CannotOpenFile, "Cannot open file \"%s\". %s"},
    {Msg::InvalidPropertyElement, "Invalid property element: %s"},
    {Msg::InvalidRegType, "Invalid data type for '%s'"},
    {Msg::RegCreateFailed, "Failed to create key %s"},
    {Msg::RegSetDataFailed, "Failed to set data for '%s'"},
    {Msg::RangeError, "Range check error"},
    {Msg::StoreNotValid, "Soubor \"%s\" není databáze jízd programu Rydex: %s"},
    {Msg::StoreReadOnly, "Databáze jízd \"%s\" je jen pro čtení, program do ní nemůže zapisovat"},
    {Msg::StoreCannotCreate, "Databázi jízd \"%s\" nelze vytvořit: %s"},
    {Msg::PreferencesDamaged,
     "Soubor s nastavením \"%s\" je poškozený a byl uschován jako \"%s\". Program pokračuje "
     "s výchozím nastavením."},
    {Msg::PreferencesUnreadable, "Soubor s nastavením \"%s\" nelze přečíst: %s"},
    {Msg::FieldValueTooLarge, "Hodnota %s se nevejde do pole '%s'"},
    {Msg::FieldConversion, "'%s' není platná hodnota pole '%s'"},
    {Msg::FilterNotUnderstood, "Filtr \"%s\" nelze vyhodnotit"},
    {Msg::StoreClosed, "Databáze jízd není otevřená"},
    {Msg::NoCurrentRow, "Není vybrána žádná jízda"},
    {Msg::NotEditing, "Tabulka jízd není v režimu úprav ani vkládání"},
    {Msg::Information, "Informace"},
    {Msg::Confirmation, "Potvrzení"},
    {Msg::StoreFolderReadOnly,
     "Do složky \"%s\" s databází jízd nelze zapisovat (je jen pro čtení), takže do ní "
     "program nemůže ukládat jízdy."},
    {Msg::StoreDanglingLink,
     "Databáze jízd \"%s\" je odkaz na soubor \"%s\", který neexistuje. Opravte odkaz, nebo "
     "jej smažte."},
    {Msg::StoreFolderNotCreated, "Složku \"%s\" pro databázi jízd nelze vytvořit: %s"},
    {Msg::RideChangedElsewhere,
     "Jízdu mezitím změnila nebo smazala jiná spuštěná kopie programu. Vaše změna nebyla "
     "uložena; jízdy se zobrazují tak, jak jsou uložené."},
    {Msg::DamagedRow,
     "Jízda číslo %s v databázi \"%s\" je poškozená: pole '%s' obsahuje hodnotu '%s', kterou "
     "program neumí uchovat."},
    {Msg::NumberOutOfRange, "Výsledek výpočtu je mimo rozsah čísel, která program umí uchovat."},
    {Msg::StoreUnfinishedWrite,
     "U databáze jízd \"%s\" zůstal nedokončený zápis (\"%s\"). Program ji nepoužije a "
     "nechá oba soubory beze změny."},
    {Msg::RegDeleteFailed, "Klíč %s nelze smazat"},
    {Msg::PreferencesNotKept,
     "Soubor s nastavením \"%s\" je poškozený a jeho kopii nelze uschovat: %s. Program "
     "pokračuje s výchozím nastavením a soubor nechá beze změny."},
    {Msg::NotARegularFile, "není to obyčejný soubor"},
    {Msg::PreferenceFolderNotWritable,
     "Do složky \"%s\" nelze zapisovat, takže nastavení nelze uložit do souboru \"%s\""},
    {Msg::PreferenceFileNotWritable, "Soubor s nastavením \"%s\" nelze zapsat: %s"},
    {Msg::PreferenceFileLocked,
     "Soubor s nastavením \"%s\" právě zapisuje jiný program (zámek \"%s\")"},
    {Msg::PreferenceFileDamagedKept,
     "Soubor s nastavením \"%s\" je poškozený; program ho do příštího spuštění nechá beze změny"},
    {Msg::AverageSpeedZeroDuration,
     "Dělení nulou: jízda trvající 0:00:00 nemá průměrnou rychlost. Zadejte dobu jízdy"},
    {Msg::InvalidRecordDate, "Neplatné datum: den %s, měsíc %s, rok %s"},
    {Msg::SaveRefused, "Záznam nelze uložit:"},
    {Msg::AverageSpeedTooHigh,
     "Průměrná rychlost %s km/h se nevejde do svého pole (nejvýše %s km/h). Zkontrolujte "
     "vzdálenost a dobu jízdy"},
    {Msg::OdometerNegative, "Stav kilometrů nemůže být záporný (%s)"},
    {Msg::FirstCyclistHint, "Zatím tu není žádný uživatel. Začněte příkazem %s"},
    {Msg::FileReadOnly, "File \"%s\" is read-only"},
    {Msg::CannotCreateFile, "Cannot create file \"%s\". %s"},
    {Msg::PolyglotSingleInstance,
     "Core Multi Lang is single instance class. Please use GetCorePolyglot class function to "
     "obtain an instance."},
    {Msg::PolyglotNotAssigned, "Core polyglot is not assigned."},
    {Msg::MultiLangNotAssigned, "Core multi lang is not assigned"},
    {Msg::ThemeUnusable,
     "Soubor \"%s\" nelze použít jako vzhled programu: %s. Vzhled zůstává beze změny."},
    {Msg::ThemeEmpty, "soubor je prázdný"},
    {Msg::ThemeNotText, "soubor neobsahuje text v kódování UTF-8"},
    {Msg::ThemeNotStyleSheet, "soubor neobsahuje platná pravidla vzhledu"},
    {Msg::ImportNotStored,
     "Jízdy nebyly importovány: jízdu ze souboru \"%s\" nelze uložit (%s). Nic nebylo uloženo."},
    {Msg::ImportedFrom, "Importováno ze souboru %s"},
    {Msg::ImportedFromDevice, "Importováno ze souboru %s (%s)"},
    {Msg::RideFileDamaged, "soubor je poškozený"},
    {Msg::RideFileNoTimes, "záznam nemá časy, a tedy ani den a dobu jízdy"},
    {Msg::RideFileRoute, "plánovaná trasa nebo samostatné body, ne projetá jízda"},
    {Msg::RideFileNotAnActivity,
     "soubor neobsahuje aktivitu (je to nastavení, trať nebo denní záznam)"},
    {Msg::RideFileTooLong, "jízda je delší než 23:59:59"},
    {Msg::RideFileOutOfRange, "hodnota se nevejde do svého pole"},
    {Msg::RideFileTooLarge, "soubor, nebo to, co se z něj rozbalí, je příliš velký"},
    {Msg::RideFileUnreadable, "soubor nelze přečíst nebo jeho formát není známý"},
    {Msg::ImportFolderCaption, "Vyberte složku s jízdami"},
    {Msg::ImportColumnFile, "Soubor"},
    {Msg::ImportColumnDate, "Datum"},
    {Msg::ImportColumnStart, "Start"},
    {Msg::ImportColumnDuration, "Čas"},
    {Msg::ImportColumnDistance, "Vzdálenost"},
    {Msg::ImportColumnPulse, "Tep"},
    {Msg::ImportColumnAscent, "Převýšení"},
    {Msg::ImportColumnKind, "Druh"},
    {Msg::ImportColumnStatus, "Stav"},
    {Msg::ImportStatusNew, "nová"},
    {Msg::ImportStatusRecorded, "již zapsaná (%s)"},
    {Msg::ImportStatusRecordedFile, "již importovaná"},
    {Msg::ImportStatusInThisImport, "v tomto importu (%s)"},
    {Msg::ImportSummary, "Nalezené jízdy: %s, nové: %s, již zapsané: %s, nelze importovat: %s"},
    {Msg::ImportButton, "&Importovat (%s)"},
    {Msg::ImportDone, "Importované jízdy: %s"},
    {Msg::ImportNothingChosen,
     "Vyberte soubory jízd (FIT, GPX, TCX, i zabalené gzipem) nebo složku, ve které jsou."},
    {Msg::ImportFileFilter, "Soubory jízd (%s)"},
    {Msg::ImportFilesCaption, "Vyberte soubory jízd"},
    {Msg::ImportSignInFirst,
     "Soubory s jízdami se importují přihlášenému uživateli. Nejprve se přihlaste."},
    {Msg::ImportNoCyclist,
     "Soubory s jízdami se importují přihlášenému uživateli, ale zatím tu není žádný uživatel. "
     "Vytvořte ho příkazem %s a soubory otevřete znovu."},
    {Msg::ImportSignInCyclist, "Uživatel:"},
    {Msg::BestLongestDistance, "Nejdelší jízda"},
    {Msg::BestLongestTime, "Nejdelší doba jízdy"},
    {Msg::BestMostClimbing, "Největší převýšení"},
    {Msg::BestFastestRide, "Nejvyšší průměrná rychlost (jízdy od 20 km)"},
    {Msg::BestBiggestWeek, "Nejvíce kilometrů za týden"},
    {Msg::BestBiggestMonth, "Nejvíce kilometrů za měsíc"},
    {Msg::BestMostRidesInYear, "Nejvíce jízd za rok"},
    {Msg::SeasonLead, "%s km oproti roku %s ke dni %s"},
    {Msg::RidesOne, "%s jízda"},
    {Msg::RidesFew, "%s jízdy"},
    {Msg::RidesMany, "%s jízd"},
    {Msg::SeasonCaption, "Sezóna %s"},
    {Msg::SeasonWeekKm, "km za týden"},
    {Msg::SeasonWeekHours, "hodin za týden"},
    {Msg::SeasonYearKm, "km od začátku roku"},
    {Msg::SeasonNotBegun, "Rok %s ještě nezačal."},
    {Msg::SeasonColumnMonth, "Měsíc"},
    {Msg::SeasonColumnRides, "Jízd"},
    {Msg::SeasonColumnDistance, "Vzdálenost (km)"},
    {Msg::SeasonColumnHours, "Čas"},
    {Msg::SeasonColumnElevation, "Převýšení (m)"},
    {Msg::SeasonColumnPulse, "Průměrný tep"},
    {Msg::SeasonColumnChange, "Změna km"},
    {Msg::SeasonTotal, "Celkem"},
    {Msg::SeasonColumnBest, "Rekord"},
    {Msg::SeasonColumnValue, "Hodnota"},
    {Msg::SeasonColumnWhen, "Kdy"},
    {Msg::SeasonWeekTip, "Týden %s od %s: %s km, %s h, jízd: %s"},
    {Msg::BackupNotWritten,
     "Zálohu \"%s\" nelze zapsat: %s. Soubor zálohy nevznikl; jízdy zůstaly beze změny."},
    {Msg::BackupNotDatabase,
     "Soubor \"%s\" není záloha programu Rydex 2005: není to databázový soubor."},
    {Msg::BackupForeign, "Soubor \"%s\" není záloha programu Rydex 2005: je to databáze jízd nebo "
                         "databáze jiného programu."},
    {Msg::BackupNewer,
     "Zálohu \"%s\" vytvořila novější verze programu (%s, formát zálohy %s). Tato verze umí číst "
     "zálohy do formátu %s; použijte novější verzi programu."},
    {Msg::BackupDamaged, "Záloha \"%s\" je poškozená (%s) a nelze ji použít."},
    {Msg::BackupTablesUnexpected,
     "Záloha \"%s\" neobsahuje tabulky, jaké program očekává (%s), a nelze ji použít."},
    {Msg::BackupPreferencesDamaged,
     "Nastavení uložené v záloze \"%s\" je poškozené, a zálohu proto nelze použít."},
    {Msg::BackupUnreadable, "Zálohu \"%s\" nelze přečíst: %s"},
    {Msg::AutoBackupFailed, "Automatická záloha do složky \"%s\" se nezdařila: %s. Jízdy zůstaly "
                            "beze změny; program to zkusí znovu příště."},
    {Msg::BackupDone, "Záloha uložena: %s"},
    {Msg::BackupFileFilter, "Zálohy Rydex 2005 (*.rydexbackup)"},
    {Msg::BackupSaveCaption, "Zálohovat"},
    {Msg::BackupOverStore, "to je sama databáze jízd; zvolte pro zálohu jiný soubor"},
    {Msg::RestoreFailed, "Zálohu \"%s\" nelze obnovit: %s"},
    {Msg::RestoreStoreInUse, "Databázi jízd \"%s\" má otevřenou jiná spuštěná kopie programu. "
                             "Ukončete ji a obnovu zopakujte; nic nebylo změněno."},
    {Msg::RestoreOpenCaption, "Obnovit ze zálohy"},
    {Msg::RestoreQuestion, "Záloha z %s obsahuje %s jízd (%s až %s) těchto uživatelů: %s. Obnova "
                           "nahradí všechny jízdy a celé nastavení programu (nyní %s jízd). "
                           "Současný stav se nejprve uloží do složky \"%s\". Obnovit?"},
    {Msg::RestoreDone, "Obnoveno ze zálohy: %s (současný stav uložen jako %s)"},
    {Msg::RestoreButton, "&Obnovit"},
    {Msg::RestoreColumnTaken, "Pořízena"},
    {Msg::RestoreColumnCyclists, "Uživatelé"},
    {Msg::RestoreColumnRides, "Jízdy"},
    {Msg::RestoreOtherFile, "&Jiný soubor..."},
    {Msg::RestoreListUnreadable, "nelze přečíst"},
    {Msg::ExportMonthChoice, "&zobrazený měsíc, %s (jízd: %s)"},
    {Msg::ExportYearChoice, "zobrazený &rok, %s (jízd: %s)"},
    {Msg::ExportAllChoice, "&všechny jízdy (jízd: %s)"},
    {Msg::ExportFileCaption, "Export jízd pro tabulkový procesor"},
    {Msg::ExportFileFilter, "Soubory CSV pro tabulkové procesory (%s)"},
    {Msg::ExportDone, "Exportované jízdy: %s, do souboru %s"},
    {Msg::ExportFailed, "Soubor \"%s\" nelze zapsat: %s"},
    {Msg::DatabaseConnecting, "Připojuji se k \"%s\"..."},
    {Msg::DatabaseCopyDone, "Jízd zkopírovaných na server: %s. Jízd, které na serveru už byly a "
                            "znovu se nekopírovaly: %s."},
    {Msg::DatabaseNotUsed,
     "Program zůstává u dosavadní databáze \"%s\": databázi \"%s\" nelze použít. %s"},
    {Msg::DatabaseServerBackup,
     "Jízdy jsou v databázi na serveru \"%s\": zálohuje je server svými prostředky. Zálohovat a "
     "obnovovat lze jen databázi na tomto počítači."},
    {Msg::StoreDriverMissing, "Ovladač databáze SQLite (QSQLITE) není k dispozici"},
    {Msg::StoreBusy,
     "Databázi jízd právě používá jiný program a neuvolnil ji ani po %s sekundách. Nic nebylo "
     "zapsáno; zkuste to prosím znovu, až ji uvolní."},
    {Msg::StoreDamagedLog,
     "U databáze jízd \"%s\" je poškozený zápisový deník (\"%s\"), v němž mohou být jízdy, "
     "které v databázi ještě nejsou. Program ji nepoužije a nechá oba soubory beze změny."},
    {Msg::DamagedRidesShown,
     "Jízda se zobrazuje s prázdným polem a je v přehledu měsíce označená; pole opravte, nebo "
     "jízdu smažte. Poškozených jízd: %s."},
    {Msg::StoreNewerVersion,
     "Databázi jízd \"%s\" vytvořila novější verze programu (verze databáze %s, tato verze "
     "programu zná nejvýše %s). Program ji nepoužije a nechá ji beze změny; použijte novější "
     "verzi programu."},
    {Msg::StoreLogNotApplied,
     "Zápisový deník databáze jízd \"%s\" je poškozený, a tak v databázi mohou chybět jízdy "
     "uložené naposledy. Databáze a její deník, jak byly před otevřením, jsou uschovány jako "
     "\"%s\" a \"%s\"."},
    {Msg::ServerTextEmpty, "Zadejte připojení k serveru PostgreSQL, například \"host=server "
                           "dbname=klub user=jan\" nebo \"service=klub\"."},
    {Msg::ServerTextPassword,
     "Heslo do textu připojení nepatří: program by ho uložil do svého souboru nastavení. Uložte ho "
     "do souboru ~/.pgpass, nebo ho vynechte a program se na něj zeptá při připojení."},
    {Msg::ServerTextCharacter, "Text připojení nesmí obsahovat středník."},
    {Msg::ServerTextNotUnderstood,
     "Textu připojení program nerozumí. Zapište ho jako dvojice klíč=hodnota, například "
     "\"host=server port=5432 dbname=klub user=jan sslmode=verify-full\", nebo \"service=klub\"."},
    {Msg::ServerUnreachable, "K databázi jízd na serveru \"%s\" se nelze připojit: %s"},
    {Msg::ServerPasswordNeeded, "Server \"%s\" žádá heslo uživatele \"%s\"."},
    {Msg::ServerPasswordWrong, "Server \"%s\" odmítl heslo uživatele \"%s\"."},
    {Msg::ServerForeign,
     "Databáze na serveru \"%s\" obsahuje tabulky jiného programu (%s). Program ji nepoužije a "
     "nechá ji beze změny; dejte programu databázi jen pro něj."},
    {Msg::ServerEmptyQuestion,
     "Databáze na serveru \"%s\" je prázdná. Vytvořit v ní tabulky deníku jízd?"},
    {Msg::ServerEmptyRefused, "Databáze na serveru \"%s\" je prázdná a tabulky deníku v ní "
                              "vytvořeny nebyly. Program ji nepoužije."},
    {Msg::ServerConnectionLost, "Spojení se serverem \"%s\" se přerušilo (%s). Z posledního "
                                "příkazu nebylo zapsáno nic; další příkaz se připojí znovu."},
    {Msg::ServerDriverMissing, "Ovladač databáze PostgreSQL (QPSQL) není k dispozici; v Debianu ho "
                               "přináší balíček libqt6sql6-psql."},
    {Msg::ServerTimedOut,
     "Server \"%s\" neodpověděl do %s sekund. Z posledního příkazu nebylo zapsáno nic."},
    {Msg::ServerReady, "Připojeno k \"%s\": deník jízd, jízd v něm: %s."},
    {Msg::ServerEmptyFound, "Připojeno k \"%s\": databáze je prázdná; program v ní vytvoří své "
                            "tabulky, až ji začnete používat."},
    {Msg::StoreDamagedPages,
     "Databáze jízd \"%s\" je poškozená (%s). Program ji nepoužije a nechá ji beze změny; "
     "obnovte ji ze zálohy."},
    {Msg::FileTooLarge, "soubor je větší než %s MB"},
    {Msg::PreferencesSalvaged,
     "Soubor s nastavením \"%s\" je poškozený a byl uschován jako \"%s\". Program zachoval vše, co "
     "se z něj dalo přečíst. Ztratilo se: %s."},
    {Msg::PreferenceLine, "řádek %s"},
    {Msg::FirstReadingToCheck,
     "V roce %s je nová první jízda před jízdou, pro kterou jste zadali stav ODO, a ten je menší "
     "než její vzdálenost. Stav ODO té jízdy zůstal, jak jste ho zadali; zkontrolujte prosím stav "
     "ODO v prvním záznamu roku."},
};

Msg::Router& router()
{
    static Msg::Router r;
    return r;
}
} // namespace

QString Msg::builtIn(int id)
{
    for (const Entry& e : entries) {
        if (e.id == id)
            return QString::fromUtf8(e.text);
    }
    return QString();
}

QList<int> Msg::ids()
{
    QList<int> out;
    for (const Entry& e : entries)
        out.append(e.id);
    std::sort(out.begin(), out.end());
    return out;
}

QString Msg::text(int id)
{
    if (router()) {
        if (std::optional<QString> replaced = router()(id))
            return *replaced;
    }
    return builtIn(id);
}

void Msg::setRouter(Router r)
{
    router() = std::move(r);
}

QString Msg::format(int id, const QStringList& args)
{
    const QString pattern = text(id);
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == QLatin1Char('%') && i + 1 < pattern.size() &&
            pattern.at(i + 1) == QLatin1Char('s')) {
            out += next < args.size() ? args.at(next) : QString();
            ++next;
            ++i;
        } else {
            out += pattern.at(i);
        }
    }
    return out;
}
