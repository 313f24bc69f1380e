#include "app/RunDriver.h"

int main(int argc, char** argv)
{
    // The platform keeps the low 8 bits of the status: every code still maps to its own value.
    return RunPelnoFatigue(argc, argv);
}
