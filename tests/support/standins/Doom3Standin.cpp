// Stand-in for the game program in tests: logs how it was started and ends.
#include "StandinRun.h"

int main()
{
    return RunStandin("doom3.exe");
}
