#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The kinds of sport a ride file may name that the record dialog has a text
// for; everything else is Other and leaves the kind empty.
enum class RideSport { Unknown, Cycling, Running, Swimming, CrossCountrySkiing, Fitness, Other };

// Why a ride found in a file cannot be imported as it is.
enum class RideProblem {
    None,
    Damaged,       // the file is corrupt: a checksum or the structure is wrong
    NoTimes,       // a track without times: no day, no duration
    Route,         // a planned route or single points, not a ride
    NotAnActivity, // a settings, course or monitoring file
    TooLong,       // longer than the duration field holds (23:59:59)
    OutOfRange,    // a value larger than its field holds
    TooLarge,      // the file, or what it inflates to, is beyond what we read
    Unreadable     // not a format we know, or the file cannot be opened
};

// One ride as a ride file describes it, in the file's own units. A field the
// file does not give stays empty: no value is better than a wrong one.
struct ImportedRide
{
    QDateTime start; // UTC
    std::optional<int> localOffsetSeconds;
    std::optional<double> timerSeconds; // riding time, pauses excluded
    std::optional<double> distanceMetres;
    std::optional<int> avgHeartRate;
    std::optional<int> maxHeartRate;
    std::optional<double> elevationGain;
    std::optional<double> maxAltitude;
    std::optional<double> avgTemperature;
    RideSport sport = RideSport::Unknown;
    bool indoor = false;
    QString maker;
    QString product;
    RideProblem problem = RideProblem::None;
    QString detail; // what exactly was wrong, for the problem above
};

// Everything a file holds: its rides, and a word on the file itself when it
// was damaged (a file cut short still gives the rides that were whole).
struct RideFileContents
{
    QList<ImportedRide> rides;
    RideProblem problem = RideProblem::None;
    QString detail;
};
