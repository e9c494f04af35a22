#include "encoding.h"

#include <array>
#include <optional>

namespace sp::proposal {
namespace {

// The characters of bytes 0x80..0x9F; the rest of the code page is Latin-1. The table is
// the program's own rather than the platform's converter so that every system writes and
// reads the same bytes: Qt for Windows has no ICU, and Windows' own converter follows the
// user's ANSI code page. The five bytes Windows-1252 leaves unassigned stand for the C1
// controls of the same number, as in Windows' and ICU's converters.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

// The byte for one UTF-16 code unit, or none.
std::optional<char> byteFor(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == unit)
            return char(0x80 + i);
    return std::nullopt;
}

} // namespace

QByteArray toWindows1252(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        // A surrogate pair is one character outside the code page: one mark for both halves.
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(byteFor(unit.unicode()).value_or('?'));
    }
    return bytes;
}

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = value >= 0x80 && value < 0xA0 ? QChar(HighControls[value - 0x80]) : QChar(value);
    }
    return text;
}

} // namespace sp::proposal
