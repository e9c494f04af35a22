#include "encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using sp::proposal::fromWindows1252;
using sp::proposal::toWindows1252;

class TestProposalEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bytes_data();
    void bytes();
    void decoding_data();
    void decoding();
    void sameAsPlatformConverter();
};

void TestProposalEncoding::bytes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ASCII, tab and line end")
        << QStringLiteral("a <b>\t(c)|=\r\n") << QByteArray("a <b>\t(c)|=\r\n");
    QTest::newRow("ellipsis") << QStringLiteral("are: \u2026") << QByteArray("are: \x85");
    QTest::newRow("single quotes") << QStringLiteral("\u2018y\u2019") << QByteArray("\x91y\x92");
    QTest::newRow("a acute, o umlaut") << QStringLiteral("Kov\u00e1cs Schr\u00f6der")
                                       << QByteArray("Kov\xe1"
                                                     "cs Schr\xf6"
                                                     "der");
    QTest::newRow("euro and en dash") << QStringLiteral("\u20ac\u2013") << QByteArray("\x80\x96");
    QTest::newRow("outside the code page, BMP")
        << QStringLiteral("A\u0100B\u4e2d\u6587") << QByteArray("A?B??");
    QTest::newRow("no character at 0x80") << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("outside the BMP, one mark per character")
        << QStringLiteral("x\U0001F600y\U0001F600\U00010348") << QByteArray("x?y??");
    QTest::newRow("lone high surrogate at the end")
        << QStringLiteral("ab") + QChar(0xd800) << QByteArray("ab?");
    QTest::newRow("lone low surrogate") << QChar(0xdc00) + QStringLiteral("z") << QByteArray("?z");
    QTest::newRow("genuine U+001A") << QStringLiteral("a\u001ab")
                                    << QByteArray("a\x1a"
                                                  "b");
    QTest::newRow("U+001A beside unencodable characters")
        << QStringLiteral("\u001a\u0100\u001a\U0001F600\u001a\u2026")
        << QByteArray("\x1a?\x1a?\x1a\x85");
}

void TestProposalEncoding::bytes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(toWindows1252(text), expected);
}

void TestProposalEncoding::decoding_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ASCII") << QByteArray("a\tb\r\n") << QStringLiteral("a\tb\r\n");
    QTest::newRow("punctuation of 0x80..0x9F")
        << QByteArray("\x80\x85\x91\x92\x93\x94\x96\x9f")
        << QStringLiteral("\u20ac\u2026\u2018\u2019\u201c\u201d\u2013\u0178");
    QTest::newRow("unassigned bytes read as C1 controls")
        << QByteArray("\x81\x8d\x8f\x90\x9d") << QStringLiteral("\u0081\u008d\u008f\u0090\u009d");
    QTest::newRow("Latin-1 half") << QByteArray("\xa0\xe1\xff")
                                  << QStringLiteral("\u00a0\u00e1\u00ff");
    QTest::newRow("NUL inside") << QByteArray("a\0b", 3)
                                << QString(QStringLiteral("a") + QChar(0) + 'b');
}

void TestProposalEncoding::decoding() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(fromWindows1252(bytes), expected);
}

// The program's own table against the platform's converter, where the platform has one
// (ICU on Linux): every byte, and every character of the Basic Multilingual Plane.
void TestProposalEncoding::sameAsPlatformConverter() {
    QStringDecoder decoder("windows-1252", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        QSKIP("this Qt has no Windows-1252 converter to compare with");
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray one(1, char(byte));
        QCOMPARE(fromWindows1252(one), decoder.decode(one));
        QCOMPARE(toWindows1252(fromWindows1252(one)), one);
    }
    QStringEncoder encoder("windows-1252", QStringEncoder::Flag::Stateless);
    for (char32_t code = 1; code <= 0xFFFF; ++code) {
        const QChar character{char16_t(code)};
        if (character.isSurrogate())
            continue;
        QByteArray expected = encoder.encode(QStringView(&character, 1));
        // ICU marks an unencodable character with 0x1A, and leaves out the invisible ones
        // (joiners, variation selectors); the file marks each with "?".
        if ((expected == "\x1a" && code != 0x1a) || expected.isEmpty())
            expected = "?";
        QVERIFY2(toWindows1252(QStringView(&character, 1)) == expected,
                 qPrintable(QString::number(code, 16)));
    }
}

QTEST_GUILESS_MAIN(TestProposalEncoding)
#include "tst_proposal_encoding.moc"
