// Writes a generated drawing: bench_write_drawing LAYERS ENTITIES PATH
#include <QFile>
#include <cstdio>

#include "BenchDrawings.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s LAYERS ENTITIES PATH\n", argv[0]);
        return 2;
    }
    QFile f(QString::fromLocal8Bit(argv[3]));
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write(bench::makeDrawing(std::atoi(argv[1]), std::atoi(argv[2])));
    return 0;
}
