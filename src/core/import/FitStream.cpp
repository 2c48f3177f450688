#include "FitStream.h"

#include "FitCrc.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr quint8 timestampField = 253;

struct FieldDefinition
{
    quint8 number;
    quint8 size;
    quint8 baseType;
};

struct Definition
{
    bool defined = false;
    bool bigEndian = false;
    quint16 global = 0;
    std::vector<FieldDefinition> fields;
    qsizetype size = 0; // the bytes of one data message, developer fields included
};

quint64 readUnsigned(const quint8* p, int size, bool bigEndian)
{
    quint64 v = 0;
    for (int i = 0; i < size; ++i)
        v |= quint64(p[bigEndian ? size - 1 - i : i]) << (8 * i);
    return v;
}

// The value of one field, or nothing when it holds its type's "invalid"
// sentinel, is an array or a text (no field we use is either).
std::optional<double> fieldValue(const quint8* p, const FieldDefinition& f, bool bigEndian)
{
    const quint8 type = f.baseType & 0x1F;
    static constexpr std::array<int, 17> sizes = {1, 1, 1, 2, 2, 4, 4, 0, 4,
                                                  8, 1, 2, 4, 1, 8, 8, 8};
    if (type >= sizes.size() || sizes[type] == 0 || f.size != sizes[type])
        return std::nullopt;
    const quint64 raw = readUnsigned(p, f.size, bigEndian);
    switch (type) {
    case 0x00:
    case 0x02:
    case 0x0D: // enum, uint8, byte
        return raw == 0xFF ? std::nullopt : std::optional<double>(double(raw));
    case 0x01:
        return raw == 0x7F ? std::nullopt : std::optional<double>(qint8(raw));
    case 0x03:
        return raw == 0x7FFF ? std::nullopt : std::optional<double>(qint16(raw));
    case 0x04:
        return raw == 0xFFFF ? std::nullopt : std::optional<double>(double(raw));
    case 0x05:
        return raw == 0x7FFFFFFF ? std::nullopt : std::optional<double>(qint32(raw));
    case 0x06:
        return raw == 0xFFFFFFFF ? std::nullopt : std::optional<double>(double(raw));
    case 0x08: {
        const auto bits = quint32(raw);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return bits == 0xFFFFFFFF || v != v ? std::nullopt : std::optional<double>(v);
    }
    case 0x09: {
        double v;
        std::memcpy(&v, &raw, sizeof v);
        return raw == ~quint64(0) || v != v ? std::nullopt : std::optional<double>(v);
    }
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x10: // the "z" types: 0 is invalid
        return raw == 0 ? std::nullopt : std::optional<double>(double(raw));
    case 0x0E:
        return raw == 0x7FFFFFFFFFFFFFFF ? std::nullopt : std::optional<double>(qint64(raw));
    case 0x0F:
        return raw == ~quint64(0) ? std::nullopt : std::optional<double>(double(raw));
    }
    return std::nullopt;
}

class FileReader
{
public:
    FileReader(const quint8* begin, qsizetype size, FitVisitor& visitor)
        : m_p(begin), m_size(size), m_visitor(visitor)
    {
    }

    // Reads the records; false when they stopped before `m_size` bytes.
    bool read(QString& detail)
    {
        qsizetype pos = 0;
        while (pos < m_size) {
            const quint8 header = m_p[pos++];
            if (header & 0x80) {
                if (!data(pos, header >> 5 & 0x3, header & 0x1F, detail))
                    return false;
            } else if (header & 0x40) {
                if (!definition(pos, header & 0x0F, (header & 0x20) != 0, detail))
                    return false;
            } else if (!data(pos, header & 0x0F, -1, detail)) {
                return false;
            }
        }
        return true;
    }

private:
    bool definition(qsizetype& pos, int local, bool developer, QString& detail)
    {
        if (m_size - pos < 5)
            return cut(detail);
        Definition d;
        const quint8 architecture = m_p[pos + 1];
        if (architecture > 1) {
            detail = QStringLiteral("unknown byte order in a message definition");
            return false;
        }
        d.bigEndian = architecture == 1;
        d.global = quint16(readUnsigned(m_p + pos + 2, 2, d.bigEndian));
        const int count = m_p[pos + 4];
        pos += 5;
        if (m_size - pos < count * 3)
            return cut(detail);
        for (int i = 0; i < count; ++i, pos += 3) {
            d.fields.push_back({m_p[pos], m_p[pos + 1], m_p[pos + 2]});
            d.size += m_p[pos + 1];
        }
        if (developer) {
            if (m_size - pos < 1)
                return cut(detail);
            const int devCount = m_p[pos++];
            if (m_size - pos < devCount * 3)
                return cut(detail);
            // Developer fields are read past by their sizes; nothing we use is there.
            for (int i = 0; i < devCount; ++i, pos += 3)
                d.size += m_p[pos + 1];
        }
        d.defined = true;
        m_definitions[local] = std::move(d);
        return true;
    }

