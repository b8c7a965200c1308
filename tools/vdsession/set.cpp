// vdsession set FILE POINTER VALUE: stores a value at a key of a session file, once the library's
// own check has taken it.
#include "commands.h"
#include "keypointer.h"
#include "sessionedit.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <cstdio>

namespace {

// A value as the command line gives it, and the text it was written in: the check reads that
// text, since Qt's JSON classes round a number they cannot hold exactly, and the check is what
// tells of it.
struct GivenValue
{
    QJsonValue value;
    QByteArray json; // empty for a plain string
};

// JSON when it is one whole JSON value; any other text is a plain string, so that an address or a
// name needs no quotes of its own.
GivenValue readValue(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QJsonParseError error;
    const QJsonDocument wrapped = QJsonDocument::fromJson('[' + bytes + ']', &error);
    if (!wrapped.isNull() && wrapped.array().size() == 1)
        return {wrapped.array().at(0), bytes};
    return {text, QByteArray()};
}

// One line, taken as it is: a password may look like a number or hold quotes.
QString readSecretLine()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        fail(QStringLiteral("--stdin: standard input cannot be read"));
    // Bounded as a session file is: standard input may never end.
    constexpr qint64 longestLine = 1 << 20;
    QByteArray line = input.readLine(longestLine + 1);
    if (line.size() > longestLine)
        fail(QStringLiteral("--stdin: the line is longer than %1 bytes").arg(longestLine));
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

// The document as the check reads it: with the value's own text in place.
QByteArray checkedText(const QJsonObject &root, const KeyPointer &pointer, const GivenValue &given)
{
    if (given.json.isEmpty())
        return QJsonDocument(withValue(root, pointer, given.value)).toJson(QJsonDocument::Compact);
    const QString placeholder = QUuid::createUuid().toString();
    QByteArray text = QJsonDocument(withValue(root, pointer, placeholder)).toJson(QJsonDocument::Compact);
    const QByteArray quoted = '"' + placeholder.toUtf8() + '"';
    return text.replace(text.indexOf(quoted), quoted.size(), given.json);
}

QString refusal(Layout layout, const VdSessionCheck::Finding &finding, const QString &path)
{
    if (finding.kind == VdSessionCheck::FindingKind::Unknown) {
        QString text = QStringLiteral("%1: no reader takes this key").arg(finding.path);
        if (!finding.suggestion.isEmpty())
            text += QStringLiteral(" (did you mean \"%1\"?)").arg(finding.suggestion);
        return text + QStringLiteral("; --force stores it all the same; %1 is left as it was").arg(path);
    }
    if (finding.kind == VdSessionCheck::FindingKind::Precision)
        return QStringLiteral("%1: %2, so the value would not stay as given; %3 is left as it was").arg(finding.path, finding.message, path);
    const std::optional<QJsonObject> schema = keySchema(layout, KeyPointer::parse(finding.path));
    return QStringLiteral("%1 takes %2, not this value (%3); %4 is left as it was")
        .arg(finding.path, schema ? takenValues(*schema) : QStringLiteral("any value"), finding.message, path);
}

} // namespace

int runSet(const QCommandLineParser &parser)
{
    const bool fromInput = parser.isSet(QStringLiteral("stdin"));
    const bool force = parser.isSet(QStringLiteral("force"));
    const QStringList arguments = fromInput ? expectArguments(parser, {"FILE", "POINTER"})
                                            : expectArguments(parser, {"FILE", "POINTER", "VALUE"});
    const KeyPointer pointer = fileKey(arguments.at(1));
    const SessionEdit session = openForEdit(arguments.at(0));

    const QString problem = unknownKeyProblem(session.layout, pointer);
    if (!problem.isEmpty() && !force)
        fail(problem + QStringLiteral("; --force stores it all the same"));
    const QJsonObject schema = keySchema(session.layout, pointer).value_or(QJsonObject());

    GivenValue given;
    if (fromInput) {
        given.value = readSecretLine();
    } else {
        given = readValue(arguments.at(2));
        // Only the key is named: the value stays out of every message.
        if (holdsSecret(given.value, schema))
            fail(QStringLiteral("%1 is or holds a secret, which set takes only from standard input with --stdin, "
                                "so that it stays out of the shell's history")
                     .arg(pointer.text()));
    }

    const QJsonObject changed = withValue(session.root, pointer, given.value);
    const VdSessionCheck check = VdSessionCheck::checkDocument(checkedText(session.root, pointer, given));
    // Nested too deep for the readers, say.
    if (check.layout() == Layout::Unreadable)
        fail(QStringLiteral("with this value at %1 the file would no longer be read: %2; %3 is left as it was")
                 .arg(pointer.text(), check.errorString(), session.path));
    // A layout change is writeEdit()'s to refuse; findings elsewhere were in the file before.
    if (check.layout() == session.layout) {
        for (const VdSessionCheck::Finding &finding : check.findings()) {
            if (pointer.covers(finding.path) && !(force && finding.kind == VdSessionCheck::FindingKind::Unknown))
                fail(refusal(session.layout, finding, session.path));
        }
    }
    writeEdit(session, changed, pointer);
    return 0;
}
