#include "FitWriter.h"

#include "import/FitCrc.h"

#include <QDateTime>

namespace {
int sizeOf(quint8 type)
{
    switch (type & 0x1F) {
    case 0x03:
    case 0x04:
        return 2;
    case 0x05:
    case 0x06:
    case 0x08:
        return 4;
    default:
        return 1;
    }
}
} // namespace

FitWriter::FitWriter(bool bigEndian, int headerSize)
    : m_bigEndian(bigEndian), m_headerSize(headerSize)
{
}

void FitWriter::put(qint64 value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        m_records.append(char((quint64(value) >> shift) & 0xFF));
    }
}

void FitWriter::define(int local, quint16 global, const QList<FieldSpec>& fields,
                       const QList<quint8>& developerSizes)
{
    m_records.append(char(0x40 | (developerSizes.isEmpty() ? 0 : 0x20) | local));
    m_records.append('\0');
    m_records.append(char(m_bigEndian ? 1 : 0));
    put(global, 2, m_bigEndian);
    m_records.append(char(fields.size()));
    for (const FieldSpec& f : fields) {
        m_records.append(char(f.number));
        m_records.append(char(sizeOf(f.type)));
        m_records.append(char(f.type));
    }
    if (!developerSizes.isEmpty()) {
        m_records.append(char(developerSizes.size()));
        for (int i = 0; i < developerSizes.size(); ++i) {
            m_records.append(char(i));
            m_records.append(char(developerSizes[i]));
            m_records.append('\0');
        }
    }
    m_definitions[local] = fields;
}

void FitWriter::values(int local, const QList<qint64>& values)
{
    const QList<FieldSpec>& fields = m_definitions[local];
    for (int i = 0; i < fields.size(); ++i)
        put(values.value(i), sizeOf(fields[i].type), m_bigEndian);
}

void FitWriter::data(int local, const QList<qint64>& vals, const QByteArray& developer)
{
    m_records.append(char(local));
    values(local, vals);
    m_records.append(developer);
}

void FitWriter::compressed(int local, quint32 time, const QList<qint64>& vals)
{
    m_records.append(char(0x80 | (local << 5) | (time & 0x1F)));
    values(local, vals);
}

QByteArray FitWriter::file() const
{
    QByteArray out;
    out.append(char(m_headerSize));
    out.append(char(0x20));
    out.append(char(0x08)).append(char(0x08)); // profile version
    for (int i = 0; i < 4; ++i)
        out.append(char((m_records.size() >> (8 * i)) & 0xFF));
    out.append(".FIT");
    if (m_headerSize == 14) {
        const quint16 crc = fitCrc(out);
        out.append(char(crc & 0xFF)).append(char(crc >> 8));
    }
    out.append(m_records);
    const quint16 crc = fitCrc(out);
    out.append(char(crc & 0xFF)).append(char(crc >> 8));
    return out;
}

quint32 FitWriter::time(int year, int month, int day, int hour, int minute, int second)
{
    const QDateTime t(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
    return quint32(t.toSecsSinceEpoch() - 631065600);
}
