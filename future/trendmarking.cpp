#include "trendmarking.h"

namespace sp::future {
namespace {

const char TrendSymbols[AspectCount][2] = {
    {'!', '?'}, {'>', '<'}, {'+', '-'}, {'/', 'X'}, {'|', '='}, {'C', 'D'},
};

} // namespace

QString TrendCaption(int aspect, int mark) {
    detail::inRange(aspect, 1, AspectCount, "aspect");
    if (detail::checked(mark, 2, "trend mark") == 0)
        return QString();
    return QString(QLatin1Char(TrendSymbols[aspect - 1][mark - 1]));
}

TrendPress StepTrend(Model &model, int aspect, int index) {
    const int scale = detail::checked(index, ScaleCount - 1, "position") + 1;
    auto &cell = model.FutureGrid(detail::inRange(aspect, 1, AspectCount, "aspect"), scale);
    std::int16_t mark = cell + 1;
    if (mark == 3)
        mark = 0;
    cell = mark;
    return {mark, TrendCaption(aspect, mark),
            model.ScaleNames[scale] + QLatin1Char(' ') + model.AspectNames[aspect] +
                QLatin1String(" will be ") + model.TrendNames(aspect, mark)};
}

void ResetTrendRow(Model &model, int aspect) {
    detail::inRange(aspect, 1, AspectCount, "aspect");
    for (int s = 1; s <= ScaleCount; ++s)
        model.FutureGrid(aspect, s) = 0;
}

void ResetTrendColumn(Model &model, int scale) {
    detail::inRange(scale, 1, ScaleCount, "scale");
    for (int a = 1; a <= AspectCount; ++a)
        model.FutureGrid(a, scale) = 0;
}

void ResetAllTrends(Model &model) {
    for (int s = 1; s <= ScaleCount; ++s)
        for (int a = 1; a <= AspectCount; ++a)
            model.FutureGrid(a, s) = 0;
}

std::optional<QString> ImpactReading(const Model &model) {
    if (model.LastImpactAspect < 1)
        return std::nullopt;
    const int a = model.LastImpactAspect;
    const int s = model.LastImpactIndex + 1;
    const int impact = model.ImpactGrid(a, s);
    const int trend = model.FutureGrid(a, s);
    return model.ScaleNames[s] + QLatin1Char(' ') + model.AspectNames[a] + QLatin1String(" is ") +
           model.ImpactNames[impact] + QLatin1String(" while ") + model.TrendNames(a, trend);
}

} // namespace sp::future
