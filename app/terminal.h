#pragma once
// What the command line needs of the system, which Windows does its own way: the terminal the
// program was started from, and pictures and fonts without a display. app/CMakeLists.txt
// builds terminal_windows.cpp for Windows and terminal.cpp elsewhere.

#include <QString>

#include <cstdio>

namespace sp {

// Writes `text` to `stream` (stdout or stderr), reaching the terminal the program was started
// from even where it is a windowed program.
void writeToTerminal(std::FILE *stream, const QString &text);

// Before the QGuiApplication of a run without windows: pictures and fonts without a display.
void useNoDisplay();

} // namespace sp
