#include "ProgramState.h"

namespace r73 {

ProgramState& programState()
{
    static ProgramState state;
    return state;
}

void resetProgramState()
{
    programState() = {};
}

} // namespace r73
