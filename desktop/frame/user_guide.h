// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

#include <filesystem>
#include <functional>

class QWidget;

namespace fitquill {

class CUserDirectory;

inline constexpr char kUsersGuideFileName[] = "Users Guide.pdf";

// Opens a document in the desktop's viewer; true when a viewer was started. Tests replace it.
using DocumentOpener = std::function<bool(const QUrl& document)>;
void SetDocumentOpener(DocumentOpener opener);

// The user guide command: finds "Users Guide.pdf" below the installation (its "Documentation
// Files" folder), else in the program's data folder, and opens it. Tells the user when the
// guide cannot be found or no viewer starts.
void OpenUsersGuide(QWidget* owner, const CUserDirectory& users,
                    const std::filesystem::path& dataFolder);

} // namespace fitquill
