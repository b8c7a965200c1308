#include "sessionedit.h"

#include "commands.h"
#include "sessioninput.h"

#include <vdsessionsettings/sessionfiles.h>

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString valueKind(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("true or false");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

// The pointer's steps from @p at on, put into @p container (undefined when there is none yet).
// Recursion is bounded: a pointer has at most as many steps as Qt's parser nests.
QJsonValue placed(const QJsonValue &container, const KeyPointer &pointer, int at, const QJsonValue &value)
{
    const QStringList &steps = pointer.steps();
    if (at == steps.size())
        return value;
    const QString &step = steps.at(at);
    const QString where = pointer.first(at).text();
    const QString cannot = QStringLiteral("cannot set %1: ").arg(pointer.text());

    if (container.isUndefined())
        return placed(isArrayIndex(step) ? QJsonValue(QJsonArray()) : QJsonValue(QJsonObject()), pointer, at, value);
    if (container.isObject()) {
        QJsonObject object = container.toObject();
        object.insert(step, placed(object.value(step), pointer, at + 1, value));
        return object;
    }
    if (!container.isArray())
        fail(cannot + QStringLiteral("%1 is %2, which holds no keys").arg(where, valueKind(container)));
    QJsonArray elements = container.toArray();
    if (!isArrayIndex(step))
        fail(cannot + QStringLiteral("%1 is an array, and \"%2\" is no element's index").arg(where, step));
    bool small = false;
    const int index = step.toInt(&small);
    if (!small || index > elements.size())
        fail(cannot + QStringLiteral("%1 has %2 elements, so %3 is past its end (%2 adds one)").arg(where).arg(elements.size()).arg(step));
    if (index == elements.size())
        elements.append(placed(QJsonValue::Undefined, pointer, at + 1, value));
    else
        elements[index] = placed(elements.at(index), pointer, at + 1, value);
    return elements;
}

std::optional<QJsonValue> removed(const QJsonValue &container, const QStringList &steps, int at)
{
    const QString &step = steps.at(at);
    const bool last = at + 1 == steps.size();
    if (container.isObject()) {
        QJsonObject object = container.toObject();
        if (!object.contains(step))
            return std::nullopt;
        if (last) {
            object.remove(step);
        } else {
            const std::optional<QJsonValue> inner = removed(object.value(step), steps, at + 1);
            if (!inner)
                return std::nullopt;
            object.insert(step, *inner);
        }
        return object;
    }
    if (!container.isArray() || !isArrayIndex(step))
        return std::nullopt;
    QJsonArray elements = container.toArray();
    bool small = false;
    const int index = step.toInt(&small);
    if (!small || index >= elements.size())
        return std::nullopt;
    if (last) {
        elements.removeAt(index);
    } else {
        const std::optional<QJsonValue> inner = removed(elements.at(index), steps, at + 1);
        if (!inner)
            return std::nullopt;
        elements[index] = *inner;
    }
    return elements;
}

} // namespace

SessionEdit openForEdit(const QString &path)
{
    SessionEdit edit;
    edit.path = path;
    edit.content = readSessionFile(path);
    edit.root = parseSessionFile(path, edit.content);
    // Rewriting a top-level array as an object would lose it.
    if (!QJsonDocument::fromJson(edit.content).isObject())
        fail(QStringLiteral("not a session document (its top level is no object): %1").arg(path));
    edit.layout = layoutOf(edit.root);
    return edit;
}

KeyPointer fileKey(const QString &text)
{
    const KeyPointer pointer = KeyPointer::parse(text);
    if (pointer.hasWildcard())
        fail(QStringLiteral("%1: a file's key names each element by its index; * is for describe").arg(text));
    return pointer;
}

QJsonObject withValue(const QJsonObject &root, const KeyPointer &pointer, const QJsonValue &value)
{
    return placed(root, pointer, 0, value).toObject();
}

std::optional<QJsonObject> withoutKey(const QJsonObject &root, const KeyPointer &pointer)
{
    const std::optional<QJsonValue> rest = removed(root, pointer.steps(), 0);
    return rest ? std::optional<QJsonObject>(rest->toObject()) : std::nullopt;
}

void writeEdit(const SessionEdit &edit, const QJsonObject &root, const KeyPointer &changed)
{
    const QString unchanged = QStringLiteral("%1 is left as it was").arg(edit.path);
    if (layoutOf(root) != edit.layout) {
        fail(QStringLiteral("changing %1 would make the file one of the %2 layout; %3")
                 .arg(changed.text(), VdSessionCheck::layoutName(layoutOf(root)), unchanged));
    }
    // Qt's JSON classes write numbers back as they hold them, as saveToVdp() does; a number they
    // cannot hold exactly would change with a key the user never named.
    for (const VdSessionCheck::Finding &finding : VdSessionCheck::checkDocument(edit.content).findings()) {
        if (finding.kind == VdSessionCheck::FindingKind::Precision && !changed.covers(finding.path)) {
            fail(QStringLiteral("rewriting the file would change the number at %1 (%2); %3")
                     .arg(finding.path, finding.message, unchanged));
        }
    }
    // The form saveToVdp() writes, so that the session program's next save changes no more than it.
    const QByteArray content = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (content == edit.content)
        return;
    QString problem;
    if (!VdSessionFiles::writeWholeFile(edit.path, content, &problem))
        fail(QStringLiteral("%1: %2; it is left as it was").arg(edit.path, problem));
}
