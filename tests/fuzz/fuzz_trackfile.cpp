// The GPX and TCX readers over any bytes (the first byte chooses which):
// no crash, no hang, and every ride they give is one the record could hold
// or says why not.

#include "RideFileChecks.h"

#include "import/GpxReader.h"
#include "import/TcxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const bool tcx = input.byte() & 1;
    const QByteArray bytes = input.rest();
    Fuzz::checkRides(tcx ? readTcx(bytes) : readGpx(bytes));
    return 0;
}
