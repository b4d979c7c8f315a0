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

// A BMP image of w x h pixels of `bits` stored in `compression`, with
// `pixels` bytes of pixels behind its headers and two colours (with its
// length in front as stored).
inline Bytes bitmapClaiming(bool withLength, std::uint32_t w, std::uint32_t h, std::uint32_t bits,
                            std::uint32_t compression, std::uint32_t pixels)
{
    Bytes b;
    if (withLength)
        putLE(b, 62 + pixels, 4);
    putLE(b, 'B' | 'M' << 8, 2);
    for (std::uint32_t v : {62 + pixels, 0u, 62u, 40u, w, h, 1 | bits << 16, compression, 0u, 0u, 0u, 0u, 0u, 0u,
                            0xFFFFFFu})
        putLE(b, v, 4); // ..., one plane, ..., black and white
    b.resize(b.size() + pixels, 0x55);
    return b;
}
// A 78-byte BMP image claiming 5790 x 5790 pixels at 1 bit with only 16
// bytes of pixels, and a stored bitmap list of `items` of them.
inline Bytes hugeClaimBitmap(bool withLength)
{
    return bitmapClaiming(withLength, 5790, 5790, 1, 0, 16);
}
inline Bytes hugeClaimBitmapList(int items)
{
    Bytes b;
    putLE(b, std::uint32_t(items), 4);
    for (int i = 0; i < items; ++i) {
        b.push_back(0x08); // a plain picture follows
        const Bytes picture = hugeClaimBitmap(true);
        b.insert(b.end(), picture.begin(), picture.end());
    }
    return b;
}
} // namespace streambytes
