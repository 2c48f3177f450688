#pragma once

#include <QList>

// The seasons of a cyclist: every year in which he has a ride, once, in
// ascending order. The years come from his rides in date order, but a ride
// whose year disagrees with its neighbours (a store edited by hand) must not
// list a season twice, so the result does not rely on that order.
QList<int> seasonList(const QList<int>& rideYears);
