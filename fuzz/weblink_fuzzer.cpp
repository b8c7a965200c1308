// A web portal's launch link of any content through loadFromWeb().

#include "fuzzsession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    VdSessionSettings *settings = FuzzSession::freshSettings();
    settings->loadFromWeb(QString::fromUtf8(FuzzSession::bytes(data, size)));
    return 0;
}
