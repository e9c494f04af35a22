// The rules and the document over the model alone, and the save against a plain write.
#include "impactmarking.h"
#include "proposal.h"
#include "trendmarking.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace sp;

namespace {

Model crowdedModel() {
    Model model;
    InitVocabulary(model);
    for (int a = 1; a <= AspectCount; ++a)
        for (int s = 1; s <= ScaleCount; ++s) {
            model.FutureGrid(a, s) = static_cast<std::int16_t>((a + s) % 3);
            if (a < MassAspect)
                model.ImpactGrid(a, s) = static_cast<std::int16_t>(s % 3 == 0 ? 0 : 2 + s % 3);
        }
    model.ImpactGrid(MassAspect, 8) = Frame;
    model.ImpactGrid(MassAspect, 13) = Grain;
    model.ImpactGrid(MassAspect, 16) = Programme;
    return model;
}

const QString Resolution = QStringLiteral("The object of study has the resolution of a blue print");

QByteArray crowdedBytes() {
    return proposal::ToWindows1252(proposal::StudyProposalText(
        crowdedModel(), QStringLiteral("2030"), Resolution, QStringLiteral("12/8/26")));
}

void StepTrendPress(benchmark::State &state) {
    Model model;
    InitVocabulary(model);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(future::StepTrend(model, 1 + i % 6, i % 22));
        ++i;
    }
}
BENCHMARK(StepTrendPress);

void AdvanceImpactPressMassRow(benchmark::State &state) {
    Model model;
    InitVocabulary(model);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(impacts::AdvanceImpact(model, MassAspect, i % 22));
        benchmark::DoNotOptimize(impacts::UpdateResolution(model));
        ++i;
    }
}
BENCHMARK(AdvanceImpactPressMassRow);

void DocumentText(benchmark::State &state) {
    const Model model = crowdedModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(proposal::StudyProposalText(
            model, QStringLiteral("2030"), Resolution, QStringLiteral("12/8/26")));
}
BENCHMARK(DocumentText);

void DocumentTextAndBytes(benchmark::State &state) {
    const Model model = crowdedModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(proposal::ToWindows1252(proposal::StudyProposalText(
            model, QStringLiteral("2030"), Resolution, QStringLiteral("12/8/26"))));
}
BENCHMARK(DocumentTextAndBytes);

// The whole save, through a temporary file and a rename...
void SaveToDisk(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    const QByteArray bytes = crowdedBytes();
    for (auto _ : state) {
        QString error;
        if (!proposal::SaveStudyProposal(path, bytes, &error))
            state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(SaveToDisk);

// ...against the baseline: the same bytes written over the file in place.
void PlainWriteBaseline(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    const QByteArray bytes = crowdedBytes();
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            state.SkipWithError("write failed");
    }
}
BENCHMARK(PlainWriteBaseline);

} // namespace

BENCHMARK_MAIN();
