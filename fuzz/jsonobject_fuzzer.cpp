// Any JSON object through both document readers, fromJson() and fromOldJson(), each on a fresh
// record, as a program that parsed the document itself would hand it over.

#include "fuzzsession.h"

#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(FuzzSession::bytes(data, size));
    if (!document.isObject())
        return -1; // not worth keeping in the corpus
    const QJsonObject root = document.object();

    VdSessionSettings *settings = FuzzSession::freshSettings();
    settings->fromJson(root);
    settings->videoPolicy();
    settings->geometry(QRect(0, 0, 1920, 1080), 0);

    settings = FuzzSession::freshSettings();
    settings->fromOldJson(root);
    settings->videoPolicy();
    settings->geometry(QRect(0, 0, 1920, 1080), 1);
    return 0;
}
