// lumen7: a small 2D drawing program for lines and circles.
#include "control/CadApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    theApp.InitInstance();
    return 0;
}
