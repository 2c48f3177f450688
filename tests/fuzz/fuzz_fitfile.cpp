// The FIT decoder over any bytes: no crash, no hang, and every ride it
// gives is one the record could hold or says why not.

#include "RideFileChecks.h"

#include "import/FitDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::checkRides(decodeFit(QByteArrayView(data, qsizetype(size))));
    return 0;
}
