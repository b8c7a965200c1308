// The session file described: a JSON Schema for editors and a page for people, both from the
// readers themselves (what they take, as what, with which default) and the table of meanings.
#include <vdsessionsettings/sessioncheck.h>

#include "sessionfile/sessionkeys_p.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <limits>

using Layout = VdSessionCheck::Layout;
using namespace SessionKeys;

namespace {

// Minimal documents of each layout, with what each line means. Comments are not JSON: a reader
// takes the document without them.
const char currentExample[] = R"({
    "basic settings": {
        "IsMultiScreen": true,           // use every screen
        "windowStyle": 1                 // 1: Window, 0: FullScreen
    },
    "vm settings": {
        "name": "jdoe",                  // login name, also the user name shown
        "password": "secret",            // never shown by vdsession
        "serverIp": "10.20.30.40",
        "serverPort": 8860,
        "protocol": "vdp",
        "vm": {
            "vmUuid": "5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a",
            "vmName": "Office desktop",
            "lstIps": ["10.20.31.24"]
        }
    },
    "stream_control_value": 1,           // TYPE_STREAM_VIDEO; when absent the previous session's choice stays
    "window mode": 1                     // MultiSDLWindowMode: one window per screen
}
)";

const char legacyExample[] = R"({
    "vdsession settings": {              // marks the legacy layout
        "server ip": "10.20.30.40",
        "server port": 8860,
        "protocol": "vdp",
        "vm": {
            "name": "jdoe",              // login name
            "vm": {
                "vmUuid": "5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a",
                "vm": { "vmName": "Office desktop" }
            }
        }
    },
    "user settings": {
        "current user settings": { "username": "jdoe", "password": "secret" }
    },
    "basic settings": { "log level": 3 } // counted the other way round: logLevel() gives 2
}
)";

QString parentOf(const QString &pattern) { return pattern.left(pattern.lastIndexOf(QLatin1Char('/'))); }

// What the reader takes at @p pattern; a key only the writer writes is what the current reader
// makes of it.
Shape shapeOf(Layout layout, const Key &key)
{
    if (key.flags & NotRead)
        return describeReaders(Layout::Current).value(key.pattern);
    return describeReaders(layout).value(key.pattern);
}

QVector<const Key *> childrenOf(Layout layout, const QString &pattern)
{
    QVector<const Key *> children;
    for (const Key &key : keys(layout))
        if (parentOf(key.pattern) == pattern)
            children.append(&key);
    return children;
}

QString schemaType(JsonType type)
{
    switch (type) {
    case JsonType::String: return QStringLiteral("string");
    case JsonType::Number: return QStringLiteral("integer");
    case JsonType::Bool: return QStringLiteral("boolean");
    case JsonType::Object: return QStringLiteral("object");
    case JsonType::Array: return QStringLiteral("array");
    case JsonType::Any: break;
    }
    return QString();
}

// Text that QString::toInt() reads as a decimal integer, blanks around it included, once per
// integer of @p format. Whether a number fits 32 bits is left to the check.
QString textPattern(TextFormat format)
{
    const QString blanks = QStringLiteral("[\\t\\n\\v\\f\\r ]*");
    const QString integer = blanks + QStringLiteral("[+-]?[0-9]+") + blanks;
    QStringList integers;
    for (int i = 0; i < JsonValue::integerCount(format); ++i)
        integers << integer;
    return QLatin1Char('^') + integers.join(QLatin1Char(',')) + QLatin1Char('$');
}

QJsonObject objectSchema(Layout layout, const QString &pattern, bool whole);

