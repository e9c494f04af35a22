#include "encoding.h"

#include <QTest>

using sp::proposal::toWindows1252;

class TestProposalEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bytes_data();
    void bytes();
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

QTEST_GUILESS_MAIN(TestProposalEncoding)
#include "tst_proposal_encoding.moc"
