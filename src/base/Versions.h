// The version registry (InstallRoot/Version.ini): which software version
// handles which firmware or data-file version.
#pragma once

#include <QString>
#include <QStringList>
#include <QList>
#include "base/Texts.h"

namespace kt {

inline const QByteArray kDataVersion = "V200";

struct VersionPair {
    QString SoftPart;   // first 4 characters of a "Firm" entry
    QString FirmPart;   // last 4 characters
};

struct VersionTable {
    QString CurrentVersion;
    QStringList SoftVersions;
    QList<VersionPair> VersionPairs;
};

// Reads InstallRoot/Version.ini; a missing file or bad counts give an empty table.
VersionTable LoadVersionTable(const QString& installRoot);
bool IsCompatible(const VersionTable& t, const QString& soft, const QString& other);
QString SoftwareFor(const VersionTable& t, const QString& other);
// "V200" -> "V2.00"
QString VersionText(const QString& v);
// kind 0 firmware, 1 data file; language 1 English, 2 Chinese.
QString IncompatibleMessage(const QString& soft, const QString& other, int kind, int language);
// Path of the program that handles version v, or empty when the registry names none.
QString LaunchTarget(const VersionTable& t, const QString& installRoot, const QString& v,
                     const QString& ownExecutableName);

namespace vtxt {
inline constexpr Bi FirmwareLabel{"Firmware version is", "固件版本为"};
inline constexpr Bi SoftwareLabel{"programming software is", "写频软件版本为"};
inline constexpr Bi Question{"incompatible version. It may cause unknown error.To start the corresponding software version, or not?",
                             "版本不兼容，有可能引起未知错误，是否启动对应版本软件？"};
inline constexpr Bi LaunchFailure{"Fail to start the software. This version does not exist.", "未能启动，不存在此版本软件！"};
inline constexpr Bi DataFileLabel{"DataFile version is", "数据文件版本为"};
inline constexpr Bi UnknownDataVersion{"Unknown version Of DataFile!", "未能识别的数据版本!"};
// Second line of UnknownDataVersion: %1 the file, %2 the version text found.
inline constexpr Bi VersionFound{"%1: version text found \"%2\"", "%1：读到的版本文字 \"%2\""};
}  // namespace vtxt

}  // namespace kt
