#include "stats/ReportColumns.h"

#include "base/Fixed4.h"
#include "base/PictureFormat.h"

#include <QDateTime>
#include <QTime>

namespace {
using F = ReportColumn::Format;
constexpr Qt::Alignment centred = Qt::AlignHCenter;

const std::array<ReportColumn, reportColumnCount> columns = {{
    {0.0, 6.9, "qrlDen", "Den", RideField::day, F::Integer, centred},
    {6.9, 15.9, "qrlDruh", "Druh", RideField::druh, F::Text, centred},
    {22.2, 15.9, "qrlTyp", "Typ", RideField::typ, F::Text, centred},
    {38.1, 16.9, "qrlObtiznost", "Obtížnost", RideField::obtiznost, F::Text, centred},
    {55.0, 10.6, "qrlVlivy", "Vlivy", RideField::vlivy, F::Text, centred},
    {65.6, 9.0, "qrlPocit", "Pocit", RideField::pocit, F::Text, centred},
    {74.6, 15.9, "qrlCas", "Čas", RideField::time, F::Duration, centred},
    {90.5, 15.9, "qrlDelka", "Délka", RideField::dst, F::TwoDecimals, centred},
    {106.4, 18.5, "qrlCelkem", "Celkem", RideField::odo, F::TwoDecimals, centred},
    {124.9, 12.2, "qrlPrumer", "Průměr", RideField::avs, F::TwoDecimals, centred},
    {137.1, 16.4, "qrlTeplota", "Teplota", RideField::temperature, F::Text, Qt::AlignRight},
    {152.9, 10.6, "qrlTep", "Tep", RideField::pulse, F::Integer, centred},
    {163.5, 10.6, "qrlMaxTep", "Max tep", RideField::pulsemax, F::Integer, centred},
    {174.1, 13.2, "qrlPrevyseni", "Převýšení", RideField::alt, F::Integer, centred},
    {187.3, 13.2, "qrlMaxVyska", "Max výška", RideField::altmax, F::Integer, centred},
}};
} // namespace

const std::array<ReportColumn, reportColumnCount>& reportColumns()
{
    return columns;
}

QString reportCellText(const ReportColumn& column, const QVariant& value, const QLocale& locale,
                       const ValueLists& lists)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (column.format) {
    case F::Integer:
        if (value.metaType() == QMetaType::fromType<Fixed4>())
            return QString::number(value.value<Fixed4>().roundedToWholeEven());
        return QString::number(value.toLongLong());
    case F::Text:
        return lists.displayText(column.field, value.toString());
    case F::Duration: {
        const QTime t = value.metaType().id() == QMetaType::QDateTime ? value.toDateTime().time()
                                                                      : value.toTime();
        return t.isValid() ? t.toString(QStringLiteral("H:mm:ss")) : QString();
    }
    case F::TwoDecimals:
        if (value.metaType() == QMetaType::fromType<Fixed4>())
            return formatPicture(QStringLiteral("#.00"), value.value<Fixed4>(), locale);
        return formatPicture(QStringLiteral("#.00"), value.toDouble(), locale);
    }
    return QString();
}
