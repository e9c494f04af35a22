#include "impactmarking.h"

#include "symbols.h"

namespace sp::impacts {
namespace {

// The scales of the frame and the grain on the mass row, 0 when absent; the last one found
// wins.
struct MassEnds {
    std::int16_t frame = 0;
    std::int16_t grain = 0;
};

MassEnds findMassEnds(const Model &model) {
    MassEnds ends;
    for (int s = 1; s <= ScaleCount; ++s) {
        if (model.impactGrid(MassAspect, s) == Frame)
            ends.frame = static_cast<std::int16_t>(s);
        if (model.impactGrid(MassAspect, s) == Grain)
            ends.grain = static_cast<std::int16_t>(s);
    }
    return ends;
}

void scanMassRow(Model &model) {
    const MassEnds ends = findMassEnds(model);
    model.frameScale = ends.frame;
    model.grainScale = ends.grain;
}

// A frame goes only on a row without one, coarser than a grain already there; a grain only
// on a row without one, finer than the frame. A mark that may not stay moves on.
std::int16_t placeOnMassRow(const Model &model, int scale, std::int16_t mark) {
    if (mark == Frame &&
        !(model.frameScale == 0 && (model.grainScale == 0 || scale < model.grainScale)))
        mark = Grain;
    if (mark == Grain && !(model.grainScale == 0 && scale > model.frameScale))
        mark = Unintended;
    return mark;
}

} // namespace

QString impactCaption(int mark) {
    const std::u16string_view symbol =
        symbols::ImpactSymbols[detail::checked(mark, Programme, "impact mark")];
    return QStringView(symbol).toString();
}

ImpactPress advanceImpact(Model &model, int aspect, int index) {
    detail::inRange(aspect, 1, AspectCount, "aspect");
    const int scale = detail::checked(index, ScaleCount - 1, "position") + 1;
    model.lastImpactAspect = static_cast<std::int16_t>(aspect);
    model.lastImpactIndex = static_cast<std::int16_t>(index);
    const bool massRow = aspect == MassAspect;
    if (massRow)
        scanMassRow(model);

    std::int16_t mark = model.impactGrid(aspect, scale) + 1;
    if (mark == 5)
        mark = NotAffected;
    if (!massRow && (mark == Frame || mark == Grain))
        mark = Unintended;
    if (massRow)
        mark = placeOnMassRow(model, scale, mark);
    model.impactGrid(aspect, scale) = mark;

    const int trend = model.futureGrid(aspect, scale);
    const QString trendClause =
        trend != 0 ? QLatin1String(" while ") + model.trendNames(aspect, trend) : QString();
    return {mark, impactCaption(mark),
            model.scaleNames[scale] + QLatin1Char(' ') + model.aspectNames[aspect] +
                QLatin1String(" is ") + model.impactNames[mark] + trendClause,
            showsImpactCue(model, aspect, scale)};
}

QString resolutionStatement(const Model &model) {
    static const char *const statements[8] = {
        "Locate frame (O) and grain (o) of study in row Mass|space|time",
        "The object of study has the resolution of a very rough sketch",
        "The object of study has the resolution of a rough sketch",
        "The object of study has the resolution of a sketch",
        "The object of study has the resolution of a drawing",
        "The object of study has the resolution of a blue print",
        "The object of study has the resolution of a very precise blue print",
        "The object of study will be elaborated on several scales",
    };
    const MassEnds ends = findMassEnds(model);
    const int d = ends.grain - ends.frame;
    // A frame without a grain asks for the grain; only this case ends with a full stop.
    if (d < 0)
        return QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time.");
    return QString::fromLatin1(statements[std::min(d, 7)]);
}

QString updateResolution(Model &model) {
    scanMassRow(model);
    return resolutionStatement(model);
}

void resetImpactRow(Model &model, int aspect) {
    detail::inRange(aspect, 1, AspectCount, "aspect");
    for (int s = 1; s <= ScaleCount; ++s)
        model.impactGrid(aspect, s) = NotAffected;
}

void resetImpactColumn(Model &model, int scale) {
    detail::inRange(scale, 1, ScaleCount, "scale");
    for (int a = 1; a <= AspectCount; ++a)
        model.impactGrid(a, scale) = NotAffected;
}

void resetAllImpacts(Model &model) {
    for (int s = 1; s <= ScaleCount; ++s)
        for (int a = 1; a <= AspectCount; ++a)
            model.impactGrid(a, s) = NotAffected;
}

} // namespace sp::impacts
