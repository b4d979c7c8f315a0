#pragma once
// Per-user settings kept under registry-style key paths
// ("Software\\A51370\\Vexorin\\Vorlinograph").  They live in an INI file in
// the user's configuration folder, one group per key path.

#include <QString>
#include <QVariant>
#include <memory>

#include "platform/types.h"

class QSettings;

// A value that could not be written (or a key that is not open).
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry {
public:
    // The values live in `filePath`, normally the user's own file.
    explicit TRegistry(const QString& filePath = FilePath());
    ~TRegistry();
    // Opens (and with create, makes) the key below the current user's root.
    bool OpenKey(const QString& key, bool create);
    void CloseKey();
    bool ValueExists(const QString& name) const;
    // A missing, unreadable or non-finite value raises an error.
    double ReadFloat(const QString& name) const;
    // A value the store does not take raises ERegistryException.
    void WriteFloat(const QString& name, double v);
    QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& v);
    // The file the values are kept in.
    static QString FilePath();

private:
    void Write(const QString& name, const QVariant& v);

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
    QString m_group;
};
