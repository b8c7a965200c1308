// vdsession get FILE POINTER: the value a session file stores at a key, as JSON.
#include "commands.h"
#include "keypointer.h"
#include "output.h"
#include "sessionedit.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// What the readers use where the file has nothing, told from the key's schema.
QString readersDefault(const std::optional<QJsonObject> &schema)
{
    if (!schema)
        return QStringLiteral("no reader takes this key");
    if (schema->contains(QStringLiteral("default")))
        return QStringLiteral("the readers use the default %1").arg(jsonText(schema->value(QStringLiteral("default"))));
    const QJsonValue type = schema->value(QStringLiteral("type"));
    const QString first = type.isArray() ? type.toArray().first().toString() : type.toString();
    if (first == QLatin1String("object") || first == QLatin1String("array"))
        return QStringLiteral("the readers take it as an empty %1").arg(first);
    return QStringLiteral("the readers have no default for it");
}

} // namespace

int runGet(const QCommandLineParser &parser)
{
    const QStringList arguments = expectArguments(parser, {"FILE", "POINTER"});
    const KeyPointer pointer = fileKey(arguments.at(1));
    const SessionEdit session = openForEdit(arguments.at(0));
    const std::optional<QJsonObject> schema = keySchema(session.layout, pointer);

    const std::optional<QJsonValue> stored = valueAt(session.root, pointer);
    if (!stored) {
        // A mistyped pointer finds nothing too; that is an error, not an unset key.
        const QString problem = unknownKeyProblem(session.layout, pointer);
        if (!problem.isEmpty())
            fail(problem);
        note(QStringLiteral("%1 is not set; %2").arg(pointer.text(), readersDefault(schema)));
        return 1;
    }
    const QJsonValue shown = parser.isSet(QStringLiteral("show-secrets")) ? *stored : maskSecrets(*stored, schema.value_or(QJsonObject()));
    // JSON escapes every control character, so the value prints as it is.
    if (shown.isObject())
        writeOut(QJsonDocument(shown.toObject()).toJson(QJsonDocument::Indented));
    else if (shown.isArray())
        writeOut(QJsonDocument(shown.toArray()).toJson(QJsonDocument::Indented));
    else
        writeOut(jsonText(shown).toUtf8() + '\n');
    return 0;
}
