// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/shell/program_paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

// Whether the folder exists and is writable, or could be created: its nearest existing
// ancestor is a writable folder.
bool MayWrite(fs::path folder) {
    for (;;) {
        QFileInfo info(QString::fromStdString(folder.string()));
        if (info.exists())
            return info.isDir() && info.isWritable();
        if (!folder.has_parent_path() || folder.parent_path() == folder)
            return false;
        folder = folder.parent_path();
    }
}

} // namespace

CProgramPaths::CProgramPaths(fs::path programFolder) : m_programFolder(std::move(programFolder)) {}

CProgramPaths CProgramPaths::FromApplication() {
    return CProgramPaths(fs::path(QCoreApplication::applicationDirPath().toStdString()));
}

fs::path CProgramPaths::DataFolder() const {
    return (m_programFolder / ".." / "share" / "fitquill").lexically_normal();
}

fs::path CProgramPaths::DefaultInstallPath() const {
    fs::path data = DataFolder();
    if (MayWrite(data))
        return data;
    QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return fs::path(userData.toStdString()) / "fitquill";
}

} // namespace fitquill
