#include "model.h"

namespace sp {
namespace {

const char *const ScaleTable[ScaleCount] = {
    "Global(10000km)",
    "Continental(3000km)",
    "Subcontinental(1000km)",
    "National(300km)",
    "Subnational(100km)",
    "Regional(30km)",
    "Subregional(10km)",
    "Town(3km)",
    "District(1km)",
    "Neighbourhood(300m)",
    "Ensemble(100m)",
    "Buildingcomplex(30m)",
    "Building(10m)",
    "Buildingsegment(3m)",
    "Buildingpart(1m)",
    "Buildingcomponent(300mm) ", // the trailing blank is part of the word
    "Superelement(100mm)",
    "Element(30mm)",
    "Subelement(10mm)",
    "Supermaterial(3mm)",
    "Material(1mm)",
    "Submaterial(<1mm)",
};

const char *const AspectTable[AspectCount] = {
    "management", "culture", "economy", "technique", "ecology", "mass",
};

const char *const TrendTable[AspectCount][2] = {
    {"initiating (!)", "executing or controlling initiatives (?)"},
    {"innovative (>)", "traditional (<)"},
    {"growing (+)", "declining (-)"},
    {"internally specializing subfunctions (/)", "internally combining subfunctions (X)"},
    {"internally differentiating into heterogeneity (|)",
     "internally egalizing into homogeneity (=)"},
    {"concentrating in space (C)", "dispersing in space (D)"},
};

const char *const ImpactTable[5] = {
    "not affected",
    "largest drawn frame of study (O)",
    "smallest characteristic detail of study (o)",
    "affected without intention (I)",
    "origin of my motivation or programme (P)",
};

} // namespace

QString vocabularyScaleName(int scale) {
    return QString::fromLatin1(ScaleTable[detail::inRange(scale, 1, ScaleCount, "scale") - 1]);
}

void initVocabulary(Model &model) {
    for (int s = 1; s <= ScaleCount; ++s)
        model.scaleNames[s] = QString::fromLatin1(ScaleTable[s - 1]);
    for (int a = 1; a <= AspectCount; ++a) {
        model.aspectNames[a] = QString::fromLatin1(AspectTable[a - 1]);
        model.trendNames(a, 0) = QStringLiteral("indifferent");
        model.trendNames(a, 1) = QString::fromLatin1(TrendTable[a - 1][0]);
        model.trendNames(a, 2) = QString::fromLatin1(TrendTable[a - 1][1]);
    }
    for (int m = 0; m <= 4; ++m)
        model.impactNames[m] = QString::fromLatin1(ImpactTable[m]);
}

} // namespace sp
