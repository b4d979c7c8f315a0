#include "components/kitutils.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>

// ---- Rectangles ----

TRect FitRectProportional(const TRect& source, const TRect& target)
{
    const int sw = source.Right - source.Left;
    const int sh = source.Bottom - source.Top;
    if (sw == 0 || sh == 0)
        return TRect(target.Left, target.Top, target.Left, target.Top);
    const long double scale = FloatArrayMin({static_cast<long double>(target.Right - target.Left) / sw,
                                             static_cast<long double>(target.Bottom - target.Top) / sh});
    const int w = Trunc(static_cast<double>(sw * scale));
    const int h = Trunc(static_cast<double>(sh * scale));
    return TRect(target.Left, target.Top, target.Left + w, target.Top + h);
}

void RectSize(const TRect& r, int& width, int& height)
{
    width = r.Right - r.Left;
    height = r.Bottom - r.Top;
}

void RotatedRectBounds(TRect& r, int angle)
{
    if (angle == 0)
        return;
    const int hw = (r.Right - r.Left) / 2;
    const int hh = (r.Bottom - r.Top) / 2;
    const int cx = r.Left + hw;
    const int cy = r.Top + hh;
    const double rad = angle * std::numbers::pi / 180.0;
    const double s = std::sin(rad);
    const double c = std::cos(rad);
    const int a = Round(hw * c - hh * s);
    const int b = Round(hw * c + hh * s);
    const int p = Round(hw * s - hh * c);
    const int q = Round(hw * s + hh * c);
    const std::vector<int> xs{cx - a, cx - b, cx + b, cx + a};
    const std::vector<int> ys{cy + p, cy + q, cy - q, cy - p};
    const int left = IntArrayMin(xs);
    const int top = IntArrayMin(ys);
    r = TRect(0, 0, IntArrayMax(xs) - left, IntArrayMax(ys) - top);
}

int IntArrayMax(const std::vector<int>& values)
{
    return *std::max_element(values.begin(), values.end());
}

int IntArrayMin(const std::vector<int>& values)
{
    return *std::min_element(values.begin(), values.end());
}

