#include "terminal.h"

#include <QtGlobal>

namespace sp {

void writeToTerminal(std::FILE *stream, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Off screen, unless a platform is asked for.
void useNoDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace sp
