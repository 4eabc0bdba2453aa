// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/user_guide.h"

#include "core/users/user_directory.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"

#include <QDesktopServices>

namespace fitquill {
namespace {

// The size of the buffer the path must fit, its terminating zero included.
constexpr uint16_t kGuidePathBuffer = 500;

DocumentOpener& TheOpener() {
    static DocumentOpener opener;
    return opener;
}

bool Open(const QUrl& document) {
    if (const auto& opener = TheOpener())
        return opener(document);
    return QDesktopServices::openUrl(document);
}

} // namespace

void SetDocumentOpener(DocumentOpener opener) {
    TheOpener() = std::move(opener);
}

void OpenUsersGuide(QWidget* owner, const CUserDirectory& users,
                    const std::filesystem::path& dataFolder) {
    std::string path;
    std::error_code error;
    bool found = users.GetUsersGuidePath(path, kGuidePathBuffer) &&
                 std::filesystem::is_regular_file(path, error);
    if (!found) {
        // The copy shipped with the program serves when the installation has none.
        std::filesystem::path shipped = dataFolder / kUsersGuideFileName;
        if (!dataFolder.empty() && std::filesystem::is_regular_file(shipped, error) &&
            shipped.string().size() + 1 <= kGuidePathBuffer) {
            path = shipped.string();
            found = true;
        }
    }
    // A guide that is not there is an invalid path: handing it to a viewer would report
    // success while nothing opens.
    if (!found) {
        ShowPrompt(owner, QStringLiteral("Users Guide"),
                   QStringLiteral("Could not load the manual (Users Guide.pdf) due to a invalid "
                                  "path."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        return;
    }
    if (!Open(QUrl::fromLocalFile(FromPath(path)))) {
        ShowPrompt(owner, QStringLiteral("Adobe Acrobat"),
                   QStringLiteral("You must install the free version of Adobe Acrobat Reader."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
    }
}

} // namespace fitquill