long double FloatArrayMin(const std::vector<long double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

// ---- Strings and paths ----

namespace {
bool isDelim(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}
} // namespace

bool IsBlank(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

QString AddTrailingBackslash(const QString& s)
{
    if (!IsBlank(s) && isDelim(s.back()))
        return s;
    return s + KitPathDelim;
}

QString RemoveTrailingBackslash(const QString& s)
{
    if (IsBlank(s) || !isDelim(s.back()))
        return s;
    return s.left(s.size() - 1);
}

QString ExtractFilePath(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isDelim(path[i]))
            return path.left(i + 1);
    return QString();
}

QString ExtractFileName(const QString& path)
{
    return path.mid(ExtractFilePath(path).size());
}

QString WindowsDirectory()
{
    // The per-user settings folder stands where the system folder held the
    // settings files of old.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString SystemDirectory()
{
    return QLibraryInfo::path(QLibraryInfo::LibrariesPath);
}

QString ProgramDirectory()
{
    if (!QCoreApplication::instance())
        return QString();
    return ExtractFilePath(QCoreApplication::applicationFilePath());
}

QString PathByPrefix(TKitPathPrefix prefix, bool withBackslash)
{
    QString dir;
    switch (prefix) {
    case ppWindows: dir = WindowsDirectory(); break;
    case ppSystem: dir = SystemDirectory(); break;
    case ppProgram: dir = ProgramDirectory(); break;
    case ppFixed: return QString();
    }
    return withBackslash ? AddTrailingBackslash(dir) : RemoveTrailingBackslash(dir);
}

// ---- LZRW1/KH ----

namespace {
constexpr int kHashSize = 4096;
constexpr int kMaxRun = 4095;
constexpr int kMinRun = 16;
constexpr int kMaxMatch = 18;
constexpr int kMinMatch = 3;
constexpr int kMaxDistance = 4095;

inline std::uint32_t hashAt(const std::uint8_t* p)
{
    return ((40543u * ((((std::uint32_t(p[0]) << 4) ^ p[1]) << 4) ^ p[2])) >> 4) & 0x0FFFu;
}

inline void putWord(std::uint8_t* out, std::uint32_t at, std::uint16_t w)
{
    out[at] = std::uint8_t(w >> 8);
    out[at + 1] = std::uint8_t(w & 0xFF);
}
} // namespace

std::uint32_t LZRWCompress(const std::uint8_t* src, std::uint16_t n, std::uint8_t* out)
{
    // Positions are kept as 16 bits on purpose: a position of 32768 or more
    // reads back negative and can never be a match, as the format's writer does.
    std::unique_ptr<std::int16_t[]> table(new (std::nothrow) std::int16_t[kHashSize]);
    if (!table)
        throw EInvalidPointer(QStringLiteral("LZRW Error!"));
    std::fill_n(table.get(), kHashSize, std::int16_t(-1));

    out[0] = kLZRWFlagCompressed;
    std::uint32_t x = 0, y = 3, z = 1, k = 0;
    std::uint16_t w = 0;
    while (x < n && y <= n) {
        if (k > 15) {
            putWord(out, z, w);
            z = y;
            k = 0;
            y += 2;
        }
        std::uint32_t len = 1;
        while (len < std::uint32_t(kMaxRun) && x + len < n && src[x + len] == src[x])
            ++len;
        if (len >= std::uint32_t(kMinRun)) {
            out[y] = 0;
            out[y + 1] = std::uint8_t((len - kMinRun) >> 8);
            out[y + 2] = std::uint8_t((len - kMinRun) & 0xFF);
            out[y + 3] = src[x];
            y += 4;
            x += len;
            w = std::uint16_t((w << 1) | 1);
        } else {
            std::uint32_t m = 0;
            // Fewer than three bytes left can never match; their hash would
            // read past the source, so it is not taken at all.
            if (x + 2 < n) {
                const std::uint32_t h = hashAt(src + x);
                const int c = table[h];
                if (c != -1 && int(x) - c <= kMaxDistance) {
                    while (m < std::uint32_t(kMaxMatch) && x + m < n && src[x + m] == src[c + m])
                        ++m;
                }
                table[h] = std::int16_t(std::uint16_t(x));
                if (m >= std::uint32_t(kMinMatch)) {
                    putWord(out, y, std::uint16_t(((x - c) << 4) + (m - kMinMatch)));
                    y += 2;
                    x += m;
                    w = std::uint16_t((w << 1) | 1);
                }
            }
            if (m < std::uint32_t(kMinMatch)) {
                out[y] = src[x];
                ++y;
                ++x;
                w = std::uint16_t(w << 1);
            }
        }
        ++k;
    }
    w = (k == 0) ? std::uint16_t(0) : std::uint16_t(w << (16 - k));
    putWord(out, z, w);
    if (y > n) {
        if (n > 0)
            std::memcpy(out + 1, src, n);
        out[0] = kLZRWFlagCopied;
        return std::uint32_t(n) + 1;
    }
    return y;
}

std::uint32_t LZRWDecompress(const std::uint8_t* b, std::uint32_t m, std::uint8_t* out,
                             std::size_t outCapacity)
{
    if (m == 0)
        return 0;
    if (b[0] == kLZRWFlagCopied) {
        const std::size_t count = m - 1;
        if (count > outCapacity)
            throw ELZRWError(QStringLiteral("LZRW block of %1 bytes does not fit the output area of %2 bytes")
                                 .arg(count).arg(outCapacity));
        if (count > 0)
            std::memcpy(out, b + 1, count);
        return std::uint32_t(count);
    }
    if (m < 3)
        throw ELZRWError(QStringLiteral("LZRW block of %1 bytes is too short for its control word").arg(m));

    auto malformed = [](const char* what, std::size_t at) {
        return ELZRWError(QStringLiteral("Malformed LZRW block: %1 at byte %2").arg(QLatin1String(what)).arg(at));
    };
    std::size_t x = 3, y = 0;
    std::uint16_t w = std::uint16_t((b[1] << 8) | b[2]);
    int bits = 16;
    while (x < m) {
        if (bits == 0) {
            if (x + 2 > m)
                throw malformed("control word past the end", x);
            w = std::uint16_t((b[x] << 8) | b[x + 1]);
            x += 2;
            bits = 16;
            if (x >= m)
                break;
        }
        if ((w & 0x8000) == 0) {
            if (y >= outCapacity)
                throw malformed("output past the area", x);
            out[y++] = b[x++];
        } else {
            if (x + 2 > m)
                throw malformed("copy item past the end", x);
            const std::size_t d = (std::size_t(b[x]) << 4) | (b[x + 1] >> 4);
            if (d == 0) {
                if (x + 4 > m)
                    throw malformed("run item past the end", x);
                const std::size_t len = ((std::size_t(b[x + 1]) << 8) | b[x + 2]) + kMinRun;
                if (len > outCapacity - y)
                    throw malformed("run past the output area", x);
                std::memset(out + y, b[x + 3], len);
                y += len;
                x += 4;
            } else {
                const std::size_t len = (b[x + 1] & 0x0F) + kMinMatch;
                if (d > y)
                    throw malformed("copy from before the output start", x);
                if (len > outCapacity - y)
                    throw malformed("copy past the output area", x);
                // Byte by byte: an overlapping copy repeats the pattern.
                for (std::size_t i = 0; i < len; ++i)
                    out[y + i] = out[y + i - d];
                y += len;
                x += 2;
            }
        }
        w = std::uint16_t(w << 1);
        --bits;
    }
    return std::uint32_t(y);
}

std::vector<std::uint8_t> LZRWCompress(const std::vector<std::uint8_t>& src)
{
    if (src.size() > 0xFFFF)
        throw ELZRWError(QStringLiteral("LZRW source of %1 bytes is larger than one block").arg(src.size()));
    std::vector<std::uint8_t> out(src.size() + kLZRWOverrun);
    out.resize(LZRWCompress(src.data(), std::uint16_t(src.size()), out.data()));
    return out;
}

std::vector<std::uint8_t> LZRWDecompress(const std::vector<std::uint8_t>& block, std::size_t outCapacity)
{
    std::vector<std::uint8_t> out(outCapacity);
    out.resize(LZRWDecompress(block.data(), std::uint32_t(block.size()), out.data(), outCapacity));
    return out;
}
