#include "prefs/CyclistPreferences.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"

namespace {
const QString chartName = QStringLiteral("DefaultGraf");
const QString yearName = QStringLiteral("CurrentYear");
const QString importFolderName = QStringLiteral("ImportFolder");
} // namespace

bool CyclistPreferences::columnShown(int position) const
{
    return m_key.readInteger(QString::number(position), 1) != 0;
}

void CyclistPreferences::setColumnShown(int position, bool shown)
{
    m_key.writeText(QString::number(position), shown ? QStringLiteral("1") : QStringLiteral("0"));
}

int CyclistPreferences::chart() const
{
    const int index = m_key.readInteger(chartName, defaultChart);
    return index >= 0 && index < chartCount ? index : defaultChart;
}

void CyclistPreferences::setChart(int index)
{
    m_key.writeInteger(chartName, index);
}

int CyclistPreferences::currentYear(int fallback) const
{
    const int year = m_key.readInteger(yearName, fallback);
    checkYear(year);
    return year;
}

void CyclistPreferences::setCurrentYear(int year)
{
    m_key.writeInteger(yearName, year);
}

void CyclistPreferences::checkYear(int year)
{
    if (year < 0 || year > lastYear)
        throw RydexError(Msg::text(Msg::RangeError), RydexError::Kind::Range);
}

QString CyclistPreferences::importFolder() const
{
    return m_key.readText(importFolderName, QString());
}

void CyclistPreferences::setImportFolder(const QString& folder)
{
    m_key.writeText(importFolderName, folder);
}
