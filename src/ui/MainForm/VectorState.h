#pragma once
// Libraries outside the program (the platform's drawing and font code) may return with the
// upper halves of the AVX registers in use. The passes are plain SSE arithmetic, and on many
// processors every such instruction then pays a state-transition penalty, slowing a pass by
// half. Clearing the upper halves before a slice of passes keeps them at full speed.

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

__attribute__((target("avx"))) inline void ClearUpperVectorStateAvx()
{
    _mm256_zeroupper();
}

inline void ClearUpperVectorState()
{
    static const bool HasAvx = __builtin_cpu_supports("avx");
    if (HasAvx)
        ClearUpperVectorStateAvx();
}
#else
inline void ClearUpperVectorState() {}
#endif
