#include "terminal.h"

#include <windows.h>

namespace sp {

// The program is a GUI program on Windows, so that no console opens beside its windows; run
// from a terminal, it writes --help, --version and its complaints to that terminal. A stream
// already redirected to a file or a pipe is kept.
void writeToTerminal(std::FILE *stream, const QString &text) {
    const DWORD which = stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        GetFileType(handle) == FILE_TYPE_UNKNOWN) {
        if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED)
            (void)std::freopen("CONOUT$", "w", stream);
    }
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Windows always has its own platform, which draws without a window.
void useNoDisplay() {}

} // namespace sp
