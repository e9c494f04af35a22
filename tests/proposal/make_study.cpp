// Writes a saved study for the export test: marks on every kind of cell, a black cue, and a
// Greek time horizon, stored as UTF-8 the way a text editor leaves a proposal it has opened.
#include "fixtures.h"
#include "impactmarking.h"
#include "studyfile.h"
#include "studyproposal.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_study FILE\n", stderr);
        return 2;
    }
    sp::Model model = fixtures::workedExample();
    model.horizon = QStringLiteral("Ορίζοντας 2050");
    model.futureGrid(1, 3) = 1;
    model.futureGrid(4, 2) = 2;
    model.futureGrid(6, 22) = 1;
    model.impactGrid(1, 20) = sp::Unintended;
    model.impactGrid(2, 16) = sp::Programme;
    const QString resolution = sp::impacts::resolutionStatement(model);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(
            sp::proposal::studyProposalText(model, resolution, sp::proposal::todayShortDate())
                .toUtf8()) < 0)
        return 1;
    return 0;
}
