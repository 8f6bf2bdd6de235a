// morvi_make_tree: writes a deterministic server tree.
//   morvi_make_tree OUT_DIR [--seed N] [--maps N] [--files N] [--records N] [--templates N] [--scripts PCT]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "TreeGenerator.h"

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: %s OUT_DIR [--seed N] [--maps N] [--files N] [--records N] "
                     "[--templates N] [--scripts PCT]\n",
                     argv[0]);
        return 2;
    }
    morvi::tools::TreeShape shape;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string flag = argv[i];
        int value = std::atoi(argv[i + 1]);
        if (flag == "--seed") shape.seed = static_cast<uint32_t>(value);
        else if (flag == "--maps") shape.maps = value;
        else if (flag == "--files") shape.filesPerMap = value;
        else if (flag == "--records") shape.recordsPerFile = value;
        else if (flag == "--templates") shape.templates = value;
        else if (flag == "--scripts") shape.scriptPercent = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", flag.c_str());
            return 2;
        }
    }
    try {
        long n = morvi::tools::GenerateServerTree(argv[1], shape);
        std::printf("wrote %ld placements below %s\n", n, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
