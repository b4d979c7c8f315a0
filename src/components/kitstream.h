#pragma once
// Byte streams (memory and file) and the library's storage forms on them:
// chunked LZRW block streams, length-prefixed data and the small fields the
// list formats are made of.

#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "platform/types.h"

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// Stored data that contradicts itself: a length, count or offset that does
// not fit the bytes that are there.
class EKitFormatError : public EReadError {
public:
    using EReadError::EReadError;
};

// Runs a reader's work and gives back its result. Running out of memory on
// the way is the reader's EReadError, like data it cannot take, not a fault
// that ends the program.
template <class F>
decltype(auto) ReadWithinMemory(F&& read)
{
    try {
        return read();
    } catch (const std::bad_alloc&) {
        throw EReadError(QStringLiteral("Not enough memory to read the stored data"));
    }
}

// The most memory one load of stored data may take: a list whole, with its
// items, their descriptions, payloads and pictures, or one picture. The bytes
// present bound a count but not what it stands for: a one-byte item is some
// hundred bytes in memory, a run-length picture of a few bytes can declare
// gigabytes of pixels. Where memory is overcommitted such a load meets the
// out-of-memory killer long before an allocation fails, so it has to be
// refused up front. What is charged is what the load holds at its peak,
// temporaries included and never given back before the load ends: 1 677 721
// empty items of a string, wave or bitmap list load, 599 186 of an image
// list; seven plain waves of a block stream's largest payload, three
// compressed ones (each held once more while its blocks are decoded).
constexpr std::int64_t kReadMemoryBudget = std::int64_t(512) << 20;

namespace readmemory {
// One load of stored data on this thread, for as long as it lives. The first
// opened on a thread is the load; the readers it calls (a list's items, their
// payloads and pictures) open theirs within it and are part of it, so that
// the load keeps to kReadMemoryBudget as a whole.
class Load {
public:
    Load();
    ~Load();
    Load(const Load&) = delete;
    Load& operator=(const Load&) = delete;

private:
    bool m_opened;
};

// Charges the load open on this thread with `count` things of `each` bytes
// (both at least 0), before they are made; outside any load the charge is a
// load of its own. EReadError, nothing charged, when the load would pass the
// budget.
void Charge(std::int64_t count, std::int64_t each = 1);
// The same without the error: false, nothing charged, when it would pass.
bool TryCharge(std::int64_t count, std::int64_t each = 1);
} // namespace readmemory

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream();
    // Reads up to `count` bytes; returns how many came.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(std::int64_t newSize) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    std::int64_t Size();
    std::int64_t Remaining() { return Size() - Position(); }

    // Exact forms: all bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies `count` bytes from `source`'s position (0: all of it from the start).
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// Puts a stream back where a read started unless the read is committed, so
// that a caller that catches a read error sees the stream as it was.
class PositionGuard {
public:
    explicit PositionGuard(TStream& s) : m_stream(s), m_start(s.Position()) {}
    ~PositionGuard();
    PositionGuard(const PositionGuard&) = delete;
    PositionGuard& operator=(const PositionGuard&) = delete;
    void Commit() { m_committed = true; }

private:
    TStream& m_stream;
    std::int64_t m_start;
    bool m_committed = false;
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

    void Clear();
    std::uint8_t* Memory() { return m_data.data(); }
    const std::uint8_t* Memory() const { return m_data.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_data; }
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest);
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);

private:
    std::vector<std::uint8_t> m_data;
    std::int64_t m_pos = 0;
};

enum class TFileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
public:
    TFileStream(const QString& fileName, TFileMode mode);
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

private:
    QFile m_file;
};

// ---- Block streams ----
constexpr int kBlockChunkSize = 32781;            // source bytes per block
constexpr int kBlockMaxLength = kBlockChunkSize + 1; // a stored chunk
// The largest payload a block stream holds. A few bytes of runs stand for a
// whole chunk, so without a bound some kilobytes of blocks would claim
// gigabytes; the reader refuses more with EKitFormatError, the writer with
// EWriteError.
constexpr std::int64_t kBlockStreamMaxPayload = std::int64_t(64) << 20;

// Writes `count` bytes of `source` (from its position) as a block stream.
void WriteBlockStream(TStream& source, TStream& dest, std::int64_t count);
// Reads one block stream from `source` and appends the payload at `dest`'s
// position. Every length is checked against the stream before it is used;
// on malformed data EKitFormatError (or EReadError for data that ends early
// or memory that runs out) is raised, `dest` is untouched and `source` is
// back where it was.
void ReadBlockStream(TStream& source, TStream& dest);

// ---- Fields ----
void StreamWriteInteger(TStream& s, std::int32_t value);
std::int32_t StreamReadInteger(TStream& s);
void StreamWriteByte(TStream& s, std::uint8_t value);
std::uint8_t StreamReadByte(TStream& s);
// One length byte and the characters, one byte each. A string of more than
// 255 bytes cannot be stored and is refused with EWriteError, nothing written.
void StreamWriteShortString(TStream& s, const QByteArray& value);
// The text in the stored code page (see StoredTextBytes).
void StreamWriteShortString(TStream& s, const QString& value);
QByteArray StreamReadShortString(TStream& s);
// The bytes of `value` as a short string holds them; EWriteError when it
// cannot be stored (a character the code page lacks, over 255 characters).
QByteArray ShortStringBytes(const QString& value);

// ---- Stored text ----
// Text in the stored formats is one byte per character in the Windows-1251
// code page, the Russian Windows code page the library's files are written
// in. A character the code page lacks is refused with EWriteError.
QByteArray StoredTextBytes(const QString& text);
// Every byte stands for a character, so reading never fails.
QString StoredTextString(const QByteArray& bytes);

// Reads a 32-bit length N and checks it against the bytes left in `s`.
std::int32_t StreamReadLength(TStream& s);

// ---- Payloads ----
// The text of a string list as it is stored: each line in the stored code
// page, ended by CR LF.
QByteArray StringListText(const QStringList& list);
QStringList StringListFromText(const QByteArray& text);

// A line that cannot be stored is refused before anything is written.
void SaveStringListToStream(TStream& s, const QStringList& list, bool compressed);
// The same for a text that StringListText has already made.
void SaveStringListTextToStream(TStream& s, const QByteArray& text, bool compressed);
void LoadStringListFromStream(TStream& s, QStringList& list, bool compressed);

// Writes the bytes of `payload` in the compressed or the length-prefixed form.
void SavePayloadToStream(TStream& s, TMemoryStream& payload, bool compressed);
// Reads one payload of either form into a fresh memory stream at position 0.
std::unique_ptr<TMemoryStream> LoadPayloadFromStream(TStream& s, bool compressed);
