// A session file of any content through loadFromVdp(), in either layout, with or without the
// previous session's file beside it; then saved back, as the program does when the user leaves.
//
// Input: the session file, optionally followed by the separator line below and the previous
// session's file ("<name>-2.vdp"). Without the separator no previous file is present.

#include "fuzzsession.h"

#include <vdsessionsettings/sessioncheck.h>

namespace {

const QByteArray previousSeparator = QByteArrayLiteral("\n--previous session--\n");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSession::bytes(data, size);
    const int separator = input.indexOf(previousSeparator);
    const QByteArray session = separator < 0 ? input : input.left(separator);
    const QByteArray previous = separator < 0 ? QByteArray() : input.mid(separator + previousSeparator.size());

    const QString sessionFile = QDir::current().absoluteFilePath(QStringLiteral("VdSession-fuzz.vdp"));
    FuzzSession::putFile(sessionFile, session);
    FuzzSession::putFile(QDir::current().absoluteFilePath(QStringLiteral("fuzz-2.vdp")), previous);

    VdSessionSettings *settings = FuzzSession::freshSettings();
    if (settings->loadFromVdp(sessionFile))
        settings->saveToVdp();
    settings->videoPolicy();
    // The checker runs the same readers with an observer, and walks the text itself.
    VdSessionCheck::checkDocument(session);
    return 0;
}
