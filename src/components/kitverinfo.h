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

    QString RetrieveFilename() const { return FRetrieveFilename; }
    void SetRetrieveFilename(const QString& v);

    QString ProductName() const { return FStrings[0]; }
    QString CompanyName() const { return FStrings[1]; }
    QString ProductVersion() const { return FStrings[2]; }
    QString LegalCopyright() const { return FStrings[3]; }
    QString LegalTrademarks() const { return FStrings[4]; }
    QString Comments() const { return FStrings[5]; }
    QString OriginalFilename() const { return FStrings[6]; }
    QString InternalFilename() const { return FStrings[7]; }
    QString FileDescription() const { return FStrings[8]; }
    QString FileVersion() const { return FStrings[9]; }

    bool Debug() const { return FBuild[0]; }
    bool PreRelease() const { return FBuild[1]; }
    bool Patched() const { return FBuild[2]; }
    bool PrivateBuild() const { return FBuild[3]; }
    bool InfoInferred() const { return FBuild[4]; }
    bool SpecialBuild() const { return FBuild[5]; }
    TKitFileOs FileOs() const { return FFileOs; }
    TKitFileTyp FileTyp() const { return FFileTyp; }
    QString FileSubTyp() const { return FFileSubTyp; }

    bool ReadOnly() const { return FAttr[0]; }
    bool Hidden() const { return FAttr[1]; }
    bool System() const { return FAttr[2]; }
    bool Directory() const { return FAttr[3]; }
    bool Archive() const { return FAttr[4]; }
    bool AnyFile() const { return FAttr[5]; }
    bool Compressed() const { return FAttr[6]; }
    bool VolumeId() const { return FAttr[7]; }
    QString Created() const { return FCreated; }
    QString LastAccess() const { return FLastAccess; }
    QString LastModified() const { return FLastModified; }

    void Loaded() override;
    void ReadVersionInfo();

private:
    QString FRetrieveFilename;
    QString FStrings[10];
    bool FBuild[6] = {};
    TKitFileOs FFileOs = foUNKNOWN;
    TKitFileTyp FFileTyp = ftUNKNOWN;
    QString FFileSubTyp;
    bool FAttr[8] = {};
    QString FCreated;
    QString FLastAccess;
    QString FLastModified;
};
