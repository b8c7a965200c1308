#ifndef VDSESSIONSETTINGS_SESSIONCHECK_H
#define VDSESSIONSETTINGS_SESSIONCHECK_H

#include <vdsessionsettings/vdsessionsettings_export.h>

#include <QByteArray>
#include <QJsonObject>
#include <QSharedDataPointer>
#include <QString>
#include <QVector>

class VdSessionCheckPrivate;

/**
 * What the library makes of a session file, told key by key: where the readers silently fall
 * back on a default, and which keys they do not take at all.
 *
 * A check runs the very readers that VdSessionSettings::loadFromVdp() runs, on a record of its
 * own: it changes no setting of VdSessionSettings::instance(), emits no signal, and reads no file
 * but the one named; in particular the previous session's file, which loading reads and removes,
 * is left alone.
 *
 * @code
 * const VdSessionCheck check = VdSessionCheck::checkFile(path);
 * for (const VdSessionCheck::Finding &finding : check.findings())
 *     qInfo() << finding.path << VdSessionCheck::kindName(finding.kind) << finding.message;
 * @endcode
 *
 * The same readers also describe the session file as a whole, as a JSON Schema (schema()) and as
 * a page for people (schemaMarkdown()), so that checking, describing and loading cannot disagree.
 */
class VDSESSIONSETTINGS_EXPORT VdSessionCheck
{
public:
    /** The layout of a session file, told apart as loadFromVdp() tells it. */
    enum class Layout {
        Unreadable, ///< missing, not a regular file, too large, or not a JSON document
        Current,    ///< the layout the launcher writes today
        Legacy,     ///< the earlier launchers' layout, with a top-level "vdsession settings"
    };

    /** What a finding reports about the key or number at its path; kindName() names each. */
    enum class FindingKind {
        Type,    ///< present with another JSON type than the reader takes; the default is used
        Range,   ///< a number the reader replaced because it lies outside the range it allows
        Unknown, ///< a key no reader of the layout takes; it is ignored
        /**
         * A number, anywhere in the document, that VdSessionSettings::saveToVdp() would not
         * write back with the value written (see there); the message tells what it writes
         * instead. Reported until the paths of these findings add up to the document's length.
         */
        Precision,
        /**
         * A number where the key's values are an enumeration, that names none of its enumerators;
         * the reader keeps it as it is. The message lists the enumerators with their numbers. A
         * number the reader replaces because it lies outside its range is a Range finding instead.
         */
        Enumerator,
        /**
         * A string the reader parses and cannot: a window rectangle that is not four integers, a
         * display size that is not two, a decimal number that is none. The message tells what the
         * session does instead. A value that is no string at all is a Type finding.
         */
        Format,
    };

    /** One thing the readers replace, leave out or would write back otherwise, at one place of the document. */
    struct Finding
    {
        /** An RFC 6901 JSON Pointer to the key, e.g. "/basic settings/IsMMR", "/vm settings/vm/lstIps/0". */
        QString path;
        /** What was found there. */
        FindingKind kind;
        /** What was found and what is used instead. Never holds the value of a password, ticket or other secret. */
        QString message;
        /** For an unknown key that looks like a typo, the nearest key the readers take in the same object; else empty. */
        QString suggestion;
    };

    /** Reads the session file @p path and checks it. Touches no other file. */
    static VdSessionCheck checkFile(const QString &path);
    /**
     * Reads the session file @p path, checks it, and gives its top-level object in @p document,
     * for a program that goes on to handle the document itself: the file is read once, and
     * bounded and refused as loadFromVdp() reads and refuses it (a device, a pipe or a folder, a
     * file larger than 16 MiB, text that is no JSON document or an empty one). A document that is
     * a JSON array gives an empty object, as loading reads it.
     *
     * When the check is Unreadable, @p document is made empty and errorString() tells why.
     * @p document may be null. Touches no other file.
     *
     * @code
     * QJsonObject document;
     * const VdSessionCheck check = VdSessionCheck::checkFile(path, &document);
     * if (check.layout() == VdSessionCheck::Layout::Unreadable)
     *     qWarning() << path << check.errorString();
     * @endcode
     */
    static VdSessionCheck checkFile(const QString &path, QJsonObject *document);
    /** Checks the content of a session file. */
    static VdSessionCheck checkDocument(const QByteArray &content);

    /** A check of nothing: layout() Unreadable, with no findings and an empty errorString(). */
    VdSessionCheck();
    /** A copy of @p other; the results are shared, not copied, so copying is cheap. */
    VdSessionCheck(const VdSessionCheck &other);
    /** Takes over the results of @p other. */
    VdSessionCheck(VdSessionCheck &&other) noexcept;
    /** Makes this a copy of @p other, sharing its results. */
    VdSessionCheck &operator=(const VdSessionCheck &other);
    /** Takes over the results of @p other. */
    VdSessionCheck &operator=(VdSessionCheck &&other) noexcept;
    /** Releases the results, once no copy shares them. */
    ~VdSessionCheck();

    /** The layout detected; Unreadable when the content could not be read as a session document. */
    Layout layout() const;
    /** Why the file is Unreadable; empty otherwise. */
    QString errorString() const;
    /** The findings in document order, each path and kind once however many steps read the key. */
    QVector<Finding> findings() const;

    /** "current", "legacy" or "unreadable". */
    static QString layoutName(Layout layout);
    /** "type", "range", "unknown", "precision", "enumerator" or "format". */
    static QString kindName(FindingKind kind);

    /**
     * A JSON Schema (draft 2020-12) of the session file: both layouts under "oneOf", every key the
     * readers take with its type, range or enumerators, default and description. Secrets are
     * marked "writeOnly", and the keys saveToVdp() writes back carry the annotation
     * "x-saveToVdp": true.
     */
    static QJsonObject schema();
    /** The session file's documentation page (docs/session-file.md), from the same description. */
    static QString schemaMarkdown();

private:
    explicit VdSessionCheck(VdSessionCheckPrivate *d);
    QSharedDataPointer<VdSessionCheckPrivate> d;
};

#endif
