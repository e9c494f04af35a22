#pragma once
// A second, independent account of what the user sees, for the randomized and the reopening
// tests: both matrices, the last advancing Impacts press and the controls of each open
// window. It is worked out from the rules as the user meets them (the outcome table of a
// mass-row press, the cycles of the other rows, the statement per distance) and calls none
// of the program's functions, so the two can only agree by both being right.

#include <QColor>
#include <QString>

#include <array>

namespace reference {

enum : int { Aspects = 6, Scales = 22, Mass = 6 };

enum class Button { Left, Right, Middle };

// Marks by [aspect 1..6][scale 1..22]; index 0 is never used.
using Marks = std::array<std::array<int, Scales + 1>, Aspects + 1>;

QString scaleWord(int scale);
QString aspectWord(int aspect);
QString trendWord(int aspect, int mark);
QString impactWord(int mark);
QString trendCaption(int aspect, int mark);
QString impactCaption(int mark);
QColor rowColour(int aspect);

// The statement Impacts shows for the frame and the grain on the mass row of `impact`.
QString resolutionStatement(const Marks &impact);

QString refusalText();
QString perspectivesText();

struct Cell {
    QString caption;
    bool black = false;
};
using Cells = std::array<std::array<Cell, Scales>, Aspects>; // [aspect - 1][position]

struct futureView {
    bool open = false;
    bool visible = false;
    Cells cells;
    QString status;
    QString horizonEdit;
};

struct impactsView {
    bool open = false;
    bool visible = false;
    Cells cells;
    QString status, horizonLabel, resolution, switchNote;
};

class World {
public:
    Marks trend{};
    Marks impact{};
    QString horizon = QStringLiteral("2030"); // as last typed, whichever window shows it
    int lastAspect = 0;
    int lastIndex = 0;
    futureView future;
    impactsView impacts;
    int futureLoads = 0;
    int impactsLoads = 0;

    void start();

    void pressFuture(int aspect, int index, Button button);
    void pressImpacts(int aspect, int index, Button button);
    void resetFutureRow(int index);
    void resetFutureColumn(int index);
    void resetFutureAll();
    void resetImpactsRow(int index);
    void resetImpactsColumn(int index);
    void resetImpactsAll();

    void goToImpacts();         // "Go to Impacts", or a right press on a Future cell
    void probableFutureUntil(); // the caption of Future
    void goToFuture();          // "Go to Future", or a right press on an Impacts cell
    void closeFuture();
    void closeImpacts();
    void setHorizon(const QString &text);

    // The save button. False when refused; true when the file is written, opening with the
    // statement impacts.resolution holds then.
    bool save();

    // The reading "Go to Impacts" writes, or empty before any advancing press in Impacts.
    QString reading() const;

    Cell &futureCell(int aspect, int index) { return future.cells[aspect - 1][index]; }
    Cell &impactsCell(int aspect, int index) { return impacts.cells[aspect - 1][index]; }

private:
    void openFuture();
    void openImpacts();
    void showFuture();
    void showImpacts();
};

} // namespace reference