    bool data(qsizetype& pos, int local, int timeOffset, QString& detail)
    {
        const Definition& d = m_definitions[local];
        if (!d.defined) {
            detail = QStringLiteral("a message without a definition");
            return false;
        }
        if (m_size - pos < d.size)
            return cut(detail);
        FitMessage message;
        message.global = d.global;
        const quint8* p = m_p + pos;
        for (const FieldDefinition& f : d.fields) {
            if (const auto v = fieldValue(p, f, d.bigEndian)) {
                message.fields.append({f.number, *v});
                if (f.number == timestampField && *v >= 0 && *v <= 4294967295.0)
                    m_lastTimestamp = quint32(*v);
            }
            p += f.size;
        }
        if (timeOffset >= 0) {
            // A compressed timestamp carries the low five bits of the time;
            // the rest comes from the last full timestamp, rolled over.
            quint32 t = (m_lastTimestamp & ~quint32(0x1F)) + quint32(timeOffset);
            if (quint32(timeOffset) < (m_lastTimestamp & 0x1F))
                t += 0x20;
            m_lastTimestamp = t;
            message.fields.append({timestampField, double(t)});
        }
        pos += d.size;
        m_visitor.message(message);
        return true;
    }

    static bool cut(QString& detail)
    {
        detail = QStringLiteral("the file is cut short");
        return false;
    }

    const quint8* m_p;
    qsizetype m_size;
    FitVisitor& m_visitor;
    std::array<Definition, 16> m_definitions;
    quint32 m_lastTimestamp = 0;
};

} // namespace

FitReadResult readFit(QByteArrayView data, FitVisitor& visitor)
{
    const auto* bytes = reinterpret_cast<const quint8*>(data.data());
    qsizetype pos = 0;
    FitReadResult result;
    const auto fail = [&](RideProblem problem, const QString& detail) {
        result.problem = problem;
        result.detail = detail;
        return result;
    };
    while (pos < data.size()) {
        const qsizetype left = data.size() - pos;
        const int headerSize = bytes[pos];
        const bool isHeader = (headerSize == 12 || headerSize == 14) && left >= headerSize &&
                              data.sliced(pos + 8, 4) == QByteArrayView(".FIT");
        if (!isHeader) {
            if (left < headerSize && (headerSize == 12 || headerSize == 14))
                return fail(RideProblem::Damaged, QStringLiteral("the file is cut short"));
            if (pos == 0)
                return fail(RideProblem::Unreadable, QStringLiteral("not a FIT file"));
            return fail(RideProblem::Damaged, QStringLiteral("unreadable bytes after the data"));
        }
        if (headerSize == 14) {
            const auto stored = quint16(readUnsigned(bytes + pos + 12, 2, false));
            if (stored != 0 && stored != fitCrc(data.sliced(pos, 12)))
                return fail(RideProblem::Damaged, QStringLiteral("the header's checksum is wrong"));
        }
        qsizetype dataSize = qsizetype(readUnsigned(bytes + pos + 4, 4, false));
        // A device that stopped before finishing the file leaves the size at
        // 0: what follows is read as a file cut short.
        if (dataSize == 0 && left > headerSize + 2)
            dataSize = left - headerSize;
        const qsizetype available = std::min(dataSize, left - headerSize);
        FileReader reader(bytes + pos + headerSize, available, visitor);
        QString detail;
        const bool recordsWhole = reader.read(detail);
        const qsizetype end = pos + headerSize + dataSize;
        if (!recordsWhole || dataSize + 2 > left - headerSize) {
            visitor.fileEnd(FitFileEnd::CutShort);
            return fail(RideProblem::Damaged,
                        detail.isEmpty() ? QStringLiteral("the file is cut short") : detail);
        }
        const auto stored = quint16(readUnsigned(bytes + end, 2, false));
        const bool checksumOk = stored == fitCrc(data.sliced(pos, end - pos));
        visitor.fileEnd(checksumOk ? FitFileEnd::Whole : FitFileEnd::BadChecksum);
        if (!checksumOk)
            return fail(RideProblem::Damaged, QStringLiteral("the file's checksum is wrong"));
        pos = end + 2;
    }
    return result;
}
