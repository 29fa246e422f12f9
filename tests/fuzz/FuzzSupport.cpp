#include "FuzzSupport.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tova_fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

QString saveDir() {
    return qEnvironmentVariable("TOVA_FUZZ_SAVE_DIR");
}

void require(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace fuzzsupport
