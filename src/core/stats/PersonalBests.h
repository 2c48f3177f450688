#pragma once

#include "stats/SeasonRide.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>
#include <array>

enum class BestKind : int {
    LongestDistance, // one ride's distance
    LongestTime,     // one ride's riding time
    MostClimbing,    // one ride's elevation gain
    FastestRide,     // one ride's average speed, of rides of at least 20 km
    BiggestWeek,     // kilometres of an ISO week
    BiggestMonth,    // kilometres of a calendar month
    MostRidesInYear, // rides of a calendar year
};
inline constexpr int bestKindCount = 7;

// One personal best. Of equal values the earliest counts: a record stands
// until it is beaten.
struct PersonalBest
{
    BestKind kind = BestKind::LongestDistance;
    bool found = false;
    // The ride that holds the record; for a week, month or year its first
    // ride, which a click shows.
    int rideId = 0;
    QDate day;
    // The record itself: distance or speed in Fixed4 units (km, km/h);
    // seconds; metres; whole kilometres; rides.
    Fixed4 amount;
    qint64 count = 0;
    // The week's Monday, the month's first day or 1 January for the
    // records of a period.
    QDate periodStart;

    bool operator==(const PersonalBest&) const = default;
};

// The shortest distance for the average-speed record.
inline constexpr Fixed4 fastestRideMinimum = Fixed4::fromUnits(200'000);

// Every record over all the rides given (in day order), indexed by BestKind.
std::array<PersonalBest, bestKindCount> personalBests(const QVector<SeasonRide>& rides);

// The record as the window shows it, in the locale: "123.45 km", "7:32:10",
// "2,345 m", "34.56 km/h", "612 km", "41 rides"; empty when not found.
QString bestValueText(const PersonalBest& best, const QLocale& locale);
// When it was set: the ride's date, the week's Monday, "May 2025", "2019".
QString bestWhenText(const PersonalBest& best, const QLocale& locale);
// The record's name in the language shown ("Longest ride", ...).
QString bestTitle(BestKind kind);
// A number of rides in the language shown, in its grammatical number:
// "1 ride", "41 rides".
QString ridesText(qint64 rides, const QLocale& locale);
