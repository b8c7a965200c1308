#include "inifile_p.h"

#include <QSettings>
#include <QStringList>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#endif

void useUtf8(QSettings &settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
#else
    // Qt 6 reads and writes INI files as UTF-8 and has no other choice.
    Q_UNUSED(settings);
#endif
}

int boundedArraySize(QSettings &settings, int claimedSize)
{
    int highestStored = 0;
    const QStringList elements = settings.childGroups();
    for (const QString &element : elements) {
        bool isIndex = false;
        const int index = element.toInt(&isIndex);
        if (isIndex && index <= claimedSize)
            highestStored = qMax(highestStored, index);
    }
    return highestStored < claimedSize ? highestStored + 1 : claimedSize;
}
