#include "tools/SelectionFilterTable.h"

#include "acad/Wildcard.h"

namespace tools {

long colourNumber(int colourIndex) {
    const long n = colourIndex - 2;
    return n < 0 ? 256 : n;
}

FilterArrays screenFilter(const FilterChoice& c) {
    FilterArrays f;
    if (c.filter && c.colourIndex > 0)
        f.add(62, QVariant::fromValue<int>(static_cast<int>(colourNumber(c.colourIndex))));
    if (c.filter && c.linetypeIndex > 0)
        f.add(6, c.linetypeText);
    if (c.typeIndex > 0)
        f.add(0, c.typeText.toUpper());
    return f;
}

FilterArrays layerFilter(const FilterChoice& c, const QString& layer, int activeSpace) {
    FilterArrays f;
    f.add(8, acad::escapeWildcard(layer));
    const FilterArrays rest = screenFilter(c);
    f.types.insert(f.types.end(), rest.types.begin(), rest.types.end());
    f.data.insert(f.data.end(), rest.data.begin(), rest.data.end());
    f.add(67, activeSpace == 1 ? 0 : 1);
    return f;
}

const QStringList& figureTypes() {
    static const QStringList types{QStringLiteral("（指定しない）"),
                                   QStringLiteral("3DFace"),
                                   QStringLiteral("3DPoly"),
                                   QStringLiteral("3DSolid"),
                                   QStringLiteral("Arc"),
                                   QStringLiteral("Attribute"),
                                   QStringLiteral("AttributeRef"),
                                   QStringLiteral("BlockRef"),
                                   QStringLiteral("Circle"),
                                   QStringLiteral("Dim3PointAngular"),
                                   QStringLiteral("DimAligned"),
                                   QStringLiteral("DimAngular"),
                                   QStringLiteral("DimDiametric"),
                                   QStringLiteral("DimOrdinate"),
                                   QStringLiteral("DimRadial"),
                                   QStringLiteral("DimRotated"),
                                   QStringLiteral("Ellipse"),
                                   QStringLiteral("ExternalReference"),
                                   QStringLiteral("Hatch"),
                                   QStringLiteral("Leader"),
                                   QStringLiteral("LightweightPolyline"),
                                   QStringLiteral("Line"),
                                   QStringLiteral("MInsertBlock"),
                                   QStringLiteral("MLine"),
                                   QStringLiteral("MText"),
                                   QStringLiteral("Point"),
                                   QStringLiteral("PolyfaceMesh"),
                                   QStringLiteral("PolyLine"),
                                   QStringLiteral("PolygonMesh"),
                                   QStringLiteral("Raster"),
                                   QStringLiteral("Ray"),
                                   QStringLiteral("Regoin"),
                                   QStringLiteral("Shape"),
                                   QStringLiteral("Solid"),
                                   QStringLiteral("Spline"),
                                   QStringLiteral("Text"),
                                   QStringLiteral("Tolerance"),
                                   QStringLiteral("Trace"),
                                   QStringLiteral("XLine")};
    return types;
}

}  // namespace tools
