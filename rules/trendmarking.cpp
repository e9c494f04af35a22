#include "trendmarking.h"

#include "symbols.h"

namespace sp::future {

QString trendCaption(int aspect, int mark) {
    const std::u16string_view symbol =
        symbols::TrendCaptions[detail::inRange(aspect, 1, AspectCount, "aspect")]
                              [detail::checked(mark, 2, "trend mark")];
    return symbol.empty() ? QString() : QStringView(symbol).toString();
}

TrendPress stepTrend(Model &model, int aspect, int index) {
    const int scale = detail::checked(index, ScaleCount - 1, "position") + 1;
    auto &cell = model.futureGrid(detail::inRange(aspect, 1, AspectCount, "aspect"), scale);
    std::int16_t mark = cell + 1;
    if (mark == 3)
        mark = 0;
    cell = mark;
    return {mark, trendCaption(aspect, mark),
            model.scaleNames[scale] + QLatin1Char(' ') + model.aspectNames[aspect] +
                QLatin1String(" will be ") + model.trendNames(aspect, mark)};
}

void resetTrendRow(Model &model, int aspect) {
    detail::inRange(aspect, 1, AspectCount, "aspect");
    for (int s = 1; s <= ScaleCount; ++s)
        model.futureGrid(aspect, s) = 0;
}

void resetTrendColumn(Model &model, int scale) {
    detail::inRange(scale, 1, ScaleCount, "scale");
    for (int a = 1; a <= AspectCount; ++a)
        model.futureGrid(a, scale) = 0;
}

void resetAllTrends(Model &model) {
    for (int s = 1; s <= ScaleCount; ++s)
        for (int a = 1; a <= AspectCount; ++a)
            model.futureGrid(a, s) = 0;
}

std::optional<QString> impactReading(const Model &model) {
    if (model.lastImpactAspect < 1)
        return std::nullopt;
    const int a = model.lastImpactAspect;
    const int s = model.lastImpactIndex + 1;
    const int impact = model.impactGrid(a, s);
    const int trend = model.futureGrid(a, s);
    return model.scaleNames[s] + QLatin1Char(' ') + model.aspectNames[a] + QLatin1String(" is ") +
           model.impactNames[impact] + QLatin1String(" while ") + model.trendNames(a, trend);
}

} // namespace sp::future
