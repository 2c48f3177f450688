#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

// Writes small FIT files with exactly known contents, for the decoder's
// tests: definitions in either byte order, normal and compressed-timestamp
// data messages, developer fields, and the header and file check sums.
class FitWriter
{
public:
    enum BaseType : quint8 {
        Enum = 0x00,
        SInt8 = 0x01,
        UInt8 = 0x02,
        UInt16 = 0x84,
        UInt32 = 0x86,
        Float32 = 0x88
    };
    struct FieldSpec
    {
        quint8 number;
        quint8 type;
    };

    explicit FitWriter(bool bigEndian = false, int headerSize = 14);

    void define(int local, quint16 global, const QList<FieldSpec>& fields,
                const QList<quint8>& developerSizes = {});
    // Values in the order of the definition; the developer bytes follow them.
    void data(int local, const QList<qint64>& values, const QByteArray& developer = {});
    // A data message whose time is the low five bits of `time` in its header.
    void compressed(int local, quint32 time, const QList<qint64>& values);

    // The whole file: header, messages, check sum.
    QByteArray file() const;

    // A FIT time (seconds since 1989-12-31 UTC) for a UTC date and time.
    static quint32 time(int year, int month, int day, int hour, int minute, int second = 0);

private:
    void put(qint64 value, int size, bool bigEndian);
    void values(int local, const QList<qint64>& values);

    bool m_bigEndian;
    int m_headerSize;
    QByteArray m_records;
    QList<QList<FieldSpec>> m_definitions = QList<QList<FieldSpec>>(16); // one per local type
};
