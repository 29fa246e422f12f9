#include "ui/LayerAttributeEntries.h"

#include <array>

namespace ui::attributes {

namespace {

const QStringList& firstEntries() {
    static const QStringList entries{notSpecifiedText(), QStringLiteral("ByLayer"),
                                     QStringLiteral("ByBlock")};
    return entries;
}

// The standard lineweights in hundredths of a millimetre, in box order.
constexpr std::array<int, 24> kStandardLineweights{0,  5,   9,   13,  15,  18,  20,  25,
                                                   30, 35,  40,  50,  53,  60,  70,  80,
                                                   90, 100, 106, 120, 140, 158, 200, 211};

}  // namespace

QString notSpecifiedText() {
    return QStringLiteral("(指定しない)");
}

QStringList colourEntries() {
    QStringList entries = firstEntries();
    entries.reserve(258);
    entries << QStringLiteral("赤(1:acRed)") << QStringLiteral("黄(2:acYellow)")
            << QStringLiteral("緑(3:acGreen)") << QStringLiteral("ｼｱﾝ(4:acCyan)")
            << QStringLiteral("青(5:acBlue)") << QStringLiteral("ﾏｾﾞﾝﾀﾞ(6:acMagenta)")
            << QStringLiteral("白(7:acWhite)");
    for (int c = 8; c <= 255; ++c)
        entries << QString::number(c);
    return entries;
}

QStringList linetypeEntries(const QStringList& drawingLinetypes) {
    QStringList entries = firstEntries();
    for (const QString& name : drawingLinetypes) {
        const QString lower = name.toLower();
        if (lower != QLatin1String("bylayer") && lower != QLatin1String("byblock"))
            entries << name;
    }
    return entries;
}

QStringList lineweightEntries() {
    QStringList entries = firstEntries();
    entries << QStringLiteral("Default");
    for (int w : kStandardLineweights)
        entries << lineweightText(w);
    return entries;
}

int colourIndexOf(long colour) {
    return colour >= 1 && colour <= 255 ? static_cast<int>(colour) + 2 : kNotSpecified;
}

QString lineweightText(long lineweight) {
    return QString::number(static_cast<double>(lineweight) / 100.0, 'f', 2) + QStringLiteral(" mm");
}

int lineweightIndexOf(long lineweight) {
    if (lineweight == kLineweightDefault)
        return kLineweightDefaultIndex;
    for (size_t i = 0; i < kStandardLineweights.size(); ++i)
        if (kStandardLineweights[i] == lineweight)
            return kLineweightDefaultIndex + 1 + static_cast<int>(i);
    return kNotSpecified;
}

}  // namespace ui::attributes
