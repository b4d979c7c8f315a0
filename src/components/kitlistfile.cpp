#include "components/kitlistfile.h"

#include <cstring>

#include "components/kitbmpstream.h"

namespace {
// Each signature as it is stored: a short string of eight characters.
constexpr char kSignatures[KitListFileKinds][10] = {
    "\x08KITIML30", "\x08KITBML30", "\x08KITWVL30", "\x08KITSLL30", "\x08KITRTL30",
};
constexpr const char* kExtensions[KitListFileKinds] = {"iml", "bmp", "wav", "txt", "rtf"};
constexpr int kSignatureSize = 9;
constexpr std::int64_t kHeaderSize = kSignatureSize + 4;

bool isListKind(int kind)
{
    return kind >= 0 && kind < KitListFileKinds;
}

// The kind whose signature the bytes read are. Every signature begins with
// its length byte 8, so a match needs all nine bytes.
int kindOf(const std::uint8_t* head, std::int64_t got)
{
    if (got < kSignatureSize)
        return KitNoListFile;
    for (int kind = 0; kind < KitListFileKinds; ++kind)
        if (std::memcmp(head, kSignatures[kind], kSignatureSize) == 0)
            return kind;
    return KitNoListFile;
}
} // namespace

QByteArray ListFileSignature(int kind)
{
    return isListKind(kind) ? QByteArray(kSignatures[kind] + 1, 8) : QByteArray();
}

QString ItemFileExtension(int kind, bool withDot)
{
    if (!isListKind(kind))
        return QString();
    const QString ext = QString::fromLatin1(kExtensions[kind]);
    return withDot ? QLatin1Char('.') + ext : ext;
}

int ReadListFileHeader(const QString& fileName, std::int32_t& n, std::vector<std::int32_t>* offsets)
{
    n = -1;
    TFileStream file(fileName, TFileMode::fmOpenRead);
    std::uint8_t head[kSignatureSize] = {};
    const std::int64_t got = file.Read(head, kSignatureSize);
    const int kind = kindOf(head, got);
    if (file.Remaining() < 4 || got < kSignatureSize) {
        // No count behind the signature: only a file that is no list file
        // at all may be that short.
        if (isListKind(kind))
            throw EKitFormatError(QStringLiteral("List file %1 ends in its header").arg(fileName));
        return kind;
    }
    const std::int32_t count = StreamReadInteger(file);
    if (isListKind(kind) && offsets) {
        // Every offset names a byte of an item behind the table.
        if (count < 0 || std::int64_t(count) * 4 > file.Remaining())
            throw EKitFormatError(QStringLiteral("List file %1: item count %2 does not fit the file")
                                      .arg(fileName).arg(count));
        const std::int64_t firstItem = kHeaderSize + std::int64_t(count) * 4;
        const std::int64_t size = file.Size();
        readmemory::Charge(count, sizeof(std::int32_t));
        *offsets = ReadWithinMemory([&] {
            std::vector<std::int32_t> table;
            table.reserve(std::size_t(count));
            for (std::int32_t i = 0; i < count; ++i) {
                const std::int32_t offset = StreamReadInteger(file);
                if (offset < firstItem || offset >= size)
                    throw EKitFormatError(QStringLiteral("List file %1: item %2 at %3 lies outside the items")
                                              .arg(fileName).arg(i).arg(offset));
                table.push_back(offset);
            }
            return table;
        });
    }
    n = count;
    return kind;
}

bool LoadListFileItem(const QString& fileName, int wantedKind, const std::vector<std::int32_t>* offsets,
                      TKitListItem& item, int index)
{
    std::vector<std::int32_t> own;
    if (!offsets) {
        std::int32_t n = 0;
        if (ReadListFileHeader(fileName, n, &own) != wantedKind)
            throw Exception(QStringLiteral("%1: %2").arg(QStringLiteral("Cannot open file %s"), fileName));
        offsets = &own;
    }
    if (index < 0 || std::size_t(index) >= offsets->size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    TFileStream file(fileName, TFileMode::fmOpenRead);
    file.SetPosition((*offsets)[std::size_t(index)]);
    item.LoadFromStream(file);
    return true;
}

bool LoadBitmapFromListFile(const QString& fileName, int index, TBitmap& bitmap)
{
    TKitBitmapListItem item;
    const bool result = LoadListFileItem(fileName, 1, nullptr, item, index);
    ShareBitmapPicture(bitmap, item.HeldBitmap());
    return result;
}
