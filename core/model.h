#pragma once
// core/: the bottom layer, on which every other folder builds and which includes none of them.
// The model (here), its word tables (vocabulary.cpp) and the interface through which the
// windows reach each other (forms.h).
//
// The one store of the user's work: both mark matrices, the time horizon, the last pressed
// cell of the Impacts window and the word tables every sentence is built from. Both windows
// and the proposal writers read and write it in place; it is plain data with bounds-checked
// access, so every rule over it can be tested without a window.

#include <QString>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sp {

enum : int {
    AspectCount = 6, // management, culture, economy, technique, ecology, mass
    ScaleCount = 22, // Global(10000km) .. Submaterial(<1mm)
    MassAspect = 6,
    HorizonMaxLength = 32767, // what the time horizon box holds
};

// An index outside a table's declared bounds. It stops the operation that made it; the
// windows never produce one.
class InternalError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

namespace detail {
inline int inRange(int i, int first, int last, const char *what) {
    if (i < first || i > last)
        throw InternalError(std::string(what) + " index " + std::to_string(i) + " outside " +
                            std::to_string(first) + ".." + std::to_string(last));
    return i;
}
inline int checked(int i, int last, const char *what) {
    return inRange(i, 0, last, what);
}
} // namespace detail

// A table declared from index 0 to Last.
template <typename T, int Last> class Table {
public:
    T &operator[](int i) { return data_[detail::checked(i, Last, "table")]; }
    const T &operator[](int i) const { return data_[detail::checked(i, Last, "table")]; }
    bool operator==(const Table &) const = default;

private:
    std::array<T, Last + 1> data_{};
};

// A matrix declared over rows 0..LastRow and columns 0..LastColumn.
template <typename T, int LastRow, int LastColumn> class Matrix {
public:
    T &operator()(int row, int column) { return at(*this, row, column); }
    const T &operator()(int row, int column) const { return at(*this, row, column); }
    bool operator==(const Matrix &) const = default;

private:
    template <typename Self> static auto &at(Self &self, int row, int column) {
        return self.data_[detail::checked(row, LastRow, "row")]
                         [detail::checked(column, LastColumn, "column")];
    }
    std::array<std::array<T, LastColumn + 1>, LastRow + 1> data_{};
};

// Marks by (aspect 0..6, scale 0..22); index 0 entries are never written.
using Grid = Matrix<std::int16_t, AspectCount, ScaleCount>;

// Impact marks, which index impactNames directly.
enum ImpactMark : std::int16_t {
    NotAffected = 0,
    Frame = 1,      // O, mass row only
    Grain = 2,      // o, mass row only
    Unintended = 3, // I
    Programme = 4,  // P
};

struct Model {
    Grid futureGrid; // trend marks 0..2
    Grid impactGrid; // impact marks 0..4

    // The time horizon as typed, one line; Impacts and the proposal show it.
    QString horizon = QStringLiteral("2030");

    // The last press in Impacts that advanced a mark; aspect 0 until the first one.
    std::int16_t lastImpactAspect = 0;
    std::int16_t lastImpactIndex = 0;

    // Scales of the frame and the grain on the mass row, 0 when absent. Whoever reads them
    // rescans the row first.
    std::int16_t frameScale = 0;
    std::int16_t grainScale = 0;

    Table<QString, ScaleCount> scaleNames;
    Table<QString, AspectCount> aspectNames;
    Matrix<QString, AspectCount, 2> trendNames;
    Table<QString, 4> impactNames;
};

// The time horizon is one line: text pasted with line breaks keeps its first line, as a
// single-line box does, so the horizon never breaks the proposal's CR LF lines.
inline QStringView singleLineHorizon(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\r' || text[i] == u'\n')
            return text.left(i);
    return text;
}

// Future shows a cell black while its impact is marked and its trend is not: the cue a press
// in Impacts paints, and a window built anew shows again.
inline bool showsImpactCue(const Model &model, int aspect, int scale) {
    return model.futureGrid(aspect, scale) == 0 && model.impactGrid(aspect, scale) > 0;
}

// Fills the word tables; every call writes the same words.
void initVocabulary(Model &model);

// The scale word of scale 1..22, for texts that exist before any window has loaded.
QString vocabularyScaleName(int scale);

} // namespace sp
