// Entry point of the program.
#include "app/program.h"

int main(int argc, char** argv) { return orlu::WinMain(argc, argv); }
