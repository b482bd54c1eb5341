#include "engine/uBroadcastParameters.h"

void TBroadcastParameters::Reset()
{
    foundCount_ = 0;
    selectedCount_ = 0;
    foundCapacity_ = 0;
    selectedCapacity_ = 0;
    largestCapacity_ = 0;
}
