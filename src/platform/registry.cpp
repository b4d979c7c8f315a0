#include "platform/registry.h"

#include "platform/types.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>

QString TRegistry::FilePath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + "/A51370/registry.ini";
}

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

bool TRegistry::OpenKey(const QString& key, bool create)
{
    QString path = FilePath();
    QDir().mkpath(QFileInfo(path).path());
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
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
        throw Exception(QString("Invalid data type for '%1'").arg(name));
    bool ok = false;
    double v = m_settings->value(m_group + "/" + name).toString().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw Exception(QString("Invalid data type for '%1'").arg(name));
    return v;
}

void TRegistry::WriteFloat(const QString& name, double v)
{
    if (!m_settings)
        throw Exception("Registry key is not open");
    m_settings->setValue(m_group + "/" + name, QString::number(v, 'g', 17));
    m_settings->sync();
}

QString TRegistry::ReadString(const QString& name) const
{
    if (!ValueExists(name))
        return QString();
    return m_settings->value(m_group + "/" + name).toString();
}

void TRegistry::WriteString(const QString& name, const QString& v)
{
    if (!m_settings)
        throw Exception("Registry key is not open");
    m_settings->setValue(m_group + "/" + name, v);
    m_settings->sync();
}
