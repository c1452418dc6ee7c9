#pragma once
// The current-context values shared by the windows of one run.
#include "core/inifile.h"
#include "core/kind.h"

#include <QString>
#include <QUrl>
#include <optional>

namespace qv::core {

struct DbSettings {
    QString host = QStringLiteral("localhost");
    QString name;
    QString user;
    QString password;
    int port = 3304;
    unsigned connectTimeoutSeconds = 10;
    bool serverSmall = false;
};

struct AppContext {
    // Folder of the running executable, with a trailing slash.
    QString AppDir;
    IniFile ConfigIni;
    bool AdminMode = false;
    DbSettings Db;

    // Nothing until a login has been accepted; 0 is the administrator.
    std::optional<int> CurrentUserId;
    int CurrentProjectId = 0;
    QString ProjectUrl;
    Kind CurrentKind = Kind::None;
    int CurrentMaterialId = 0;
    QString CurrentMaterialName;
    int CurrentContactSectionId = 0;
    int SelectedResourceId = 0;
    QString SelectedResourceName;

    int LastSortColumn = 5;
    bool LinkEditUnsaved = false;
    int FillMenuIndex = 2;
    int LinkClickCounter = 0;
    int SavedBrowserHeight = -1;
    bool ConnectAbandoned = false;
    // Unsaved edits of the software version's per-language texts.
    bool DescriptionsChanged = false;

    // Reads "config.ini" from AppDir (missing keys give the defaults).
    void readConfig();
    QString configPath() const { return AppDir + QStringLiteral("config.ini"); }

    // Addresses of the outside services, from the [Hosts] section; a host
    // without a scheme gets "http://".
    QString hostSetting(const QString &key, const QString &def) const;
    QUrl makerUrl(const QString &path = QString()) const;
    QUrl searchUrl(const QString &engine, const QString &pathAndQuery) const;

    bool isAdministrator() const { return CurrentUserId && *CurrentUserId == 0; }
};

// Folder of the running executable with a trailing slash.
QString executableDir();

} // namespace qv::core
