#pragma once

#include <QLocale>
#include <QString>

// The locale's long date format without the day of the week ("d. MMMM yyyy"
// for Czech, "MMMM d, yyyy" for US English): the record dialog's date box is
// narrow, and the year must never be the part that is cut off.
QString longDateWithoutWeekday(const QLocale& locale);
// The same rule applied to any date format text; quoted literals stay whole.
QString withoutWeekday(const QString& format);
