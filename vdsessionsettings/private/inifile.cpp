#include "inifile_p.h"

#include <QSettings>
#include <QStringList>
#include <QTextCodec>

void useUtf8(QSettings &settings)
{
    settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
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
