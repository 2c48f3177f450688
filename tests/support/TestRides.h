#pragma once

#include "store/StoreLocation.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

class ADOTable;

// One ride a test puts into the store before it drives the program. Empty
// texts and an invalid time leave their fields empty, as do zero pulse and
// elevation.
struct TestRide
{
    QString user = QStringLiteral("Eva");
    QDate date{};
    QString km{};
    QTime time{};
    int pulse = 0;
    int alt = 0;
    QString odo{};
    QString typ{};
    QString note{};
    QString druh{};
    QString temperature{};
};

// Adds the ride through the cursor the way the record dialog stores one: the
// owner and the day, month and year together with the date.
void addTestRide(ADOTable& table, const TestRide& ride);

// Runs statements on a connection of its own, as another program would;
// gives the first column of the last one's rows as text. Any failure ends
// the test run. The file's path, or a file's or a server's location.
QStringList onOwnConnection(const QString& store, const QStringList& statements);
QStringList onOwnConnection(const StoreLocation& store, const QStringList& statements);
