#pragma once

#include "ImportedRide.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <optional>

// One data message of a FIT file: its global number and the fields that were
// recorded (a field holding its type's "invalid" value is left out, as the
// device meant: not recorded). Values are raw, before scale and offset.
struct FitMessage
{
    struct Field
    {
        quint8 number;
        double value;
    };
    quint16 global = 0;
    QVarLengthArray<Field, 32> fields;

    std::optional<double> field(quint8 number) const
    {
        for (const Field& f : fields)
            if (f.number == number)
                return f.value;
        return std::nullopt;
    }
};

// How one of the FIT files chained in a file ended.
enum class FitFileEnd { Whole, BadChecksum, CutShort };

class FitVisitor
{
public:
    virtual ~FitVisitor() = default;
    virtual void message(const FitMessage& message) = 0;
    virtual void fileEnd(FitFileEnd how) = 0;
};

// Walks the FIT files chained in `data`, handing each data message to
// `visitor`. Reads no further than the bytes it is given and keeps nothing
// but the definitions in force. Returns what was wrong with the file as a
// whole; RideProblem::None when every chained file was whole.
struct FitReadResult
{
    RideProblem problem = RideProblem::None;
    QString detail;
};
FitReadResult readFit(QByteArrayView data, FitVisitor& visitor);
