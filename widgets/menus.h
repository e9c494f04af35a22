#pragma once
// The menus of both windows. They act on the one study, not on a window, so both windows show
// the same File and Help menus with the same shortcuts; the life cycle says what each does.

#include <functional>

class QMenuBar;

namespace sp {

// A command left empty is one the program cannot carry out where it runs (printing in a
// browser): its item is left out, never shown dead.
struct MenuCommands {
    std::function<void()> newStudy;           // File > New Study (Ctrl+N)
    std::function<void()> openStudy;          // File > Open Study... (Ctrl+O)
    std::function<void()> save;               // File > Save StudyProposal.txt (Ctrl+S)
    std::function<void()> exportDocument;     // File > Export Document... (Ctrl+Shift+E)
    std::function<void()> exportOpenDocument; // where files are downloaded, not named
    std::function<void()> exportPdf;          // File > Export Matrices as PDF...
    std::function<void()> print;              // File > Print Matrices... (Ctrl+P)
    std::function<void()> quit;               // File > Quit (Ctrl+Q)
    std::function<void()> about;              // Help > About
    // Files go to the browser's downloads under their own names: no dialog follows an export
    // item, and each format has an item of its own.
    bool downloads = false;
};

// Adds File and Help to `bar`, in the fixed palette and the windows' default font, so the
// desktop's theme changes neither the bar nor its menus.
void fillMenuBar(QMenuBar &bar, const MenuCommands &commands);

} // namespace sp
