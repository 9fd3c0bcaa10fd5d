// tunevox: the radio set on the desktop.

#include "app/window/program.h"

int main(int argc, char** argv) { return tunevox::app::RunTunevox(argc, argv); }
