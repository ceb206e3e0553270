#include "RunScheduler.h"

#include <algorithm>

void TRunScheduler::Slice()
{
    if (!WantsPasses())
        return;
    const int64_t start = FClock.Now();
    const int64_t budget = SliceLength.count();
    const int64_t sliceEnd = std::min(FPassLimit, FPassesMade + MaxSlicePasses);
    // Stalled until the slice has come through: a pass that raises leaves it so.
    FState = TState::Stalled;
    int64_t elapsed = 0;
    int64_t batchTime = 0;
    do {
        for (int i = 0; i < Batch && FPassesMade < sliceEnd; ++i) {
            FPass();
            ++FPassesMade;
        }
        const int64_t now = FClock.Now() - start;
        batchTime = now - elapsed;
        elapsed = now;
    } while (FPassesMade < sliceEnd && elapsed + batchTime < budget);
    FState = TState::Active;
}
