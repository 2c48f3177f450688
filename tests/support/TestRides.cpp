#include "TestRides.h"

#include "store/ADOTable.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

void addTestRide(ADOTable& t, const TestRide& r)
{
    t.insert();
    t.setValue(RideField::user, r.user);
    t.setValue(RideField::date, r.date.startOfDay());
    t.setValue(RideField::day, r.date.day());
    t.setValue(RideField::month, r.date.month());
    t.setValue(RideField::year, r.date.year());
    if (r.time.isValid())
        t.setValue(RideField::time, r.time);
    if (!r.km.isEmpty())
        t.setEditText(RideField::dst, r.km, QLocale::c());
    if (!r.odo.isEmpty())
        t.setEditText(RideField::odo, r.odo, QLocale::c());
    if (r.pulse != 0)
        t.setValue(RideField::pulse, r.pulse);
    if (r.alt != 0)
        t.setValue(RideField::alt, r.alt);
    if (!r.typ.isEmpty())
        t.setValue(RideField::typ, r.typ);
    if (!r.note.isEmpty())
        t.setValue(RideField::note, r.note);
    if (!r.druh.isEmpty())
        t.setValue(RideField::druh, r.druh);
    if (!r.temperature.isEmpty())
        t.setValue(RideField::temperature, r.temperature);
    t.post();
}

QStringList onOwnConnection(const QString& store, const QStringList& statements)
{
    return onOwnConnection(StoreLocation::file(store), statements);
}

QStringList onOwnConnection(const StoreLocation& store, const QStringList& statements)
{
    const QString name = QUuid::createUuid().toString();
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(
            store.isServer() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
        if (!db.isValid())
            qFatal("Qt's driver for %s is missing (Debian: libqt6sql6-psql, libqt6sql6-sqlite)",
                   qPrintable(store.shown()));
        // Qt hands a server's options to libpq as they are, keywords and all.
        if (store.isServer())
            db.setConnectOptions(store.connectionText());
        else
            db.setDatabaseName(store.filePath());
        if (!db.open())
            qFatal("cannot open %s: %s", qPrintable(store.shown()),
                   qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        for (const QString& s : statements) {
            if (!q.exec(s))
                qFatal("%s: %s", qPrintable(s), qPrintable(q.lastError().text()));
        }
        while (q.next())
            out << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}
