#pragma once
// Models and line helpers shared by the proposal tests.

#include "model.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QStringList>

Q_DECLARE_METATYPE(sp::Model)

namespace fixtures {

inline const QString BluePrint =
    QStringLiteral("The object of study has the resolution of a blue print");
inline const QString SeveralScales =
    QStringLiteral("The object of study will be elaborated on several scales");

inline sp::Model withVocabulary() {
    sp::Model model;
    sp::initVocabulary(model);
    return model;
}

// Only what saving needs: a frame at Town(3km) and a grain at Building(10m).
inline sp::Model saveableModel() {
    sp::Model model = withVocabulary();
    model.impactGrid(sp::MassAspect, 8) = sp::Frame;
    model.impactGrid(sp::MassAspect, 13) = sp::Grain;
    return model;
}

// The worked example: economy trends at 8, 9 and 13; P and I on economy, P on ecology.
inline sp::Model workedExample() {
    sp::Model model = saveableModel();
    model.futureGrid(3, 8) = 1;
    model.futureGrid(3, 9) = 2;
    model.futureGrid(3, 13) = 1;
    model.impactGrid(3, 9) = sp::Programme;
    model.impactGrid(3, 10) = sp::Unintended;
    model.impactGrid(5, 8) = sp::Programme;
    return model;
}

// Every row with trends 1 and 2 (trend s % 3), P and I cells on every row, scale 16 used by a
// P cell and by the grain, and a P cell without a trend on the mass row.
inline sp::Model crowdedModel() {
    sp::Model model = withVocabulary();
    for (int a = 1; a <= sp::AspectCount; ++a)
        for (int s = 1; s <= sp::ScaleCount; ++s)
            model.futureGrid(a, s) = static_cast<std::int16_t>(s % 3);
    for (int a = 1; a <= 5; ++a) {
        model.impactGrid(a, 2) = sp::Programme;
        model.impactGrid(a, 16) = sp::Programme;
        model.impactGrid(a, 5) = sp::Unintended;
        model.impactGrid(a, 20) = sp::Unintended;
    }
    model.impactGrid(sp::MassAspect, 3) = sp::Frame;
    model.impactGrid(sp::MassAspect, 16) = sp::Grain;
    model.impactGrid(sp::MassAspect, 18) = sp::Programme;
    model.impactGrid(sp::MassAspect, 20) = sp::Unintended;
    return model;
}

// The lines of a text whose every line ends with CR LF; `ok` is false otherwise.
inline QList<QByteArray> splitCrLf(const QByteArray &bytes, bool *ok) {
    QList<QByteArray> lines;
    qsizetype from = 0;
    for (qsizetype end; (end = bytes.indexOf("\r\n", from)) >= 0; from = end + 2)
        lines.append(bytes.mid(from, end - from));
    *ok = from == bytes.size() && bytes.count('\r') == lines.size() &&
          bytes.count('\n') == lines.size();
    return lines;
}

inline QStringList splitCrLf(const QString &text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A table row of 23 cells: `first`, then the given cells by scale, empty elsewhere.
inline QString row(const QString &first, const QList<std::pair<int, QString>> &cells) {
    QStringList row(sp::ScaleCount + 1);
    row[0] = first;
    for (const auto &[scale, text] : cells)
        row[scale] = text;
    return row.join(u'\t') + u'\t';
}

} // namespace fixtures
