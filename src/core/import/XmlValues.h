#pragma once

#include "ImportedRide.h"

#include <QString>
#include <QXmlStreamReader>

#include <optional>

// Values as GPX and TCX write them: numbers with a point whatever the locale,
// and ISO 8601 times with their zone.
std::optional<double> xmlNumber(const QString& text);
std::optional<qint64> xmlTimeMsecs(const QString& text);

// Says what was wrong with a GPX or TCX file once it is read: broken XML,
// only a route (`routeDetail` when one was seen), or nothing of use.
void concludeXmlFile(RideFileContents& contents, const QXmlStreamReader& xml,
                     const QString& routeDetail, const QString& emptyDetail);