QJsonObject keySchema(Layout layout, const Key &key)
{
    const Shape shape = shapeOf(layout, key);
    QJsonObject node{{QStringLiteral("description"), key.description}};
    if (key.flags & Secret)
        node.insert(QStringLiteral("writeOnly"), true);
    // An annotation of our own; the "x-" prefix keeps it apart from any keyword a later draft adds.
    if (key.flags & Saved)
        node.insert(QStringLiteral("x-saveToVdp"), true);

    QJsonArray types;
    for (JsonType type : shape.types)
        types.append(schemaType(type));
    if (types.size() == 1)
        node.insert(QStringLiteral("type"), types.first());
    else if (types.size() > 1)
        node.insert(QStringLiteral("type"), types);

    if (shape.types.contains(JsonType::Number)) {
        node.insert(QStringLiteral("minimum"), shape.ranged ? shape.low : std::numeric_limits<int>::min());
        node.insert(QStringLiteral("maximum"), shape.ranged ? shape.high : std::numeric_limits<int>::max());
        if (shape.enumeration.isValid()) {
            QJsonArray named;
            for (int i = 0; i < shape.enumeration.keyCount(); ++i)
                named.append(QJsonObject{{QStringLiteral("const"), shape.enumeration.value(i)},
                                         {QStringLiteral("title"), QLatin1String(shape.enumeration.key(i))}});
            // The readers keep any other number as it is, but a check reports it as naming no
            // enumerator, so a document that passes the schema passes the check.
            node.insert(QStringLiteral("anyOf"), named);
        }
    }
    if (shape.format != TextFormat::Free)
        node.insert(QStringLiteral("pattern"), textPattern(shape.format));
    if (!shape.fallback.isUndefined() && !shape.types.contains(JsonType::Object) && !shape.types.contains(JsonType::Array))
        node.insert(QStringLiteral("default"), shape.fallback);
    if (shape.types.contains(JsonType::Object)) {
        const QJsonObject members = objectSchema(layout, key.pattern, shape.whole);
        for (auto it = members.begin(); it != members.end(); ++it)
            node.insert(it.key(), it.value());
    }
    if (shape.types.contains(JsonType::Array)) {
        if (const Key *element = find(layout, key.pattern + QStringLiteral("/*")))
            node.insert(QStringLiteral("items"), keySchema(layout, *element));
    }
    return node;
}

QJsonObject objectSchema(Layout layout, const QString &pattern, bool whole)
{
    QJsonObject properties;
    for (const Key *child : childrenOf(layout, pattern))
        if (!child->pattern.endsWith(QLatin1String("/*")))
            properties.insert(child->pattern.mid(pattern.size() + 1).replace(QLatin1String("~1"), QLatin1String("/")).replace(QLatin1String("~0"), QLatin1String("~")),
                              keySchema(layout, *child));
    QJsonObject node{{QStringLiteral("properties"), properties}};
    // An object handed on whole may hold keys of its own.
    if (!whole)
        node.insert(QStringLiteral("additionalProperties"), false);
    return node;
}

// ---- The page ----

QString code(const QString &text) { return QLatin1Char('`') + text + QLatin1Char('`'); }

QString typeText(const Shape &shape)
{
    QStringList names;
    for (JsonType type : shape.types) {
        switch (type) {
        case JsonType::String: names << QStringLiteral("string"); break;
        case JsonType::Number: names << QStringLiteral("integer"); break;
        case JsonType::Bool: names << QStringLiteral("bool"); break;
        case JsonType::Object: names << QStringLiteral("object"); break;
        case JsonType::Array:
            names << (shape.elements == JsonType::String   ? QStringLiteral("array of strings")
                      : shape.elements == JsonType::Object ? QStringLiteral("array of objects")
                                                           : QStringLiteral("array"));
            break;
        case JsonType::Any: break;
        }
    }
    return names.isEmpty() ? QStringLiteral("any") : names.join(QStringLiteral(" or "));
}

QString valuesText(const Shape &shape)
{
    QStringList parts;
    if (shape.ranged)
        parts << QStringLiteral("%1 to %2, else %3").arg(shape.low).arg(shape.high).arg(shape.outOfRange);
    if (shape.format != TextFormat::Free)
        parts << formatName(shape.format);
    if (shape.enumeration.isValid()) {
        QStringList names;
        for (int i = 0; i < shape.enumeration.keyCount(); ++i)
            names << QStringLiteral("%1 %2").arg(shape.enumeration.value(i)).arg(code(QLatin1String(shape.enumeration.key(i))));
        parts << names.join(QStringLiteral(", "));
    }
    return parts.join(QStringLiteral("; "));
}

QString defaultText(const Shape &shape)
{
    if (shape.fallback.isUndefined() || shape.types.contains(JsonType::Object) || shape.types.contains(JsonType::Array))
        return QString();
    const QByteArray json = QJsonDocument(QJsonArray{shape.fallback}).toJson(QJsonDocument::Compact);
    return code(QString::fromUtf8(json.mid(1, json.size() - 2)));
}

void appendRows(QString &page, Layout layout, const QString &pattern)
{
    for (const Key *key : childrenOf(layout, pattern)) {
        const Shape shape = shapeOf(layout, *key);
        QString description = key->description;
        if (key->flags & Secret)
            description += QStringLiteral("; a secret, never shown");
        const QString saved = (key->flags & NotRead) ? QStringLiteral("yes, not read back")
                              : (key->flags & Saved) ? QStringLiteral("yes")
                                                     : QStringLiteral("no");
        page += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |\n")
                    .arg(code(key->pattern), typeText(shape), defaultText(shape), valuesText(shape), description, saved);
        appendRows(page, layout, key->pattern);
    }
}

