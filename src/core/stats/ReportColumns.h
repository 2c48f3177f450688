#pragma once

#include "store/RideFields.h"
#include "store/ValueList.h"

#include <QLocale>
#include <QString>
#include <QVariant>
#include <array>

// The fifteen columns of the month report's table, in millimetres from the
// band's left edge, and how each prints its value.
struct ReportColumn
{
    enum class Format { Integer, Text, Duration, TwoDecimals };

    double left;
    double width;
    const char* name;  // the component of its title
    const char* title; // in UTF-8
    RideField field;
    Format format;
    Qt::Alignment alignment;
};

constexpr int reportColumnCount = 15;
const std::array<ReportColumn, reportColumnCount>& reportColumns();

// The printed text of a value: a duration as 1:05:00, "#.00" as 45,50 and
// ,50 in a locale with a decimal comma, an empty field as nothing, an item
// of a list as the lists show it.
QString reportCellText(const ReportColumn& column, const QVariant& value, const QLocale& locale,
                       const ValueLists& lists = ValueLists());
