#include "store/RideFilter.h"

#include <QDateTime>

RideFilter RideFilter::cyclist(const QString& name)
{
    RideFilter f;
    // Not null even for an empty name: that is a cyclist's filter too.
    f.m_user = name.isNull() ? QLatin1String("") : name;
    return f;
}

RideFilter RideFilter::year(const QString& name, int year)
{
    RideFilter f = cyclist(name);
    f.m_year = year;
    return f;
}

RideFilter RideFilter::month(const QString& name, int year, int month)
{
    RideFilter f = RideFilter::year(name, year);
    f.m_month = month;
    return f;
}

QString RideFilter::text() const
{
    if (isEmpty())
        return QString();
    QString text = QStringLiteral("(user = '") + m_user + QStringLiteral("')");
    if (m_year)
        text += QStringLiteral(" and (year = ") + QString::number(*m_year) + QStringLiteral(")");
    if (m_year && m_month)
        text += QStringLiteral(" and (month = ") + QString::number(*m_month) + QStringLiteral(")");
    return text;
}

bool RideFilter::selects(const RideRow& row) const
{
    if (isEmpty())
        return false;
    if (row[fieldIndex(RideField::user)].toString() != m_user)
        return false;
    if (m_year && row[fieldIndex(RideField::year)] != QVariant(*m_year))
        return false;
    if (m_month && row[fieldIndex(RideField::month)] != QVariant(*m_month))
        return false;
    return true;
}

bool rideListedBefore(const RideRow& a, const RideRow& b)
{
    const QDateTime da = a[fieldIndex(RideField::date)].toDateTime();
    const QDateTime db = b[fieldIndex(RideField::date)].toDateTime();
    if (da != db) {
        if (!da.isValid())
            return true;
        if (!db.isValid())
            return false;
        return da < db;
    }
    return a[fieldIndex(RideField::id)].toInt() < b[fieldIndex(RideField::id)].toInt();
}
