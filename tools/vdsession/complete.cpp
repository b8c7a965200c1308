// vdsession complete -- WORDS...: shell completion, answered from the command table and the schema.
//
// WORDS are the command line after "vdsession", already unquoted, up to and including the word
// being completed (empty when a new word starts). The first line of the answer says what the shell
// should complete: "files" for a file name, which the shell completes better itself, or "words",
// followed by the candidates, one a line, each starting with the word being completed.
#include "commands.h"
#include "keypointer.h"
#include "output.h"

#include <vdsessionsettings/sessionfiles.h>

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {

struct Answer
{
    bool files = false;
    QStringList words;
};

Answer words(const QStringList &candidates)
{
    return {false, candidates};
}

QStringList commandNames()
{
    QStringList names;
    for (const Command &command : commands()) {
        if (!command.hidden)
            names.append(command.name);
    }
    return names;
}

QString longName(const QCommandLineOption &option)
{
    for (const QString &name : option.names()) {
        if (name.size() > 1)
            return name;
    }
    return QString();
}

const QCommandLineOption *findOption(const Command &command, const QString &name)
{
    for (const QCommandLineOption &option : command.options) {
        if (option.names().contains(name))
            return &option;
    }
    return nullptr;
}

// An option's value, from its value name: "current|legacy" lists the choices, a file name's
// extension ("OUT.svg") asks for a file.
Answer optionValues(const QCommandLineOption &option, const QString &prefix)
{
    const QString valueName = option.valueName();
    if (valueName.contains(QLatin1Char('|'))) {
        QStringList choices = valueName.split(QLatin1Char('|'));
        for (QString &choice : choices)
            choice.prepend(prefix);
        return words(choices);
    }
    return {valueName.contains(QLatin1Char('.')), {}};
}

// Every key of the schema @p node under @p prefix; an array's elements by the indices @p stored
// has there, or as "*" where the file has no such array.
void collectPointers(const QJsonObject &node, const QString &prefix, const QJsonValue &stored, QStringList *pointers)
{
    const QJsonObject properties = node.value(QStringLiteral("properties")).toObject();
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const QString pointer = prefix + KeyPointer({it.key()}).text();
        pointers->append(pointer);
        collectPointers(it.value().toObject(), pointer, stored.toObject().value(it.key()), pointers);
    }
    if (!node.contains(QStringLiteral("items")))
        return;
    const QJsonObject items = node.value(QStringLiteral("items")).toObject();
    const QJsonArray elements = stored.toArray();
    if (elements.isEmpty()) {
        pointers->append(prefix + QStringLiteral("/*"));
        collectPointers(items, prefix + QStringLiteral("/*"), QJsonValue(), pointers);
    }
    for (int i = 0; i < elements.size(); ++i) {
        const QString pointer = prefix + QLatin1Char('/') + QString::number(i);
        pointers->append(pointer);
        collectPointers(items, pointer, elements.at(i), pointers);
    }
}

// The keys that start with @p partial, each cut after the step that follows it, as a shell
// completes a file's path one folder at a time: "/basic settings/" stands for the keys inside.
QStringList pointerCandidates(Layout layout, const QJsonObject &root, const QString &partial)
{
    QStringList pointers;
    collectPointers(layoutSchema(layout), QString(), root, &pointers);
    QStringList candidates;
    for (const QString &pointer : qAsConst(pointers)) {
        if (!pointer.startsWith(partial))
            continue;
        const int slash = pointer.indexOf(QLatin1Char('/'), std::max(int(partial.size()), 1));
        candidates.append(slash < 0 ? pointer : pointer.left(slash + 1));
    }
    candidates.removeDuplicates();
    return candidates;
}

Answer answer(const QStringList &before, const QString &current)
{
    // Options before the command take no value.
    int at = 0;
    while (at < before.size() && before.at(at).startsWith(QLatin1Char('-')))
        ++at;
    if (at == before.size()) {
        if (current.startsWith(QLatin1Char('-')))
            return words({QStringLiteral("--help"), QStringLiteral("--version"), QStringLiteral("--verbose")});
        return words(commandNames() << QStringLiteral("help"));
    }
    if (before.at(at) == QLatin1String("help"))
        return at + 1 == before.size() ? words(commandNames()) : Answer();
    const Command *command = findCommand(before.at(at));
    if (!command)
        return Answer();

    // The command's own words: its positional arguments, and the values of its options.
    QStringList positional;
    QHash<QString, QString> values;
    const QCommandLineOption *pending = nullptr;
    bool optionsEnded = false;
    for (const QString &word : before.mid(at + 1)) {
        if (pending) {
            values.insert(longName(*pending), word);
            pending = nullptr;
        } else if (!optionsEnded && word == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && word.startsWith(QLatin1Char('-')) && word.size() > 1) {
            const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
            const QCommandLineOption *option = findOption(*command, name);
            if (option && !option->valueName().isEmpty()) {
                if (word.contains(QLatin1Char('=')))
                    values.insert(longName(*option), word.section(QLatin1Char('='), 1));
                else
                    pending = option;
            }
        } else {
            positional.append(word);
        }
    }
    if (pending)
        return optionValues(*pending, QString());

    if (!optionsEnded && current.startsWith(QLatin1Char('-'))) {
        const int equals = current.indexOf(QLatin1Char('='));
        if (equals > 0) {
            const QCommandLineOption *option = findOption(*command, current.mid(2, equals - 2));
            return option ? optionValues(*option, current.left(equals + 1)) : Answer();
        }
        QStringList names{QStringLiteral("--help"), QStringLiteral("--verbose")};
        for (const QCommandLineOption &option : command->options)
            names.append(QStringLiteral("--") + longName(option));
        return words(names);
    }

    if (positional.size() >= command->arguments.size())
        return Answer();
    const QString argument = command->arguments.at(positional.size()).name;
    if (argument == QLatin1String("FILE"))
        return {true, {}};
    if (argument != QLatin1String("POINTER"))
        return Answer();
    // The keys of the file's own layout and arrays, when there is a file; else of --layout.
    Layout layout = values.value(QStringLiteral("layout")) == QLatin1String("legacy") ? Layout::Legacy : Layout::Current;
    QJsonObject root;
    QByteArray content;
    if (command->arguments.first().name == QLatin1String("FILE") && VdSessionFiles::readWholeFile(positional.first(), &content)) {
        root = QJsonDocument::fromJson(content).object();
        layout = layoutOf(root);
    }
    return words(pointerCandidates(layout, root, current));
}

} // namespace

int runComplete(const QCommandLineParser &parser)
{
    QStringList before = parser.positionalArguments();
    const QString current = before.isEmpty() ? QString() : before.takeLast();
    const Answer found = answer(before, current);
    if (found.files) {
        writeOut("files\n");
        return 0;
    }
    QByteArray text = "words\n";
    for (const QString &candidate : found.words) {
        // A line break in a candidate would make two of it.
        if (candidate.startsWith(current) && !candidate.contains(QLatin1Char('\n')))
            text += candidate.toUtf8() + '\n';
    }
    writeOut(text);
    return 0;
}
