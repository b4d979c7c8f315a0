#include "platform/registry.h"

#include "platform/types.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>

QString TRegistry::FilePath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + "/A51370/registry.ini";
}

TRegistry::TRegistry(const QString& filePath) : m_path(filePath) {}
TRegistry::~TRegistry() = default;

bool TRegistry::OpenKey(const QString& key, bool create)
{
    QDir().mkpath(QFileInfo(m_path).path());
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    m_group = QString(key).replace('\\', '/');
    while (m_group.startsWith('/'))
        m_group.remove(0, 1);
    if (!create) {
        m_settings->beginGroup(m_group);
        bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
        m_settings->endGroup();
        if (!exists) {
            m_settings.reset();
            return false;
        }
    }
    return m_settings->status() == QSettings::NoError;
}

void TRegistry::CloseKey()
{
    if (m_settings)
        m_settings->sync();
    m_settings.reset();
}

bool TRegistry::ValueExists(const QString& name) const
{
    return m_settings && m_settings->contains(m_group + "/" + name);
}

double TRegistry::ReadFloat(const QString& name) const
{
    if (!ValueExists(name))
        throw ERegistryException(QStringLiteral("Недопустимый тип данных значения \"%1\"").arg(name));
    bool ok = false;
    double v = m_settings->value(m_group + "/" + name).toString().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw ERegistryException(QStringLiteral("Недопустимый тип данных значения \"%1\"").arg(name));
    return v;
}

void TRegistry::WriteFloat(const QString& name, double v)
{
    // The shortest text that reads back as the same number: 0.7, not
    // 0.69999999999999996.
    Write(name, QString::number(v, 'g', QLocale::FloatingPointShortest));
}

QString TRegistry::ReadString(const QString& name) const
{
    if (!ValueExists(name))
        return QString();
    return m_settings->value(m_group + "/" + name).toString();
}

void TRegistry::WriteString(const QString& name, const QString& v)
{
    Write(name, v);
}

void TRegistry::Write(const QString& name, const QVariant& v)
{
    if (!m_settings)
        throw ERegistryException(QStringLiteral("Не удалось записать значение \"%1\": раздел реестра не открыт").arg(name));
    // A settings object keeps its first error for good: after one, a fresh
    // object lets this write be judged on its own.
    if (m_settings->status() != QSettings::NoError)
        m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    m_settings->setValue(m_group + "/" + name, v);
    m_settings->sync();
    // A file that is not quite well formed is still written; only a store
    // that cannot be written loses the value.
    if (m_settings->status() == QSettings::AccessError)
        throw ERegistryException(QStringLiteral("Не удалось записать значение \"%1\"").arg(name));
}
