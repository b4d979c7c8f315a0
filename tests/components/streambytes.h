#pragma once
// Byte helpers shared by the stored-data tests.

#include <cstdint>
#include <vector>

#include "components/kitstream.h"

namespace streambytes {
using Bytes = std::vector<std::uint8_t>;

// A memory stream holding `b`, positioned at 0.
inline TMemoryStream streamOf(const Bytes& b)
{
    TMemoryStream s;
    s.WriteBuffer(b.data(), std::int64_t(b.size()));
    s.SetPosition(0);
    return s;
}

inline void putTag(Bytes& b, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(tag[i]));
}

inline void putLE(Bytes& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

// A mono 8-bit PCM file image of `samples` bytes with the given channel
// count and format tag.
inline Bytes waveImage(int samples = 16, std::uint16_t channels = 1, std::uint16_t format = 1)
{
    Bytes b;
    putTag(b, "RIFF");
    putLE(b, std::uint32_t(36 + samples), 4);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    putLE(b, 16, 4);
    putLE(b, format, 2);
    putLE(b, channels, 2);
    putLE(b, 8000, 4);
    putLE(b, 8000u * channels, 4);
    putLE(b, channels, 2);
    putLE(b, 8, 2);
    putTag(b, "data");
    putLE(b, std::uint32_t(samples), 4);
    for (int i = 0; i < samples; ++i)
        b.push_back(std::uint8_t(128 + (i % 8) * 10));
    return b;
}
} // namespace streambytes
