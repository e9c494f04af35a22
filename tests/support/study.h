#pragma once
// A saved study for tests that open one: StudyProposal.txt as the program's own writer makes
// it. Tests that include this link sp_proposal.

#include "studyfile.h"

#include <QDir>
#include <QTest>

namespace sp::test {

// Horizon 2061, a trend of economy at Town(3km), frame and grain on the mass row, P and I.
inline Model exampleStudy() {
    Model study;
    initVocabulary(study);
    study.horizon = QStringLiteral("2061");
    study.futureGrid(3, 8) = 1;
    study.impactGrid(MassAspect, 8) = Frame;
    study.impactGrid(MassAspect, 13) = Grain;
    study.impactGrid(2, 5) = Programme;
    study.impactGrid(3, 8) = Unintended; // has a trend: no cue
    return study;
}

inline QString writeStudy(const QString &folder, const Model &study = exampleStudy()) {
    const QString path = QDir(folder).filePath(QStringLiteral("StudyProposal.txt"));
    const auto write = [&](QIODevice &device, QString *error) {
        return proposal::writeStudy(device, proposal::StudyFormat::TextFile, study, "1/1/26",
                                    error);
    };
    if (!proposal::replaceFile(path, write, nullptr))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A text file the reader finds no tables in.
inline QString writeNotes(const QString &folder) {
    const QString path = QDir(folder).filePath(QStringLiteral("notes.txt"));
    QFile notes(path);
    if (!notes.open(QIODevice::WriteOnly) || notes.write("My notes\r\n") != 10)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace sp::test
