// The rules and the documents over the model alone, and the save against a plain write.
#include "devicewrite.h"
#include "documentparts.h"
#include "encoding.h"
#include "impactmarking.h"
#include "matrixpicture.h"
#include "studyfile.h"
#include "studyproposal.h"
#include "trendmarking.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace sp;

namespace {

Model crowdedModel() {
    Model model;
    initVocabulary(model);
    for (int a = 1; a <= AspectCount; ++a)
        for (int s = 1; s <= ScaleCount; ++s) {
            model.futureGrid(a, s) = static_cast<std::int16_t>((a + s) % 3);
            if (a < MassAspect)
                model.impactGrid(a, s) = static_cast<std::int16_t>(s % 3 == 0 ? 0 : 2 + s % 3);
        }
    model.impactGrid(MassAspect, 8) = Frame;
    model.impactGrid(MassAspect, 13) = Grain;
    model.impactGrid(MassAspect, 16) = Programme;
    return model;
}

const QString Resolution = QStringLiteral("The object of study has the resolution of a blue print");

QByteArray crowdedBytes() {
    return proposal::toWindows1252(
        proposal::studyProposalText(crowdedModel(), Resolution, QStringLiteral("12/8/26")));
}

void stepTrendPress(benchmark::State &state) {
    Model model;
    initVocabulary(model);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(future::stepTrend(model, 1 + i % 6, i % 22));
        ++i;
    }
}
BENCHMARK(stepTrendPress);

void advanceImpactPressMassRow(benchmark::State &state) {
    Model model;
    initVocabulary(model);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(impacts::advanceImpact(model, MassAspect, i % 22));
        benchmark::DoNotOptimize(impacts::updateResolution(model));
        ++i;
    }
}
BENCHMARK(advanceImpactPressMassRow);

void documentText(benchmark::State &state) {
    const Model model = crowdedModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            proposal::studyProposalText(model, Resolution, QStringLiteral("12/8/26")));
}
BENCHMARK(documentText);

void documentTextAndBytes(benchmark::State &state) {
    const Model model = crowdedModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(proposal::toWindows1252(
            proposal::studyProposalText(model, Resolution, QStringLiteral("12/8/26"))));
}
BENCHMARK(documentTextAndBytes);

// The whole save, through a temporary file and a rename...
void saveToDisk(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("StudyProposal.txt"));
    const QByteArray bytes = crowdedBytes();
    for (auto _ : state) {
        QString error;
        const auto write = [&](QIODevice &device, QString *reason) {
            return proposal::writeBytes(device, bytes, reason);
        };
        if (!proposal::replaceFile(path, write, &error))
            state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(saveToDisk);

// ...against the baseline: the same bytes written over the file in place.
void plainWriteBaseline(benchmark::State &state) {
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
BENCHMARK(plainWriteBaseline);

// Each output written whole into memory, after start-up: the text file is the baseline the
// formatted documents are measured against.
void writeOutput(benchmark::State &state) {
    const auto format = proposal::StudyFormat(state.range(0));
    const Model model = crowdedModel();
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer device(&bytes);
        device.open(QIODevice::WriteOnly);
        if (!proposal::writeStudy(device, format, model, QStringLiteral("12/8/26"), nullptr))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(writeOutput)
    ->ArgName("format")
    ->Arg(int(proposal::StudyFormat::TextFile))
    ->Arg(int(proposal::StudyFormat::WordDocument))
    ->Arg(int(proposal::StudyFormat::OpenDocument))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime(); // the pictures are encoded on two threads

// Where a document's time goes: one matrix picture drawn at 300 dpi, and both drawn and
// encoded as the PNGs each document holds.
void matrixPictureDrawn(benchmark::State &state) {
    const Model model = crowdedModel();
    for (auto _ : state)
        benchmark::DoNotOptimize(proposal::parts::matrixImage(model, proposal::MatrixKind::Future));
}
BENCHMARK(matrixPictureDrawn)->Unit(benchmark::kMillisecond);

void matrixPicturesPng(benchmark::State &state) {
    const Model model = crowdedModel();
    for (auto _ : state) {
        std::array<QByteArray, 2> pngs;
        if (!proposal::parts::matrixPngs(model, &pngs, nullptr))
            state.SkipWithError("encoding failed");
    }
}
BENCHMARK(matrixPicturesPng)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// The pictures need a QGuiApplication; no display.
int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
