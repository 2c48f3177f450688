#pragma once

#include "stats/SeasonRide.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>
#include <optional>

// The cumulative kilometres of one year by day of the year.
struct SeasonCurve
{
    int year = 0;
    // km[d] is the whole kilometres ridden from 1 January to day d + 1 of
    // the year, that day included; as many entries as the year has days, or,
    // for the current year, up to today only.
    QVector<qint64> km;

    bool operator==(const SeasonCurve&) const = default;
};

// The curves of `year` and of up to `earlierYears` years before it, newest
// first. A year later than today's has no days yet (an empty curve). Every
// curve is given, even of a year without rides (all zero); the years stop
// before one the calendar does not hold (0).
QVector<SeasonCurve> seasonCurves(const QVector<SeasonRide>& rides, int year, const QDate& today,
                                  int earlierYears = 4);

// The lead (positive) or gap (negative) of `year` on the year before, both
// counted up to the same calendar day: today for the current year (29
// February compared with 28 February of a year without it), 31 December for
// an earlier year. Nothing for a year after today's.
struct SeasonLead
{
    qint64 km = 0;
    int comparedYear = 0;
    QDate at; // the day of `year` up to which both were counted

    bool operator==(const SeasonLead&) const = default;
};
std::optional<SeasonLead> seasonLead(const QVector<SeasonRide>& rides, int year,
                                     const QDate& today);

// "+312 km on 2025 at 10 December", in the language and locale shown; the
// sign is always written, zero as "+0", a gap with the minus sign U+2212.
QString seasonLeadText(const SeasonLead& lead, const QLocale& locale);
