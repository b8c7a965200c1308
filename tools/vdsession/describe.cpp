// vdsession describe POINTER: what a key of the session file takes, from the schema, which the
// library builds from its readers.
#include "commands.h"
#include "keypointer.h"
#include "output.h"

#include <QJsonArray>

#include <limits>

namespace {

Layout layoutOption(const QCommandLineParser &parser)
{
    const QString name = parser.value(QStringLiteral("layout"));
    if (name.isEmpty() || name == QLatin1String("current"))
        return Layout::Current;
    if (name == QLatin1String("legacy"))
        return Layout::Legacy;
    fail(QStringLiteral("--layout takes current or legacy, not %1").arg(name));
}

Layout otherLayout(Layout layout)
{
    return layout == Layout::Legacy ? Layout::Current : Layout::Legacy;
}

void printRow(const QString &name, const QString &value)
{
    message(QStringLiteral("  %1  %2").arg(name, -8).arg(value));
}

void printDescription(const KeyPointer &pointer, Layout layout, const QJsonObject &schema)
{
    message(QStringLiteral("%1 (%2 layout)").arg(pointer.text(), VdSessionCheck::layoutName(layout)));
    message(QStringLiteral("  ") + schema.value(QStringLiteral("description")).toString());
    printRow(QStringLiteral("type"), takenValues(QJsonObject{{QStringLiteral("type"), schema.value(QStringLiteral("type"))}}));
    if (schema.contains(QStringLiteral("default"))) {
        const QJsonValue fallback = schema.value(QStringLiteral("default"));
        QString text = jsonText(fallback);
        // The default's name, when it is one of the key's enumerators.
        for (const QJsonValue &choice : schema.value(QStringLiteral("anyOf")).toArray()) {
            if (choice.toObject().value(QStringLiteral("const")) == fallback)
                text += QStringLiteral(" (%1)").arg(choice.toObject().value(QStringLiteral("title")).toString());
        }
        printRow(QStringLiteral("default"), text);
    }
    QStringList values;
    const double low = schema.value(QStringLiteral("minimum")).toDouble(std::numeric_limits<int>::min());
    const double high = schema.value(QStringLiteral("maximum")).toDouble(std::numeric_limits<int>::max());
    if (low > std::numeric_limits<int>::min() || high < std::numeric_limits<int>::max())
        values << QStringLiteral("%1 to %2").arg(low, 0, 'f', 0).arg(high, 0, 'f', 0);
    if (schema.contains(QStringLiteral("pattern")))
        values << QStringLiteral("matching %1").arg(schema.value(QStringLiteral("pattern")).toString());
    const QString enumerators = enumeratorList(schema);
    if (!enumerators.isEmpty()) {
        values << enumerators;
        // Without a range the readers keep any other number, which check reports and set refuses.
        if (low == std::numeric_limits<int>::min() && high == std::numeric_limits<int>::max())
            values << QStringLiteral("another number is used as it is, but check reports it and set refuses it");
    }
    if (!values.isEmpty())
        printRow(QStringLiteral("values"), values.join(QStringLiteral("; ")));
    const QStringList keys = schema.value(QStringLiteral("properties")).toObject().keys();
    if (!keys.isEmpty())
        printRow(QStringLiteral("keys"), keys.join(QStringLiteral(", ")));
    if (schema.contains(QStringLiteral("items")))
        printRow(QStringLiteral("elements"), QStringLiteral("see %1/*").arg(pointer.text()));
    if (schema.value(QStringLiteral("writeOnly")).toBool())
        printRow(QStringLiteral("secret"), QStringLiteral("yes: shown as ***, and set takes it only with --stdin"));
    printRow(QStringLiteral("saved"), schema.value(QStringLiteral("x-saveToVdp")).toBool()
                                          ? QStringLiteral("yes: saveToVdp() writes it back")
                                          : QStringLiteral("no: saveToVdp() leaves it as the file has it"));
}

} // namespace

int runDescribe(const QCommandLineParser &parser)
{
    const KeyPointer pointer = KeyPointer::parse(onlyArgument(parser, "POINTER"));
    const Layout layout = layoutOption(parser);
    const QString problem = unknownKeyProblem(layout, pointer);
    if (!problem.isEmpty()) {
        if (unknownKeyProblem(otherLayout(layout), pointer).isEmpty())
            fail(QStringLiteral("%1 is a key of the %2 layout only (add --layout %2)").arg(pointer.text(), VdSessionCheck::layoutName(otherLayout(layout))));
        fail(problem);
    }

    // Known, yet not in the schema: inside an object the readers hand on whole.
    const std::optional<QJsonObject> schema = keySchema(layout, pointer);
    if (parser.isSet(QStringLiteral("json"))) {
        printJson(schema.value_or(QJsonObject()));
        return 0;
    }
    if (schema) {
        printDescription(pointer, layout, *schema);
        return 0;
    }
    KeyPointer outer = pointer;
    while (!keySchema(layout, outer))
        outer = outer.first(outer.steps().size() - 1);
    message(QStringLiteral("%1 (%2 layout)").arg(pointer.text(), VdSessionCheck::layoutName(layout)));
    message(QStringLiteral("  a key of %1, which the readers hand on whole: any value, kept as it is").arg(outer.text()));
    return 0;
}
