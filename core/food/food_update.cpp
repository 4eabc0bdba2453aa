// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_update.h"

#include <cctype>

namespace fitquill {

std::string_view SFoodUpdate::SettingKey(EFoodUpdateChoice choice) {
    return choice == EFoodUpdateChoice::Reload ? "FoodDB" : "FoodDBExtensions";
}

EFoodImportMode SFoodUpdate::ImportMode(EFoodUpdateChoice choice) {
    return choice == EFoodUpdateChoice::Reload ? EFoodImportMode::ReplaceDatabase
                                               : EFoodImportMode::ImportedWins;
}

std::string_view SFoodUpdate::DefaultFileName(EFoodUpdateChoice choice) {
    return choice == EFoodUpdateChoice::Reload ? "FoodDB.csv" : "Extensions.csv";
}

std::string SFoodUpdate::Scheme(std::string_view url) {
    const size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string scheme;
    for (char c : url.substr(0, colon)) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != '+' && c != '-' && c != '.')
            return {};
        scheme += static_cast<char>(std::tolower(u));
    }
    return scheme;
}

bool SFoodUpdate::IsAllowedUrl(std::string_view url) {
    const std::string scheme = Scheme(url);
    return scheme == "http" || scheme == "https" || scheme == "file";
}

std::string SFoodUpdate::RedirectRefusal(std::string_view from, std::string_view to,
                                         int redirectsSoFar, const SLimits& limits) {
    if (redirectsSoFar >= limits.maxRedirects)
        return "The server redirected the download too many times.";
    const std::string target = Scheme(to);
    if (target != "http" && target != "https")
        return "The server redirected the download to an address that cannot be used.";
    if (Scheme(from) == "https" && target == "http")
        return "The server redirected the secure download to an address that is not secure.";
    return {};
}

std::string SFoodUpdate::IncompleteBodyText(const SBodyEnd& end) {
    if (end.announcedLength && *end.announcedLength != end.received)
        return "The download was interrupted after " + std::to_string(end.received) + " of " +
               std::to_string(*end.announcedLength) + " bytes.";
    if (!end.announcedLength && !end.chunked && !end.localFile)
        return "The download cannot be checked as complete: the server did not say how long "
               "it is.  The food database was not changed.";
    if (end.received > 0 && !end.endsWithLineEnd)
        return "The download is incomplete: it stops in the middle of a line.  The food "
               "database was not changed.";
    return {};
}

std::string SFoodUpdate::ConnectionLine(bool online) {
    return std::string("Internet Connection: ") + (online ? "Active" : "Inactive");
}

std::string SFoodUpdate::BadLineText(long lineNumber) {
    return "The downloaded food data could not be imported: line " + std::to_string(lineNumber) +
           " is not valid.  The food database was not changed.";
}

std::string SFoodUpdate::TransferErrorText(std::string_view error) {
    return std::string(error.substr(0, 255));
}

} // namespace fitquill
