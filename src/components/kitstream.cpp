#include "components/kitstream.h"

#include <QDir>
#include <algorithm>
#include <cstring>
#include <limits>

#include "components/kitutils.h"

namespace {
QString readErrorText()
{
    return QStringLiteral("Stream read error");
}

// Puts a stream back where a failed read started, so that a caller that
// catches the error sees the stream as it was.
class PositionGuard {
public:
    explicit PositionGuard(TStream& s) : FStream(s), FStart(s.Position()) {}
    ~PositionGuard()
    {
        if (!FCommitted) {
            try {
                FStream.SetPosition(FStart);
            } catch (...) {
            }
        }
    }
    void Commit() { FCommitted = true; }

private:
    TStream& FStream;
    std::int64_t FStart;
    bool FCommitted = false;
};
} // namespace

// ---- TStream ----

TStream::~TStream() = default;

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count < 0 || (count > 0 && Read(buffer, count) != count))
        throw EReadError(readErrorText());
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count < 0 || (count > 0 && Write(buffer, count) != count))
        throw EWriteError(QStringLiteral("Stream write error"));
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::int64_t total = count;
    std::vector<std::uint8_t> buf(std::size_t(std::min<std::int64_t>(count, 61440)));
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(count, std::int64_t(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        count -= n;
    }
    return total;
}

// ---- TMemoryStream ----

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    const std::int64_t size = std::int64_t(FData.size());
    if (count <= 0 || FPos >= size)
        return 0;
    const std::int64_t n = std::min(count, size - FPos);
    std::memcpy(buffer, FData.data() + FPos, std::size_t(n));
    FPos += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const std::int64_t end = FPos + count;
    if (end > std::int64_t(FData.size()))
        FData.resize(std::size_t(end));
    std::memcpy(FData.data() + FPos, buffer, std::size_t(count));
    FPos = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning: base = 0; break;
    case TSeekOrigin::soCurrent: base = FPos; break;
    case TSeekOrigin::soEnd: base = std::int64_t(FData.size()); break;
    }
    const std::int64_t pos = base + offset;
    if (pos < 0)
        throw EStreamError(QStringLiteral("Stream seek before the start"));
    FPos = pos;
    return FPos;
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    if (newSize < 0)
        throw EStreamError(QStringLiteral("Invalid stream size"));
    FData.resize(std::size_t(newSize));
    FPos = std::min(FPos, newSize);
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPos = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t count = source.Size();
    std::vector<std::uint8_t> data(std::size_t(std::max<std::int64_t>(count, 0)));
    source.ReadBuffer(data.data(), count);
    FData = std::move(data);
    FPos = 0;
}

void TMemoryStream::SaveToStream(TStream& dest)
{
    dest.WriteBuffer(FData.data(), std::int64_t(FData.size()));
}

void TMemoryStream::LoadFromFile(const QString& fileName)
{
    TFileStream f(fileName, TFileMode::fmOpenRead);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const QString& fileName)
{
    TFileStream f(fileName, TFileMode::fmCreate);
    SaveToStream(f);
}

// ---- TFileStream ----

TFileStream::TFileStream(const QString& fileName, TFileMode mode) : FFile(fileName)
{
    switch (mode) {
    case TFileMode::fmOpenRead:
        if (!FFile.open(QIODevice::ReadOnly))
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(fileName), FFile.errorString()));
        break;
    case TFileMode::fmOpenReadWrite:
        if (!FFile.open(QIODevice::ReadWrite))
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(fileName), FFile.errorString()));
        break;
    case TFileMode::fmCreate:
        if (!FFile.open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                                    .arg(QDir::toNativeSeparators(fileName), FFile.errorString()));
        break;
    }
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return std::max<std::int64_t>(FFile.read(static_cast<char*>(buffer), count), 0);
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return std::max<std::int64_t>(FFile.write(static_cast<const char*>(buffer), count), 0);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning: base = 0; break;
    case TSeekOrigin::soCurrent: base = FFile.pos(); break;
    case TSeekOrigin::soEnd: base = FFile.size(); break;
    }
    if (base + offset < 0 || !FFile.seek(base + offset))
        throw EStreamError(QStringLiteral("Stream seek error"));
    return FFile.pos();
}

void TFileStream::SetSize(std::int64_t newSize)
{
    if (!FFile.resize(newSize))
        throw EStreamError(QStringLiteral("Cannot set the file size"));
}

// ---- Block streams ----

void WriteBlockStream(TStream& source, TStream& dest, std::int64_t count)
{
    // Refused up front rather than looping on a source that has run dry.
    if (count < 0 || count > source.Remaining())
        throw EReadError(readErrorText());
    std::vector<std::uint8_t> chunk(kBlockChunkSize);
    std::vector<std::uint8_t> block(kBlockChunkSize + kLZRWOverrun);
    const std::int64_t p = dest.Position();
    std::int32_t total = 0;
    StreamWriteInteger(dest, 0);
    while (count > 0) {
        const int n = int(std::min<std::int64_t>(count, kBlockChunkSize));
        source.ReadBuffer(chunk.data(), n);
        const std::uint32_t len = LZRWCompress(chunk.data(), std::uint16_t(n), block.data());
        StreamWriteInteger(dest, std::int32_t(len));
        dest.WriteBuffer(block.data(), len);
        total += std::int32_t(len) + 4;
        count -= n;
    }
    const std::int64_t end = dest.Position();
    dest.SetPosition(p);
    StreamWriteInteger(dest, total);
    dest.SetPosition(end);
}

