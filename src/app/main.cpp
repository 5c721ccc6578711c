// The process entry of the marlowick program: Marlowick on a simulated Mac, run by a script on the
// virtual clock or by the interactive console on the wall clock (src/console/program.h).
#include "console/program.h"

int main(int argc, char** argv) {
    return marlowick::console::runProgram(argc, argv);
}
