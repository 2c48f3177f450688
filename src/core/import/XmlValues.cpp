#include "XmlValues.h"

#include <QDateTime>

#include <cmath>

std::optional<double> xmlNumber(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<qint64> xmlTimeMsecs(const QString& text)
{
    QDateTime t = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    // Both formats write UTC; a time without its zone is UTC too, not the
    // zone of the computer that happens to read it.
    if (t.isValid() && t.timeSpec() == Qt::LocalTime)
        t.setTimeSpec(Qt::UTC);
    return t.isValid() ? std::optional<qint64>(t.toMSecsSinceEpoch()) : std::nullopt;
}

void concludeXmlFile(RideFileContents& contents, const QXmlStreamReader& xml,
                     const QString& routeDetail, const QString& emptyDetail)
{
    if (xml.hasError()) {
        contents.problem = RideProblem::Damaged;
        contents.detail = xml.errorString();
    } else if (contents.rides.isEmpty()) {
        contents.problem = routeDetail.isEmpty() ? RideProblem::Unreadable : RideProblem::Route;
        contents.detail = routeDetail.isEmpty() ? emptyDetail : routeDetail;
    }
}
