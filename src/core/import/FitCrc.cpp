#include "FitCrc.h"

#include <array>

namespace {

// The format's check sum works a nibble at a time. Tables built from it do
// the same eight bytes at a time: it runs over every byte of a season of
// files, where the nibble loop was the largest part of reading them.
constexpr quint16 nibbleStep(quint16 crc, quint8 nibble)
{
    constexpr quint16 table[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00, 0x2800, 0xE401,
                                   0xA001, 0x6C00, 0x7800, 0xB401, 0x5000, 0x9C01, 0x8801, 0x4400};
    const quint16 tmp = table[crc & 0xF];
    return quint16(((crc >> 4) & 0x0FFF) ^ tmp ^ table[nibble & 0xF]);
}

using Table = std::array<quint16, 256>;

// tables[k][b]: the effect of byte b followed by k zero bytes. The check sum
// is linear, so the effects of eight bytes (the first two mixed with the
// running value) add up by exclusive or.
constexpr std::array<Table, 8> makeTables()
{
    std::array<Table, 8> tables{};
    for (int b = 0; b < 256; ++b)
        tables[0][b] = nibbleStep(nibbleStep(0, quint8(b & 0xF)), quint8(b >> 4));
    for (int k = 1; k < 8; ++k)
        for (int b = 0; b < 256; ++b)
            tables[k][b] = quint16((tables[k - 1][b] >> 8) ^ tables[0][tables[k - 1][b] & 0xFF]);
    return tables;
}

constexpr std::array<Table, 8> tables = makeTables();

} // namespace

quint16 fitCrc(QByteArrayView bytes, quint16 crc)
{
    const auto* p = reinterpret_cast<const quint8*>(bytes.data());
    qsizetype left = bytes.size();
    for (; left >= 8; left -= 8, p += 8) {
        crc = tables[7][p[0] ^ (crc & 0xFF)] ^ tables[6][p[1] ^ (crc >> 8)] ^ tables[5][p[2]] ^
              tables[4][p[3]] ^ tables[3][p[4]] ^ tables[2][p[5]] ^ tables[1][p[6]] ^
              tables[0][p[7]];
    }
    for (; left > 0; --left, ++p)
        crc = quint16((crc >> 8) ^ tables[0][(crc ^ *p) & 0xFF]);
    return crc;
}
