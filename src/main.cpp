// pictoralia-saver: the run-time of a screen saver; without a package appended it is
// the template, which reports that it cannot run.
#include "shell/programstart.h"
#include "shell/savershow.h"

int main(int argc, char **argv)
{
    return pictoralia::RunProgram(argc, argv, std::make_unique<pictoralia::SaverShow>());
}
