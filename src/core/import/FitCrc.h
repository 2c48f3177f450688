#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The 16-bit check sum FIT files carry after their header and at their end
// (the reflected 0x8005 polynomial, starting from 0), continued from `crc`.
quint16 fitCrc(QByteArrayView bytes, quint16 crc = 0);
