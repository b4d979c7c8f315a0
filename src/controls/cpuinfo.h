#pragma once
// Processor identification and clock. Nothing in the laboratories reads
// these facts; they are kept as a service. The clock is measured when it
// is first asked for, so starting a program costs no waiting.

#include "platform/graphics.h"

#include <cstdint>
#include <string>

namespace CpuInfo {

struct Signature {
    std::int32_t Eax = -1;
    std::int32_t Ebx = -1;
    std::int32_t Ecx = -1;
    std::int32_t Edx = -1;
};

bool CpuidAvailable();
Signature CpuSignature();
// Twelve characters from the vendor registers (empty without CPUID).
std::string VendorText();
// Family from the signature: (EAX shr 8) and 0xF; -1 without CPUID.
int Family();
// Clock in MHz: -1 below family 5 or when the time-stamp counter cannot be
// read, 0 without CPUID. Measured once, on the first call.
int ClockMHz();

// The clock from two counter readings taken `elapsedMs` milliseconds apart:
// Round(ticks per microsecond + 0.66), as the one-second measurement gives.
int ClockFromCounts(std::uint64_t c1, std::uint64_t c2, double elapsedMs);
// The clock rule for a given family and measured value.
int ClockForFamily(int family, int measured);

// The unit's default appearance settings, kept for whoever asks.
struct Appearance {
    std::uint8_t Settings[5] = {0, 2, 5, 1, 1};
    std::int32_t Values[4] = {0, 0, 0, 0};
    TColor ShadowColor = clBtnShadow;
    TColor HighlightColor = clBtnHighlight;
    TFont Font{"MS Sans Serif", 11, clWindowText, 0};
};
const Appearance& DefaultAppearance();

} // namespace CpuInfo
