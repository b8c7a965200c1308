// vdsession show FILE: every setting a session file gives.
#include "commands.h"
#include "sessioninput.h"
#include "settingsview.h"

int runShow(const QCommandLineParser &parser)
{
    const QString path = onlyArgument(parser, "FILE");
    printDump(sessionSettings(path, parser.isSet(QStringLiteral("show-secrets")), parser.isSet(QStringLiteral("inherit"))),
              parser.isSet(QStringLiteral("json")));
    return 0;
}
