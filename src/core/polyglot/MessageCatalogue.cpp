#include "polyglot/MessageCatalogue.h"

#include <QHash>

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
    {Msg::StoreNotValid, "The file \"%s\" is not a Rydex ride store: %s"},
    {Msg::StoreReadOnly,
     "The ride store \"%s\" is read-only: attempt to write a readonly database"},
    {Msg::StoreCannotCreate, "The ride store \"%s\" cannot be created: %s"},
    {Msg::PreferencesDamaged,
     "The preference file \"%s\" is damaged and has been kept as \"%s\". The program goes on with "
     "default preferences."},
    {Msg::PreferencesUnreadable, "The preference file \"%s\" cannot be read: %s"},
    {Msg::FieldValueTooLarge, "The value %s does not fit the field '%s'"},
    {Msg::FieldConversion, "'%s' is not a valid value for the field '%s'"},
    {Msg::FilterNotUnderstood, "The filter \"%s\" cannot be evaluated"},
    {Msg::StoreClosed, "The ride store is not open"},
    {Msg::NoCurrentRow, "There is no current ride"},
    {Msg::NotEditing, "The ride table is not in edit or insert mode"},
    {Msg::Information, "Information"},
    {Msg::Confirmation, "Confirm"},
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
    {Msg::RegDeleteFailed, "Failed to delete key %s"},
    {Msg::PreferencesNotKept,
     "The preference file \"%s\" is damaged and no copy of it could be kept: %s. The program "
     "goes on with default preferences and leaves the file as it is."},
    {Msg::NotARegularFile, "it is not a regular file"},
    {Msg::PreferenceFolderNotWritable,
     "Do složky \"%s\" nelze zapisovat, takže nastavení nelze uložit do souboru \"%s\""},
    {Msg::PreferenceFileNotWritable, "Soubor s nastavením \"%s\" nelze zapsat: %s"},
    {Msg::PreferenceFileLocked,
     "Soubor s nastavením \"%s\" právě zapisuje jiný program (zámek \"%s\")"},
    {Msg::PreferenceFileDamagedKept,
     "Soubor s nastavením \"%s\" je poškozený; program ho do příštího spuštění nechá beze změny"},
    {Msg::AverageSpeedZeroDuration,
     "Division by zero: a ride of 0:00:00 has no average speed. Enter the duration of the ride"},
    {Msg::InvalidRecordDate, "Invalid argument to date encode: day %s, month %s, year %s"},
    {Msg::FileReadOnly, "File \"%s\" is read-only"},
    {Msg::CannotCreateFile, "Cannot create file \"%s\". %s"},
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
