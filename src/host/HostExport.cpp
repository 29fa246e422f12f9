#include "host/HostDocument.h"

namespace host {

void HostDocument::Export(const QString& fileName, const QString& extension,
                          const acad::SelectionSetPtr& selectionSet) {
    checkOpen();
    (void)fileName;
    (void)selectionSet;
    acad::raise(acad::ErrorNumber::NotSupported,
                QStringLiteral("Export format \"%1\" is not supported").arg(extension));
}

}  // namespace host
