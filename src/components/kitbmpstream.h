#pragma once
// Bitmaps in the library's stored forms: BMP file images, compressed as a
// block stream or plain with a length in front, at full or reduced depth;
// and the writer of BMP images of a chosen colour depth.

#include "components/kitgraph.h"
#include "components/kitstream.h"
#include "platform/graphics.h"

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// The BMP file image of the bitmap as the platform saves it (nothing for an
// empty bitmap).
QByteArray BitmapFileImage(const TBitmap& bitmap);

// The picture of a BMP file image; a null image when the data is malformed,
// its pixels shorter than its header says among them. A picture whose
// declared size would pass the memory budget of the load is refused as too
// large, with EReadError, before it is decoded; one inside it is decoded
// whatever Qt's own limit on pictures.
QImage DecodeBitmapImage(const std::uint8_t* data, std::int64_t size);

// Gives `to` the picture of `from` with the pixels shared, not copied, so
// that a reader's commit cannot run out of memory halfway.
void ShareBitmapPicture(TBitmap& to, const TBitmap& from);

// colorCount -1 keeps the bitmap's depth; 2, 16 or 256 write it reduced.
void SaveBitmapToStream(TStream& s, const TBitmap& bitmap, bool compressed, int colorCount);
// Reads a BMP image of any depth. Malformed data raises and leaves the
// bitmap as it was.
void LoadBitmapFromStream(TStream& s, TBitmap& bitmap, bool compressed);

// ---- BMP image writer ----
struct TKitBitmapInfoHeader {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};
void InitBitmapInfoHeader(const TBitmap* bitmap, TKitBitmapInfoHeader& header, int colorCount);
void BMPSizes(const TBitmap* bitmap, int colorCount, int& headerSize, int& imageSize);
bool ReadBitmapBits(const TBitmap* bitmap, const TKitPaletteHandle& palette, TKitBitmapInfoHeader& header,
                    int colorCount, char* headerAndTable, char* bits);
QByteArray BuildBMPImage(const TBitmap* bitmap, const TKitPaletteHandle& palette, int colorCount);
void WriteBMPImage(TStream& stream, const TBitmap* bitmap, const TKitPaletteHandle& palette, int colorCount,
                   bool withLengthPrefix);
void SaveBitmapReduced(TMemoryStream& stream, const TBitmap* bitmap, int colorCount);
