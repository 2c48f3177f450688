#pragma once

#include "ImportedRide.h"

#include <QByteArrayView>

// The rides of a FIT file: one per session, each session's own totals as the
// device wrote them, and what a session lacks worked out from its records.
// A file cut short gives the rides that were whole before the cut, and says
// so in the result's problem.
RideFileContents decodeFit(QByteArrayView data);
