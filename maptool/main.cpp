#include "Scorvel.h"

int main(int argc, char* argv[])
{
    return RunScorvel(argc, argv, stderr);
}
