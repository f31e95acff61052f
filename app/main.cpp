#include "app/startup.h"

int main(int argc, char **argv) { return cr::runProgram(argc, argv); }
