// morvi_mapview_bench [--runs N]: the map view's redraw figure on its own.
#include <QApplication>
#include <cstring>
#include <string>

#include "MapViewBench.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs = 9;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::stoi(argv[i + 1]);
    const morvi::bench::Figure figure = morvi::bench::MapViewRedrawFigure(runs);
    morvi::bench::PrintFigures({figure}, runs);
    return figure.Met() ? 0 : 1;
}
