// geometry() and setGeometry() with any rectangle a caller can hand over, QML included, against
// the window rectangles a session document remembered. Screens and rectangles are drawn from the
// whole int range, their edges given as corners so that QRect's own constructor adds nothing; the
// remembered numbers too, since the document reader holds them as the calls hold their arguments.

#include "fuzzsession.h"

#include <QJsonArray>
#include <QJsonObject>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QRect anyRect(FuzzedDataProvider &input)
{
    const int left = input.ConsumeIntegral<int>();
    const int top = input.ConsumeIntegral<int>();
    const int right = input.ConsumeIntegral<int>();
    const int bottom = input.ConsumeIntegral<int>();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QString rememberedText(FuzzedDataProvider &input)
{
    QStringList numbers;
    for (int i = 0; i < 4; ++i)
        numbers.append(QString::number(input.ConsumeIntegral<int>()));
    return numbers.join(QLatin1Char(','));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int windows = input.ConsumeIntegralInRange(1, 4);

    QJsonArray remembered;
    for (int id = 0; id < windows; ++id) {
        if (input.ConsumeBool())
            remembered.append(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("geometry"), rememberedText(input)}});
    }
    QJsonObject document{{QStringLiteral("inherit old vdp"), 1}, {QStringLiteral("geometrys"), remembered}};
    if (input.ConsumeBool())
        document.insert(QStringLiteral("geometry"), rememberedText(input));

    VdSessionSettings *settings = FuzzSession::freshSettings();
    settings->fromJson(document);
    // Each window asks again for its place, as after a monitor change, or says where it went.
    for (int round = 0; round < 2; ++round) {
        for (int id = 0; id < windows && input.remaining_bytes() > 0; ++id) {
            if (input.ConsumeBool())
                settings->setGeometry(anyRect(input), id);
            settings->geometry(anyRect(input), id);
        }
    }
    return 0;
}