void ReadBlockStream(TStream& source, TStream& dest)
{
    PositionGuard guard(source);
    std::int32_t total = StreamReadInteger(source);
    if (total < 0)
        throw EKitFormatError(QStringLiteral("Block stream with a negative length (%1)").arg(total));
    if (total > source.Remaining())
        throw EKitFormatError(QStringLiteral("Block stream of %1 bytes is longer than the %2 bytes left")
                                  .arg(total).arg(source.Remaining()));
    std::vector<std::uint8_t> block(kBlockMaxLength);
    std::vector<std::uint8_t> payload;
    while (total > 0) {
        if (total < 4)
            throw EKitFormatError(QStringLiteral("Block stream ends inside a block length"));
        const std::int32_t len = StreamReadInteger(source);
        if (len < 1 || len > kBlockMaxLength || len > total - 4)
            throw EKitFormatError(QStringLiteral("Block length %1 out of range").arg(len));
        source.ReadBuffer(block.data(), len);
        const std::size_t at = payload.size();
        payload.resize(at + kBlockChunkSize);
        try {
            payload.resize(at + LZRWDecompress(block.data(), std::uint32_t(len), payload.data() + at,
                                               kBlockChunkSize));
        } catch (const ELZRWError& e) {
            throw EKitFormatError(e.Message);
        }
        total -= len + 4;
    }
    dest.WriteBuffer(payload.data(), std::int64_t(payload.size()));
    guard.Commit();
}

// ---- Fields ----

void StreamWriteInteger(TStream& s, std::int32_t value)
{
    const std::uint32_t v = std::uint32_t(value);
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    s.WriteBuffer(b, 4);
}

std::int32_t StreamReadInteger(TStream& s)
{
    std::uint8_t b[4];
    s.ReadBuffer(b, 4);
    return std::int32_t(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                        (std::uint32_t(b[3]) << 24));
}

void StreamWriteByte(TStream& s, std::uint8_t value)
{
    s.WriteBuffer(&value, 1);
}

std::uint8_t StreamReadByte(TStream& s)
{
    std::uint8_t b;
    s.ReadBuffer(&b, 1);
    return b;
}

void StreamWriteShortString(TStream& s, const QByteArray& value)
{
    if (value.size() > 255)
        throw EWriteError(QStringLiteral("A short string holds at most 255 bytes, not %1").arg(value.size()));
    StreamWriteByte(s, std::uint8_t(value.size()));
    s.WriteBuffer(value.constData(), value.size());
}

void StreamWriteShortString(TStream& s, const QString& value)
{
    StreamWriteShortString(s, value.toUtf8());
}

QByteArray StreamReadShortString(TStream& s)
{
    PositionGuard guard(s);
    const int n = StreamReadByte(s);
    QByteArray text(n, '\0');
    s.ReadBuffer(text.data(), n);
    guard.Commit();
    return text;
}

std::int32_t StreamReadLength(TStream& s)
{
    const std::int32_t n = StreamReadInteger(s);
    if (n < 0 || n > s.Remaining())
        throw EKitFormatError(QStringLiteral("Stored length %1 does not fit the %2 bytes left")
                                  .arg(n).arg(s.Remaining()));
    return n;
}

// ---- Payloads ----

QByteArray StringListText(const QStringList& list)
{
    QByteArray text;
    for (const QString& line : list) {
        text += line.toUtf8();
        text += "\r\n";
    }
    return text;
}

QStringList StringListFromText(const QByteArray& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && text[i] != '\r' && text[i] != '\n')
            ++i;
        lines << QString::fromUtf8(text.constData() + start, i - start);
        if (i < n && text[i] == '\r')
            ++i;
        if (i < n && text[i] == '\n')
            ++i;
        start = i;
    }
    return lines;
}

void SavePayloadToStream(TStream& s, TMemoryStream& payload, bool compressed)
{
    if (compressed) {
        payload.SetPosition(0);
        WriteBlockStream(payload, s, payload.Size());
    } else {
        if (payload.Size() > std::numeric_limits<std::int32_t>::max())
            throw EWriteError(QStringLiteral("Payload too large for a 32-bit length"));
        StreamWriteInteger(s, std::int32_t(payload.Size()));
        payload.SaveToStream(s);
    }
}

std::unique_ptr<TMemoryStream> LoadPayloadFromStream(TStream& s, bool compressed)
{
    auto tmp = std::make_unique<TMemoryStream>();
    if (compressed) {
        ReadBlockStream(s, *tmp);
    } else {
        PositionGuard guard(s);
        const std::int32_t n = StreamReadLength(s);
        tmp->SetSize(n);
        s.ReadBuffer(tmp->Memory(), n);
        guard.Commit();
    }
    tmp->SetPosition(0);
    return tmp;
}

void SaveStringListToStream(TStream& s, const QStringList& list, bool compressed)
{
    TMemoryStream tmp;
    const QByteArray text = StringListText(list);
    tmp.WriteBuffer(text.constData(), text.size());
    SavePayloadToStream(s, tmp, compressed);
}

void LoadStringListFromStream(TStream& s, QStringList& list, bool compressed)
{
    auto tmp = LoadPayloadFromStream(s, compressed);
    list = StringListFromText(QByteArray(reinterpret_cast<const char*>(tmp->Memory()), qsizetype(tmp->Size())));
}
