#include "components/kitverinfo.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {
TKitVersionReader& versionReader()
{
    static TKitVersionReader reader;
    return reader;
}

QString hex4(std::uint16_t v)
{
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
}

// The platform's default date-time text: the short date and the long time.
QString dateTimeText(const QDateTime& dt)
{
    const QLocale locale;
    return locale.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(dt.time(), QStringLiteral("H:mm:ss"));
}

TKitFileOs fileOsOf(std::uint32_t os)
{
    // The operating system is the high word of the value (VOS_NT = 4 ...).
    const std::uint32_t high = os >> 16;
    return high <= 4 ? TKitFileOs(high) : foUNKNOWN;
}

TKitFileTyp fileTypOf(std::uint32_t type)
{
    if (type <= 5)
        return TKitFileTyp(type);
    return type == 7 ? ftSTATIC_LIB : ftUNKNOWN;
}

QString subTypeText(TKitFileTyp type, std::uint32_t subtype)
{
    static const char* const drivers[] = {"UNKNWON", "Printer", "Keyboard", "Language", "Display", "Mouse",
                                          "Network", "System", "Installable", "Sound", "Comm"};
    static const char* const fonts[] = {"Raster", "Vector", "TrueType"};
    if (type == ftDRV && subtype <= 10)
        return QString::fromLatin1(drivers[subtype]);
    if (type == ftFONT && subtype >= 1 && subtype <= 3)
        return QString::fromLatin1(fonts[subtype - 1]);
    return QString::number(subtype);
}

bool isProgramFile(const QString& fileName)
{
    const QString own = QCoreApplication::applicationFilePath();
    return !own.isEmpty() && QFileInfo(fileName).canonicalFilePath() == QFileInfo(own).canonicalFilePath();
}
} // namespace

std::optional<QString> TKitVersionResource::QueryString(const QString& subBlock) const
{
    static const QString prefix = QStringLiteral("\\StringFileInfo\\");
    if (!subBlock.startsWith(prefix))
        return std::nullopt;
    const QString rest = subBlock.mid(prefix.size());
    const int bar = rest.indexOf('\\');
    if (bar < 0)
        return std::nullopt;
    const auto table = StringTables.constFind(rest.left(bar).toUpper());
    if (table == StringTables.constEnd())
        return std::nullopt;
    const auto value = table->constFind(rest.mid(bar + 1));
    if (value == table->constEnd())
        return std::nullopt;
    return *value;
}

void SetKitVersionReader(TKitVersionReader reader)
{
    versionReader() = std::move(reader);
}

TKitVersionResource KitProgramVersionResource()
{
    TKitVersionResource r;
    // Russian, Cyrillic code page: the language the programs speak.
    r.Translations.push_back({0x0419, 0x04E3});
    const QString fileName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString version = QCoreApplication::applicationVersion();
    QHash<QString, QString>& table = r.StringTables[QStringLiteral("041904E3")];
    table[QStringLiteral("CompanyName")] = QCoreApplication::organizationName();
    table[QStringLiteral("FileDescription")] = QCoreApplication::applicationName();
    table[QStringLiteral("FileVersion")] = version;
    table[QStringLiteral("InternalName")] = QFileInfo(fileName).completeBaseName();
    table[QStringLiteral("LegalCopyright")] = QString();
    table[QStringLiteral("OriginalFilename")] = fileName;
    table[QStringLiteral("ProductName")] = QCoreApplication::applicationName();
    table[QStringLiteral("ProductVersion")] = version;
    TKitFixedFileInfo fixed;
    fixed.FileOS = 0x00040004; // NT, 32-bit windows
    fixed.FileType = 1;        // application
    r.Fixed = fixed;
    return r;
}

TKitVersionResource KitReadVersionResource(const QString& fileName)
{
    if (isProgramFile(fileName))
        return KitProgramVersionResource();
    if (versionReader())
        return versionReader()(fileName);
    return {};
}

TKitVersionInfo::TKitVersionInfo(QObject* AOwner) : TKitComponent(AOwner)
{
    ReadVersionInfo();
}

void TKitVersionInfo::Loaded()
{
    TKitComponent::Loaded();
    ReadVersionInfo();
}

void TKitVersionInfo::SetRetrieveFilename(const QString& v)
{
    if (v == m_retrieveFilename)
        return;
    m_retrieveFilename = v;
    ReadVersionInfo();
}

void TKitVersionInfo::ReadVersionInfo()
{
    const QString fileName =
        m_retrieveFilename.isEmpty() ? QCoreApplication::applicationFilePath() : m_retrieveFilename;
    for (QString& s : m_strings)
        s.clear();
    m_fileSubTyp.clear();
    m_created.clear();
    m_lastAccess.clear();
    m_lastModified.clear();
    m_fileOs = foUNKNOWN;
    m_fileTyp = ftUNKNOWN;
    for (bool& b : m_build)
        b = false;

    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists())
        return;

    // The attribute word as this file system gives it: read-only when the
    // user may not write, hidden for dot names, system for anything that is
    // neither file nor folder; "normal" when none of these holds.
    m_attr[0] = !info.isWritable();
    m_attr[1] = info.fileName().startsWith('.');
    m_attr[2] = !info.isFile() && !info.isDir();
    m_attr[3] = info.isDir();
    m_attr[4] = false;
    m_attr[6] = false;
    m_attr[7] = false;
    m_attr[5] = !m_attr[0] && !m_attr[1] && !m_attr[2] && !m_attr[3];

    QFile file(fileName);
    if (info.isDir() || file.open(QIODevice::ReadOnly)) {
        const QDateTime modified = info.lastModified();
        const QDateTime born = info.birthTime();
        m_created = dateTimeText(born.isValid() ? born : modified);
        m_lastAccess = dateTimeText(info.lastRead());
        m_lastModified = dateTimeText(modified);
        file.close();
    }

    const TKitVersionResource resource = KitReadVersionResource(fileName);
    if (resource.IsEmpty())
        return;
    if (!resource.Translations.empty()) {
        const auto [language, codePage] = resource.Translations.front();
        const QString prefix = QStringLiteral("\\StringFileInfo\\") + hex4(language) + hex4(codePage) + '\\';
        static const char* const names[10] = {"ProductName", "CompanyName", "ProductVersion", "LegalCopyright",
                                              "LegalTrademarks", "Comments", "OriginalFilename", "InternalName",
                                              "FileDescription", "FileVersion"};
        // A value that is not there reads as empty text.
        for (int i = 0; i < 10; ++i)
            m_strings[i] = resource.QueryString(prefix + QLatin1String(names[i])).value_or(QString());
    }
    if (resource.Fixed) {
        const TKitFixedFileInfo& fixed = *resource.Fixed;
        for (int i = 0; i < 6; ++i)
            m_build[i] = (fixed.FileFlags >> i) & 1u;
        m_fileTyp = fileTypOf(fixed.FileType);
        m_fileSubTyp = subTypeText(m_fileTyp, fixed.FileSubtype);
        m_fileOs = fileOsOf(fixed.FileOS);
    }
}
