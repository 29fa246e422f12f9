#include <gtest/gtest.h>

#include <QStringList>

#include "acad/Wildcard.h"
#include "host/Wildcard.h"
#include "platform/TextCodec.h"

using platform::TextEncoding;

// A file from a Windows office (CP932) reads back as the same Japanese text,
// and writing it in the encoding it came in gives the same bytes.
TEST(TextCodec, ShiftJisAndUtf8RoundTrip) {
    const QString text = QStringLiteral("; 壁の画層\r\n-LAYER C 1 壁-NEW\r\n");
    const QByteArray sjis = platform::encodeUserText(text, TextEncoding::ShiftJis);
    ASSERT_NE(sjis, text.toUtf8());
    const auto fromSjis = platform::decodeUserText(sjis);
    EXPECT_EQ(fromSjis.encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(fromSjis.text, text);
    EXPECT_EQ(platform::encodeUserText(fromSjis.text, fromSjis.encoding), sjis);

    const auto fromUtf8 = platform::decodeUserText("\xEF\xBB\xBF" + text.toUtf8());
    EXPECT_EQ(fromUtf8.encoding, TextEncoding::Utf8);
    EXPECT_TRUE(fromUtf8.hadBom);
    EXPECT_EQ(fromUtf8.text, text);
    // A character CP932 cannot hold does not cut the rest of the text.
    EXPECT_EQ(
        platform::encodeUserText(QStringLiteral("a\u20ACb壁"), TextEncoding::ShiftJis).left(3),
        QByteArray("a?b"));
    // Plain UTF-8 decoding keeps a text's leading U+FEFF.
    EXPECT_EQ(platform::decodeUtf8("\xEF\xBB\xBF"
                                   "ab"),
              QStringLiteral("\uFEFFab"));
}

// An escaped layer name used as a wildcard pattern matches that name only.
TEST(EscapeWildcard, MatchesExactlyTheName) {
    const QStringList names = {QStringLiteral("A.1"),  QStringLiteral("A-1"), QStringLiteral("P#1"),
                               QStringLiteral("P11"),  QStringLiteral("~X"),  QStringLiteral("X"),
                               QStringLiteral("[AB]"), QStringLiteral("A"),   QStringLiteral("X,Y"),
                               QStringLiteral("a`b*"), QStringLiteral("a@ ?")};
    for (const QString& name : names)
        for (const QString& other : names)
            EXPECT_EQ(host::wildcardMatch(acad::escapeWildcard(name), other),
                      name.compare(other, Qt::CaseInsensitive) == 0)
                << name.toStdString() << " vs " << other.toStdString();
}
