#pragma once
// The attributes, time stamps and version-resource values of one file (by
// default the running program) as read-only properties.

#include <QHash>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "components/kitclass.h"

enum TKitFileOs : std::uint8_t { foUNKNOWN, foDOS, foOS216, foOS232, foNT };
enum TKitFileTyp : std::uint8_t { ftUNKNOWN, ftAPP, ftDLL, ftDRV, ftFONT, ftVXD, ftSTATIC_LIB };

// The fixed part of a version resource.
struct TKitFixedFileInfo {
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
};

// A version resource: translations (language, code page), string tables
// keyed by their eight-digit "LLLLCCCC" name, and the optional fixed part.
// It answers the sub-block queries of the platform's version API.
struct TKitVersionResource {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> Translations;
    QHash<QString, QHash<QString, QString>> StringTables;
    std::optional<TKitFixedFileInfo> Fixed;

    bool IsEmpty() const { return Translations.empty() && StringTables.isEmpty() && !Fixed; }
    // "\\StringFileInfo\\LLLLCCCC\\Name": the value, if there is one.
    std::optional<QString> QueryString(const QString& subBlock) const;
};

// The version resource of a file. Programs here carry theirs in the
// application object (name, organisation and version that the program block
// sets); for any other file the reader given to SetKitVersionReader is asked,
// and without one a file has no version resource.
using TKitVersionReader = std::function<TKitVersionResource(const QString& fileName)>;
void SetKitVersionReader(TKitVersionReader reader);
TKitVersionResource KitReadVersionResource(const QString& fileName);
// The running program's resource.
TKitVersionResource KitProgramVersionResource();

class TKitVersionInfo : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitVersionInfo(QObject* AOwner = nullptr);

    QString RetrieveFilename() const { return m_retrieveFilename; }
    void SetRetrieveFilename(const QString& v);

    QString ProductName() const { return m_strings[0]; }
    QString CompanyName() const { return m_strings[1]; }
    QString ProductVersion() const { return m_strings[2]; }
    QString LegalCopyright() const { return m_strings[3]; }
    QString LegalTrademarks() const { return m_strings[4]; }
    QString Comments() const { return m_strings[5]; }
    QString OriginalFilename() const { return m_strings[6]; }
    QString InternalFilename() const { return m_strings[7]; }
    QString FileDescription() const { return m_strings[8]; }
    QString FileVersion() const { return m_strings[9]; }

    bool Debug() const { return m_build[0]; }
    bool PreRelease() const { return m_build[1]; }
    bool Patched() const { return m_build[2]; }
    bool PrivateBuild() const { return m_build[3]; }
    bool InfoInferred() const { return m_build[4]; }
    bool SpecialBuild() const { return m_build[5]; }
    TKitFileOs FileOs() const { return m_fileOs; }
    TKitFileTyp FileTyp() const { return m_fileTyp; }
    QString FileSubTyp() const { return m_fileSubTyp; }

    bool ReadOnly() const { return m_attr[0]; }
    bool Hidden() const { return m_attr[1]; }
    bool System() const { return m_attr[2]; }
    bool Directory() const { return m_attr[3]; }
    bool Archive() const { return m_attr[4]; }
    bool AnyFile() const { return m_attr[5]; }
    bool Compressed() const { return m_attr[6]; }
    bool VolumeId() const { return m_attr[7]; }
    QString Created() const { return m_created; }
    QString LastAccess() const { return m_lastAccess; }
    QString LastModified() const { return m_lastModified; }

    void Loaded() override;
    void ReadVersionInfo();

private:
    QString m_retrieveFilename;
    QString m_strings[10];
    bool m_build[6] = {};
    TKitFileOs m_fileOs = foUNKNOWN;
    TKitFileTyp m_fileTyp = ftUNKNOWN;
    QString m_fileSubTyp;
    bool m_attr[8] = {};
    QString m_created;
    QString m_lastAccess;
    QString m_lastModified;
};
