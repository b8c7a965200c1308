// vdsession reset FILE POINTER: removes a key from a session file, so that the readers' default
// applies.
#include "commands.h"
#include "keypointer.h"
#include "sessionedit.h"

int runReset(const QCommandLineParser &parser)
{
    const QStringList arguments = expectArguments(parser, {"FILE", "POINTER"});
    const KeyPointer pointer = fileKey(arguments.at(1));
    const SessionEdit session = openForEdit(arguments.at(0));

    // A key the file has goes, known or not: removing one that check reports is how it is fixed.
    const std::optional<QJsonObject> changed = withoutKey(session.root, pointer);
    if (!changed) {
        const QString problem = unknownKeyProblem(session.layout, pointer);
        if (!problem.isEmpty())
            fail(problem);
        return 0;
    }
    writeEdit(session, *changed, pointer);
    return 0;
}
