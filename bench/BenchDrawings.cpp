#include "BenchDrawings.h"

#include <QDir>
#include <QFile>

namespace bench {

namespace {

void tag(QByteArray& out, int code, const QByteArray& value) {
    QByteArray c = QByteArray::number(code);
    if (c.size() < 3)
        c = QByteArray(3 - c.size(), ' ') + c;
    out += c;
    out += '\n';
    out += value;
    out += '\n';
}

QByteArray hex(unsigned n) {
    return QByteArray::number(n, 16).toUpper();
}

}  // namespace

QByteArray makeDrawing(int layers, int entities) {
    QByteArray out;
    out.reserve(entities * 200 + layers * 200 + 4096);
    unsigned handle = 0x100;
    tag(out, 0, "SECTION");
    tag(out, 2, "HEADER");
    tag(out, 9, "$ACADVER");
    tag(out, 1, "AC1015");
    tag(out, 9, "$DWGCODEPAGE");
    tag(out, 3, "ANSI_1252");
    tag(out, 9, "$CLAYER");
    tag(out, 8, "0");
    tag(out, 9, "$TILEMODE");
    tag(out, 70, "1");
    tag(out, 9, "$HANDSEED");
    tag(out, 5, hex(0x100 + layers + entities + 16));
    tag(out, 0, "ENDSEC");
    tag(out, 0, "SECTION");
    tag(out, 2, "TABLES");
    tag(out, 0, "TABLE");
    tag(out, 2, "LTYPE");
    tag(out, 5, "5");
    tag(out, 330, "0");
    tag(out, 100, "AcDbSymbolTable");
    tag(out, 70, "1");
    tag(out, 0, "LTYPE");
    tag(out, 5, "14");
    tag(out, 330, "5");
    tag(out, 100, "AcDbSymbolTableRecord");
    tag(out, 100, "AcDbLinetypeTableRecord");
    tag(out, 2, "Continuous");
    tag(out, 70, "0");
    tag(out, 3, "Solid line");
    tag(out, 72, "65");
    tag(out, 73, "0");
    tag(out, 40, "0.0");
    tag(out, 0, "ENDTAB");
    tag(out, 0, "TABLE");
    tag(out, 2, "LAYER");
    tag(out, 5, "2");
    tag(out, 330, "0");
    tag(out, 100, "AcDbSymbolTable");
    tag(out, 70, QByteArray::number(layers + 1));
    auto layer = [&](const QByteArray& name, int color) {
        tag(out, 0, "LAYER");
        tag(out, 5, hex(handle++));
        tag(out, 330, "2");
        tag(out, 100, "AcDbSymbolTableRecord");
        tag(out, 100, "AcDbLayerTableRecord");
        tag(out, 2, name);
        tag(out, 70, "0");
        tag(out, 62, QByteArray::number(color));
        tag(out, 6, "Continuous");
        tag(out, 370, "-3");
        tag(out, 390, "F");
    };
    layer("0", 7);
    QList<QByteArray> names;
    for (int i = 0; i < layers; ++i) {
        const QByteArray name = "A" + QByteArray::number(i % 7).rightJustified(2, '0') + "-B" +
                                QByteArray::number(i % 13).rightJustified(2, '0') + "-C" +
                                QByteArray::number(i % 5).rightJustified(2, '0') + "-D" +
                                QByteArray::number(i).rightJustified(5, '0');
        names << name;
        layer(name, 1 + i % 250);
    }
    tag(out, 0, "ENDTAB");
    tag(out, 0, "ENDSEC");
    tag(out, 0, "SECTION");
    tag(out, 2, "ENTITIES");
    for (int i = 0; i < entities; ++i) {
        tag(out, 0, "LINE");
        tag(out, 5, hex(handle++));
        tag(out, 330, "1F");
        tag(out, 100, "AcDbEntity");
        tag(out, 8, names.isEmpty() ? QByteArray("0") : names[i % names.size()]);
        tag(out, 100, "AcDbLine");
        tag(out, 10, QByteArray::number(i * 1.5, 'f', 4));
        tag(out, 20, QByteArray::number(i * 0.25, 'f', 4));
        tag(out, 30, "0.0");
        tag(out, 11, QByteArray::number(i * 1.5 + 10, 'f', 4));
        tag(out, 21, QByteArray::number(i * 0.25 + 5, 'f', 4));
        tag(out, 31, "0.0");
    }
    tag(out, 0, "ENDSEC");
    tag(out, 0, "EOF");
    return out;
}

QString writeDrawing(int layers, int entities) {
    const QString path =
        QDir::tempPath() + QStringLiteral("/tova_bench_%1_%2.dxf").arg(layers).arg(entities);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(makeDrawing(layers, entities));
    return path;
}

}  // namespace bench
