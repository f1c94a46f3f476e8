// lumen7: a small 2D drawing program for lines and circles.
#include "control/CommandLine.h"

int main(int argc, char** argv)
{
    return CCommandLine::Run(argc, argv);
}
