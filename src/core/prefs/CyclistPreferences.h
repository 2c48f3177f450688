#pragma once

#include "prefs/PreferenceKey.h"

// A cyclist's preferences in his key of the preference store: which grid
// columns he sees, the chart shown after sign-in, the year he last viewed
// and the folder he last imported rides from. The one place that knows their value names, defaults
// and ranges; every reader and writer goes through it.
class CyclistPreferences
{
public:
    // The grid's columns, one value "0" to "14" each.
    static constexpr int columnCount = 15;
    // The month charts, in the order of the chart tabs.
    static constexpr int chartCount = 4;
    // The distance chart.
    static constexpr int defaultChart = 1;
    // The year shown is an unsigned 16-bit number.
    static constexpr int lastYear = 65535;

    CyclistPreferences() = default;
    explicit CyclistPreferences(PreferenceKey key) : m_key(std::move(key)) {}
    const PreferenceKey& key() const { return m_key; }

    // Only a stored 0 hides a column; anything else, a missing value or a
    // text that is no number shows it.
    bool columnShown(int position) const;
    // Writes "1" or "0".
    void setColumnShown(int position, bool shown);

    // The stored chart; a number outside the charts, which only a hand-edited
    // file can hold, gives the default chart.
    int chart() const;
    void setChart(int index);

    // The stored year, or fallback when none is stored. A stored year
    // outside 0..65535 throws "Range check error".
    int currentYear(int fallback) const;
    void setCurrentYear(int year);
    // Throws "Range check error" unless year is a year that can be shown.
    static void checkYear(int year);

    // The folder the cyclist last imported ride files from, offered again
    // next time; empty when he never did.
    QString importFolder() const;
    void setImportFolder(const QString& folder);

private:
    PreferenceKey m_key;
};
