#ifndef VDSESSION_OUTPUT_H
#define VDSESSION_OUTPUT_H

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>

// Text from a session file or a link as a terminal can show it: control characters written as
// ls and git write them ("\e", "\n", "\x7f"), everything else as it is.
QString printable(const QString &text);

// Bytes to standard output as they are.
void writeOut(const QByteArray &bytes);
// One line of text output, made printable.
void message(const QString &text);
// One line on standard error, made printable: what a command says beside its result.
void note(const QString &text);

// The version of every --json output, its "format" key. Adding keys keeps the number; renaming,
// removing or retyping one raises it.
constexpr int jsonFormat = 1;
// One JSON object for scripts, with the "format" key first among equals.
void printJsonResult(QJsonObject result);
// JSON as it is, for outputs that are a standard of their own (a JSON Schema).
void printJson(const QJsonObject &object);

// "x,y wxh".
QString rectText(const QRect &rect);

// Rows of a name and a value under a title, the values in one column at least @p width
// characters after the names. An empty value leaves the name alone on its row.
void printRows(const QString &title, const QList<QPair<QString, QString>> &rows, int width = 0);

#endif
