// geometry() with any screens the host may report (none larger than a 16-bit desktop, which is
// what window systems address), against the window rectangles a session document remembered.
//
// The remembered numbers are drawn from +-2^24 here: how the document reader copes with numbers
// near the 32-bit limits is the session file harness's job; this one is about the placement.

#include "fuzzsession.h"

#include <QJsonArray>
#include <QJsonObject>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int screenLimit = 1 << 16;
constexpr int rememberedLimit = 1 << 24;

QRect screen(FuzzedDataProvider &input)
{
    const int x = input.ConsumeIntegralInRange(-screenLimit, screenLimit);
    const int y = input.ConsumeIntegralInRange(-screenLimit, screenLimit);
    const int width = input.ConsumeIntegralInRange(-16, screenLimit);
    const int height = input.ConsumeIntegralInRange(-16, screenLimit);
    return QRect(x, y, width, height);
}

QString rememberedText(FuzzedDataProvider &input)
{
    QStringList numbers;
    for (int i = 0; i < 4; ++i)
        numbers.append(QString::number(input.ConsumeIntegralInRange(-rememberedLimit, rememberedLimit)));
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
    // Each window asks again for its place, as after a monitor change.
    for (int round = 0; round < 2; ++round) {
        for (int id = 0; id < windows && input.remaining_bytes() > 0; ++id)
            settings->geometry(screen(input), id);
    }
    return 0;
}
