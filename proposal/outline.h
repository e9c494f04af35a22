#pragma once
// The study proposal as a sequence of blocks, the one source of its words. The text file runs
// each block's pieces together into lines; the formatted document gives each block its form
// (a heading, a table, a picture) and leaves out what only formatting by hand needed.

#include "model.h"
#include "tables.h"

#include <QStringView>

#include <span>
#include <vector>

namespace sp::proposal {

struct Piece {
    enum Kind : unsigned char {
        Fixed,   // the program's own words; "<...>" in them is an instruction to replace
        Data,    // the user's and the vocabulary's words, never an instruction
        Tab,     // a tab: after every table cell, before an actor line
        LineEnd, // between the rows of a table
    };
    QStringView text; // empty for Tab and LineEnd
    Kind kind;
};

struct Block {
    enum Kind : unsigned char {
        Paragraph,
        Title,         // the first line after the opening instructions
        Heading,       // a chapter heading of outline level `level`, 1..3
        ContentsTitle, // "CONTENTS"
        Formatting,    // an instruction to format by hand: the text file only
        Table,         // the table of `matrix`: a header row and a row per aspect
        Legend,        // a line of what the symbols of `matrix` mean
        Picture,       // where the picture of `matrix` goes: no text, no line
    };
    Kind kind;
    unsigned char level;
    MatrixKind matrix;
    qsizetype first; // its pieces in Outline::pieces
    qsizetype count;
};

struct Outline {
    std::vector<Piece> pieces;
    std::vector<Block> blocks;

    std::span<const Piece> piecesOf(const Block &block) const {
        return {pieces.data() + block.first, static_cast<std::size_t>(block.count)};
    }
};

// Every block but a Picture is at least one line of the text file; a Table is one line per
// row. The pieces view `model`'s words, `resolution` and `date`, which must outlive the
// outline. A mark outside its range in either matrix throws InternalError.
Outline proposalOutline(const Model &model, QStringView resolution, QStringView date);

// The text file's text, built from the same blocks as they come, without keeping them: every
// block a line (a table a line per row) ended by CR LF, a picture nothing.
QString outlineText(const Model &model, QStringView resolution, QStringView date);

// The text of the pieces run together, tabs and line ends included.
QString joinedText(std::span<const Piece> pieces);

} // namespace sp::proposal
