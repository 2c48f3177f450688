#include "FitCrc.h"

quint16 fitCrc(QByteArrayView bytes, quint16 crc)
{
    // One nibble at a time, as the format's own description works it out.
    static constexpr quint16 table[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                          0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                          0x5000, 0x9C01, 0x8801, 0x4400};
    for (const char c : bytes) {
        const auto byte = static_cast<quint8>(c);
        quint16 tmp = table[crc & 0xF];
        crc = ((crc >> 4) & 0x0FFF) ^ tmp ^ table[byte & 0xF];
        tmp = table[crc & 0xF];
        crc = ((crc >> 4) & 0x0FFF) ^ tmp ^ table[(byte >> 4) & 0xF];
    }
    return crc;
}
