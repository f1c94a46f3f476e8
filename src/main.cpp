// lumen7: a small 2D drawing program for lines and circles.
#include "log/Logger.h"

int main()
{
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    CLogger::GetInstance()->Info("Logger initialized.");
    CLogger::GetInstance()->Info("Program terminated.");
    return 0;
}
