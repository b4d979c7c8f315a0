#pragma once
// Small stateless helpers shared by the library units: rectangle geometry,
// blank/path strings, directory lookup and the LZRW1/KH block compressor.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

// Where a file name given elsewhere lives.
enum TKitPathPrefix : std::uint8_t { ppWindows = 0, ppSystem = 1, ppProgram = 2, ppFixed = 3 };

// The path separator our directory helpers append. The stored formats and
// callers speak of "backslash"; on this platform directories end in '/', and
// either separator is accepted as an existing ending.
constexpr QChar KitPathDelim = QLatin1Char('/');

// ---- Rectangles ----
// Scales `source` into `target` keeping its proportions; the result sits at the
// target's top-left corner. A source of zero width or height gives an empty
// rectangle at that corner instead of a division by zero.
TRect FitRectProportional(const TRect& source, const TRect& target);
void RectSize(const TRect& r, int& width, int& height);
// Bounding box of `r` turned by `angle` degrees about its centre, moved to (0,0).
void RotatedRectBounds(TRect& r, int angle);

int IntArrayMax(const std::vector<int>& values);
int IntArrayMin(const std::vector<int>& values);
long double FloatArrayMin(const std::vector<long double>& values);

// ---- Strings and paths ----
// Empty, or spaces (code 32) only; tabs count as text.
bool IsBlank(const QString& s);
QString AddTrailingBackslash(const QString& s);
QString RemoveTrailingBackslash(const QString& s);
// Everything up to and including the last separator; empty when there is none.
QString ExtractFilePath(const QString& path);
QString ExtractFileName(const QString& path);

QString WindowsDirectory();
QString SystemDirectory();
QString ProgramDirectory();
QString PathByPrefix(TKitPathPrefix prefix, bool withBackslash);

// ---- LZRW1/KH blocks ----
constexpr std::uint8_t kLZRWFlagCompressed = 0x40;
constexpr std::uint8_t kLZRWFlagCopied = 0x80;
// The compressor writes up to this many bytes past n before it decides that
// compression did not pay: the output area needs n + kLZRWOverrun bytes.
constexpr std::size_t kLZRWOverrun = 6;

// A malformed compressed block: an item that reaches past the block, a copy
// from before the start of the output, or output beyond the caller's area.
class ELZRWError : public Exception {
public:
    using Exception::Exception;
};

// The compressor could not get its hash table.
class EInvalidPointer : public Exception {
public:
    using Exception::Exception;
};

// Compresses n source bytes into one block at `out`, which must hold at least
// n + kLZRWOverrun bytes. Returns the block length (n + 1 for a stored block).
std::uint32_t LZRWCompress(const std::uint8_t* src, std::uint16_t n, std::uint8_t* out);

// Expands a block of m bytes into `out` (room for `outCapacity` bytes) and
// returns the number of bytes produced. Reads only inside the block, writes
// only inside the area; anything else raises ELZRWError.
std::uint32_t LZRWDecompress(const std::uint8_t* block, std::uint32_t m, std::uint8_t* out,
                             std::size_t outCapacity);

// Convenience forms over byte vectors, used by tests and tools.
std::vector<std::uint8_t> LZRWCompress(const std::vector<std::uint8_t>& src);
std::vector<std::uint8_t> LZRWDecompress(const std::vector<std::uint8_t>& block,
                                         std::size_t outCapacity = 65535);
