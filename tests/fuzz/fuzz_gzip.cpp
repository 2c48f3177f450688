// The gzip layer over any bytes: no crash, and never more out than the
// bound, however the data claims to inflate, and a refusal says why.

#include "FuzzSupport.h"

#include "import/RideFileBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr qint64 bound = 64 * 1024;
    const RideFileBytes out =
        gunzip(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), bound);
    FUZZ_CHECK(out.bytes.size() <= bound, QString::number(out.bytes.size()));
    FUZZ_CHECK(out.problem == RideProblem::None || !out.detail.isEmpty(),
               QStringLiteral("a refusal without a reason"));
    return 0;
}
