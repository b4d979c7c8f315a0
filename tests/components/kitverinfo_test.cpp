#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "components/kitverinfo.h"

namespace {

// A version reader of the test's own, for the life of the object.
struct FakeResources {
    FakeResources()
    {
        SetKitVersionReader([this](const QString& name) {
            asked << name;
            return resources.value(name);
        });
    }
    ~FakeResources() { SetKitVersionReader(nullptr); }
    QHash<QString, TKitVersionResource> resources;
    QStringList asked;
};

QString writeFile(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("MZ");
    return path;
}

TKitVersionResource resourceWith(std::uint16_t language, std::uint16_t codePage, QHash<QString, QString> strings)
{
    TKitVersionResource r;
    r.Translations.push_back({language, codePage});
    r.StringTables[QStringLiteral("%1%2")
                       .arg(language, 4, 16, QLatin1Char('0'))
                       .arg(codePage, 4, 16, QLatin1Char('0'))
                       .toUpper()] = std::move(strings);
    return r;
}

} // namespace

TEST(KitVersionInfo, ProgramVersionComesFromTheApplication)
{
    QCoreApplication::setApplicationVersion("1.0.0.5");
    TKitVersionInfo info;
    EXPECT_EQ(info.FileVersion(), "1.0.0.5");
    EXPECT_EQ(info.ProductVersion(), "1.0.0.5");
    EXPECT_EQ(info.FileTyp(), ftAPP);
    EXPECT_EQ(info.FileOs(), foNT);
    EXPECT_EQ(info.LegalTrademarks(), "");
    EXPECT_FALSE(info.Directory());
    EXPECT_FALSE(info.LastModified().isEmpty());

    // Naming the program itself reads the same resource.
    TKitVersionInfo named;
    named.SetRetrieveFilename(QCoreApplication::applicationFilePath());
    EXPECT_EQ(named.FileVersion(), "1.0.0.5");

    // No version set: the version line stays empty.
    QCoreApplication::setApplicationVersion("");
    info.ReadVersionInfo();
    EXPECT_EQ(info.FileVersion(), "");
}

TEST(KitVersionInfo, StringTableFixedPartAndSubtypes)
{
    QTemporaryDir dir;
    const QString drv = writeFile(dir, "lab.drv");
    const QString font = writeFile(dir, "lab.fon");
    FakeResources fake;
    TKitVersionResource r = resourceWith(0x0419, 0x04E3,
                                         {{"FileVersion", "1.0.0.5"},
                                          {"ProductName", "Vorlin"},
                                          {"CompanyName", "Lab"},
                                          {"InternalName", "VORLIN"},
                                          {"Comments", "note"}});
    TKitFixedFileInfo fixed;
    fixed.FileFlags = 0x29; // debug, patched, special build
    fixed.FileType = 3;
    fixed.FileSubtype = 12;
    fixed.FileOS = 0x00010001;
    r.Fixed = fixed;
    fake.resources[drv] = r;
    r.Fixed->FileType = 4;
    r.Fixed->FileSubtype = 3;
    r.Fixed->FileOS = 0x00040000;
    fake.resources[font] = r;

    TKitVersionInfo info;
    info.SetRetrieveFilename(drv);
    // As the table has it, not rebuilt from the fixed part's numbers.
    EXPECT_EQ(info.FileVersion(), "1.0.0.5");
    EXPECT_EQ(info.ProductName(), "Vorlin");
    EXPECT_EQ(info.CompanyName(), "Lab");
    EXPECT_EQ(info.InternalFilename(), "VORLIN");
    EXPECT_EQ(info.Comments(), "note");
    EXPECT_EQ(info.LegalTrademarks(), "");
    EXPECT_EQ(info.LegalCopyright(), "");
    EXPECT_TRUE(info.Debug());
    EXPECT_FALSE(info.PreRelease());
    EXPECT_FALSE(info.Patched());
    EXPECT_TRUE(info.PrivateBuild());
    EXPECT_FALSE(info.InfoInferred());
    EXPECT_TRUE(info.SpecialBuild());
    EXPECT_EQ(info.FileTyp(), ftDRV);
    EXPECT_EQ(info.FileSubTyp(), "12");
    EXPECT_EQ(info.FileOs(), foDOS);

    info.SetRetrieveFilename(font);
    EXPECT_EQ(info.FileTyp(), ftFONT);
    EXPECT_EQ(info.FileSubTyp(), "TrueType");
    EXPECT_EQ(info.FileOs(), foNT);

    fake.resources[drv].Fixed->FileSubtype = 4;
    info.SetRetrieveFilename(drv);
    EXPECT_EQ(info.FileSubTyp(), "Display");
    fake.resources[drv].Fixed->FileSubtype = 0;
    info.ReadVersionInfo();
    EXPECT_EQ(info.FileSubTyp(), "UNKNWON");
    fake.resources[drv].Fixed->FileType = 7;
    info.ReadVersionInfo();
    EXPECT_EQ(info.FileTyp(), ftSTATIC_LIB);
    EXPECT_EQ(info.FileSubTyp(), "0");
}

TEST(KitVersionInfo, MissingFileAndFileWithoutResource)
{
    QTemporaryDir dir;
    const QString plain = writeFile(dir, "plain.bin");
    const QString hidden = writeFile(dir, ".hidden");
    FakeResources fake;
    TKitVersionResource r = resourceWith(0x0409, 0x04B0, {{"FileVersion", "2.1"}});
    r.Fixed = TKitFixedFileInfo{1, 0x00040004, 1, 0};
    fake.resources[hidden] = r;

    TKitVersionInfo info;
    info.SetRetrieveFilename(hidden);
    EXPECT_EQ(info.FileVersion(), "2.1");
    EXPECT_TRUE(info.Hidden());
    EXPECT_TRUE(info.Debug());
    EXPECT_FALSE(info.AnyFile());

    // Missing: every value empty, the file-system flags as last read.
    info.SetRetrieveFilename(dir.filePath("gone.exe"));
    EXPECT_EQ(info.FileVersion(), "");
    EXPECT_EQ(info.LastModified(), "");
    EXPECT_EQ(info.FileOs(), foUNKNOWN);
    EXPECT_EQ(info.FileTyp(), ftUNKNOWN);
    EXPECT_FALSE(info.Debug());
    EXPECT_TRUE(info.Hidden());

    // No resource: attributes and times, but no version values.
    info.SetRetrieveFilename(plain);
    EXPECT_FALSE(info.Hidden());
    EXPECT_TRUE(info.AnyFile());
    EXPECT_FALSE(info.Created().isEmpty());
    EXPECT_FALSE(info.LastModified().isEmpty());
    EXPECT_EQ(info.FileVersion(), "");
    EXPECT_EQ(info.ProductName(), "");
    EXPECT_EQ(info.FileTyp(), ftUNKNOWN);

    // A folder reads as one.
    info.SetRetrieveFilename(dir.path());
    EXPECT_TRUE(info.Directory());
    EXPECT_FALSE(info.AnyFile());

    // A translation without its string table gives empty texts.
    TKitVersionResource stray;
    stray.Translations.push_back({0x0407, 0x04E4});
    fake.resources[plain] = stray;
    info.SetRetrieveFilename(plain);
    EXPECT_EQ(info.FileVersion(), "");
}