QString layoutSection(Layout layout, const char *title, const char *introduction, const char *example)
{
    QString page = QStringLiteral("## %1\n\n%2\n\n```jsonc\n%3```\n\n").arg(QLatin1String(title), QLatin1String(introduction), QLatin1String(example));
    page += QStringLiteral("| Key | Type | Default | Values | What it sets | Saved |\n|---|---|---|---|---|---|\n");
    appendRows(page, layout, QString());
    return page + QLatin1Char('\n');
}

} // namespace

QJsonObject VdSessionCheck::schema()
{
    QJsonObject current = objectSchema(Layout::Current, QString(), false);
    current.insert(QStringLiteral("title"), QStringLiteral("current layout"));
    current.insert(QStringLiteral("type"), QStringLiteral("object"));
    // Told apart as loading tells them: by the legacy layout's group, whatever its value.
    current.insert(QStringLiteral("not"), QJsonObject{{QStringLiteral("required"), QJsonArray{QStringLiteral("vdsession settings")}}});
    QJsonObject legacy = objectSchema(Layout::Legacy, QString(), false);
    legacy.insert(QStringLiteral("title"), QStringLiteral("legacy layout"));
    legacy.insert(QStringLiteral("type"), QStringLiteral("object"));
    legacy.insert(QStringLiteral("required"), QJsonArray{QStringLiteral("vdsession settings")});

    return QJsonObject{
        {QStringLiteral("$schema"), QStringLiteral("https://json-schema.org/draft/2020-12/schema")},
        {QStringLiteral("title"), QStringLiteral("vdsession session file")},
        {QStringLiteral("description"),
         QStringLiteral("A session file (.vdp) as VdSessionSettings::loadFromVdp() reads it. A top-level \"vdsession settings\" "
                        "marks the legacy layout. A missing key, or one of another type, gives its default.")},
        {QStringLiteral("oneOf"), QJsonArray{current, legacy}},
    };
}

QString VdSessionCheck::schemaMarkdown()
{
    QString page = QStringLiteral(
        "# The session file\n\n"
        "<!-- Generated from the library's key table by `vdsession schema --markdown`; edit the table, not this page. -->\n\n"
        "A session file (`.vdp`) is a JSON object that the launcher writes before the session program starts. "
        "`VdSessionSettings::loadFromVdp()` reads it into the settings; `saveToVdp()` writes the user's choices back into it. "
        "It comes in two layouts: a document with a top-level key `\"vdsession settings\"`, whatever its value, is in the "
        "legacy layout; any other is in the current one.\n\n"
        "Every key is optional. A missing key, or one present with another JSON type than the one listed, gives its default; "
        "`vdsession check` reports the second case as `type`, numbers a reader replaced because they lie outside their range "
        "as `range`, and keys no reader takes as `unknown`. An integer is a JSON number with an integral value that fits 32 "
        "bits; a bool is `true` or `false`, never `1`. Keys are matched exactly, blanks and case included. A `*` in a key's "
        "path stands for every element of an array. Enumerations are written as their numbers; a number without a name is "
        "stored as it is, and reported as `enumerator`. Rectangles, sizes and the pool type are text: decimal integers, "
        "between commas for a rectangle or a size, with blanks allowed around them; text the reader cannot take apart is "
        "reported as `format`. "
        "\"Saved\" tells whether `saveToVdp()` writes the key back, always at the top level of the document.\n\n"
        "`saveToVdp()` writes the whole document back through Qt's JSON classes, so every number, in any key, comes back "
        "with the value they hold for it. Built with Qt 6 an integer that fits 64 bits is kept exactly; built with Qt 5 "
        "every number is a double, so an integer beyond 2^53 changes (`9007199254740993` becomes `9007199254740992`). "
        "With either, integers beyond 64 bits and numbers of more than 17 significant digits are rounded. "
        "`vdsession check` reports each number the save would change as `precision`, with what it writes instead.\n\n");
    page += layoutSection(Layout::Current, "Current layout",
                          "Loading a current-layout file first takes the stream mode from the previous session's file "
                          "`<name>-2.vdp` beside `VdSession-<name>.vdp` and removes that file, unless the document has "
                          "`\"inherit old vdp\"`.",
                          currentExample);
    page += layoutSection(Layout::Legacy, "Legacy layout",
                          "Written by earlier launchers. Loading it inherits nothing from a previous session's file.", legacyExample);
    return page;
}
