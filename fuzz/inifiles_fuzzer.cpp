// The five INI files the library reads, of any content: the host description "sysInfo.ini" and
// the certificate choices "vdisettings.ini" at start, and "version.ini", "decoders.ini" and the
// servers' "settings.ini" when asked; then one certificate choice written back.
//
// Input: pieces, each opened by a line "### <file name>" naming one of the five files; the rest
// of the piece is that file. Files the input does not name are absent.

#include "fuzzsession.h"

#include <QStandardPaths>

namespace {

struct IniFile
{
    QByteArray name;
    QString path;
};

QVector<IniFile> iniFiles()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return {
        // A fixed Windows path, which on any other system is relative to the working directory.
        {"sysInfo.ini", QDir::current().absoluteFilePath(QStringLiteral("C:/Users/Public/Documents/Calderwyn/sysInfo.ini"))},
        {"vdisettings.ini", documents + QStringLiteral("/VdSession/vdisettings.ini")},
        {"settings.ini", documents + QStringLiteral("/Calderwyn/settings.ini")},
        {"decoders.ini", documents + QLatin1Char('/') + QCoreApplication::applicationName() + QStringLiteral("/decoders.ini")},
        {"version.ini", QCoreApplication::applicationDirPath() + QStringLiteral("/version.ini")},
    };
}

const QByteArray pieceMarker = QByteArrayLiteral("### ");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QVector<IniFile> files = iniFiles();
    QVector<QByteArray> contents(files.size());

    const QByteArray input = FuzzSession::bytes(data, size);
    int start = input.startsWith(pieceMarker) ? 0 : input.indexOf("\n" + pieceMarker);
    while (start >= 0) {
        if (input.at(start) == '\n')
            ++start;
        const int nameEnd = input.indexOf('\n', start);
        const QByteArray name = input.mid(start + pieceMarker.size(), nameEnd < 0 ? -1 : nameEnd - start - pieceMarker.size());
        const int next = nameEnd < 0 ? -1 : input.indexOf("\n" + pieceMarker, nameEnd);
        const QByteArray content = nameEnd < 0 ? QByteArray("") : input.mid(nameEnd + 1, next < 0 ? -1 : next - nameEnd - 1);
        for (int i = 0; i < files.size(); ++i) {
            if (files.at(i).name == name)
                contents[i] = content.isNull() ? QByteArray("") : content;
        }
        start = next;
    }
    for (int i = 0; i < files.size(); ++i)
        FuzzSession::putFile(files.at(i).path, contents.at(i));

    VdSessionSettings *settings = FuzzSession::freshSettings();
    settings->version();
    settings->readVideoDecoders();
    settings->getServerType();
    settings->isServerUseNewCertificate(QStringLiteral("10.20.30.40"));
    settings->updateServerUseNewCertificate(QStringLiteral("10.20.30.40"), true);
    return 0;
}
