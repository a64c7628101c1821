// hakobu32: the results program of a relay road race, run in the race's folder.
#include "results/app/startup.h"

int main(int argc, char** argv) { return run_hakobu32(argc, argv); }
