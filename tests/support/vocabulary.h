#pragma once
// The program's words as the tests expect them, written out once here and apart from the
// program's own tables, so that a change to those shows.

#include <QString>
#include <QStringList>

namespace sp::test::words {

// By scale 1..22 at index 0..21; the trailing blank of "Buildingcomponent(300mm) " is part of
// the word.
inline const QStringList Scales{"Global(10000km)",        "Continental(3000km)",
                                "Subcontinental(1000km)", "National(300km)",
                                "Subnational(100km)",     "Regional(30km)",
                                "Subregional(10km)",      "Town(3km)",
                                "District(1km)",          "Neighbourhood(300m)",
                                "Ensemble(100m)",         "Buildingcomplex(30m)",
                                "Building(10m)",          "Buildingsegment(3m)",
                                "Buildingpart(1m)",       "Buildingcomponent(300mm) ",
                                "Superelement(100mm)",    "Element(30mm)",
                                "Subelement(10mm)",       "Supermaterial(3mm)",
                                "Material(1mm)",          "Submaterial(<1mm)"};

// By aspect 1..6 at index 0..5.
inline const QStringList Aspects{"management", "culture", "economy",
                                 "technique",  "ecology", "mass"};

// The first and second trend of aspect 1..6 at index 0..5; the symbol in brackets is the
// cell caption. Trend 0 of every aspect reads "indifferent".
inline const char *const Trends[6][2] = {
    {"initiating (!)", "executing or controlling initiatives (?)"},
    {"innovative (>)", "traditional (<)"},
    {"growing (+)", "declining (-)"},
    {"internally specializing subfunctions (/)", "internally combining subfunctions (X)"},
    {"internally differentiating into heterogeneity (|)",
     "internally egalizing into homogeneity (=)"},
    {"concentrating in space (C)", "dispersing in space (D)"},
};

// By impact mark 0..4.
inline const QStringList Impacts{"not affected", "largest drawn frame of study (O)",
                                 "smallest characteristic detail of study (o)",
                                 "affected without intention (I)",
                                 "origin of my motivation or programme (P)"};

} // namespace sp::test::words
