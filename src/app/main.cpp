// MorviNpc: edits the NPC placements in a game server's region files.
#include "app/CPlacementApp.h"

int main(int argc, char** argv) {
    morvi::CPlacementApp app(argc, argv);
    app.InitInstance();
    return 0;
}
