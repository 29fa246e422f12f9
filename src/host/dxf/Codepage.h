#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace host::dxf {

// Text of a drawing: files up to 2004 use the code page named by $DWGCODEPAGE,
// later files UTF-8. Both may hold \U+XXXX escapes for characters outside
// the code page.
class Codepage {
public:
    // acadVersion is $ACADVER ("AC1009" ...), dwgCodepage $DWGCODEPAGE ("ANSI_932" ...).
    Codepage(const QByteArray& acadVersion, const QByteArray& dwgCodepage);

    QString decode(QByteArrayView bytes) const;
    // Encodes text; characters the code page cannot hold become \U+XXXX.
    QByteArray encode(const QString& text) const;
    bool isUtf8() const { return utf8_; }
    // The converter name used for ANSI_xxx, or empty when unknown.
    static QByteArray converterName(const QByteArray& dwgCodepage);

private:
    bool utf8_ = false;
    QByteArray name_;
};

}  // namespace host::dxf
