#include "encoding.h"

#include <QStringEncoder>

namespace sp::proposal {
namespace {

constexpr auto CodePage = "windows-1252";
constexpr auto Flags = QStringConverter::Flag::Stateless;
constexpr char Substitute = 0x1a; // what the encoder writes for an unencodable character

// One character: a surrogate pair, or a single code unit (a lone surrogate included).
qsizetype characterLength(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// The encoder marks an unencodable character with 0x1A, the same byte as a genuine U+001A.
// Windows-1252 gives one byte per character, so each 0x1A is looked up in the text.
bool replaceSubstitutes(QStringView text, QByteArray &bytes) {
    qsizetype at = 0;
    for (qsizetype i = 0; i < text.size(); i += characterLength(text, i), ++at) {
        if (at == bytes.size())
            return false;
        if (bytes[at] == Substitute && text[i] != QChar(0x1a))
            bytes[at] = '?';
    }
    return at == bytes.size();
}

// Should the encoder ever not give one byte per character, or be missing, each character is
// encoded on its own.
QByteArray encodeEachCharacter(QStringView text) {
    QStringEncoder encoder(CodePage, Flags);
    QByteArray bytes;
    bytes.reserve(text.size());
    QByteArray one(encoder.isValid() ? encoder.requiredSpace(2) : 0, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size();) {
        const QStringView character = text.sliced(i, characterLength(text, i));
        i += character.size();
        if (!encoder.isValid()) {
            // Without the code page only ASCII is certain to come out right.
            bytes.append(character[0].unicode() < 0x80 ? char(character[0].unicode()) : '?');
            continue;
        }
        const char *end = encoder.appendToBuffer(one.data(), character);
        if (encoder.hasError() || end - one.constData() != 1 ||
            (one[0] == Substitute && character[0] != QChar(0x1a))) {
            bytes.append('?');
            encoder.resetState();
        } else {
            bytes.append(one[0]);
        }
    }
    return bytes;
}

} // namespace

QByteArray toWindows1252(QStringView text) {
    QStringEncoder encoder(CodePage, Flags);
    if (!encoder.isValid())
        return encodeEachCharacter(text);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError() || replaceSubstitutes(text, bytes))
        return bytes;
    return encodeEachCharacter(text);
}

} // namespace sp::proposal
