#pragma once
// Some of Qt's fills and blends (its AVX2 routines) return with the upper
// halves of the vector registers still in use. Until they are cleared, every
// SSE instruction of code built for plain x86-64 pays for mixing the two
// encodings: a sine of the sampling loop costs ten times as much. Loops that
// run right after painting clear them first; this costs a few cycles.

inline void ClearUpperVectorState()
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        __asm__ volatile("vzeroupper" ::: "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7"
#if defined(__x86_64__)
                         , "xmm8", "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15"
#endif
        );
#endif
}
