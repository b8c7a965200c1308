// vdsession schema: the JSON Schema of session files, or their key reference as Markdown.
#include "commands.h"
#include "output.h"

#include <vdsessionsettings/sessioncheck.h>

int runSchema(const QCommandLineParser &parser)
{
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("schema takes no arguments, got: %1").arg(parser.positionalArguments().join(QLatin1Char(' '))));
    if (parser.isSet(QStringLiteral("markdown")))
        writeOut(VdSessionCheck::schemaMarkdown().toUtf8());
    else
        printJson(VdSessionCheck::schema());
    return 0;
}
