// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_csv.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// The two downloads that the automatic update offers.
enum class EFoodUpdateChoice : int {
    Extensions = 0, // new categories; the user's own items stay
    Reload = 1,     // the whole database; everything is replaced
};

// The rules of the automatic food-data update that do not depend on the network library:
// which addresses it accepts, where a redirect may lead, how large a download may grow, and
// the texts it shows.
struct SFoodUpdate {
    // The setting ("InstallPath" section) that holds a choice's address, and its import mode.
    static std::string_view SettingKey(EFoodUpdateChoice choice);
    static EFoodImportMode ImportMode(EFoodUpdateChoice choice);
    // The shipped file that a choice downloads when the setting is missing.
    static std::string_view DefaultFileName(EFoodUpdateChoice choice);

    // Bounds of one download. The real files are about 1 MB; a body past maxBytes is an error
    // page or a wrong address, never food data.
    struct SLimits {
        uint64_t maxBytes = 32ull * 1024 * 1024;
        int stallMilliseconds = 30'000; // no byte for this long ends the transfer
        int maxRedirects = 5;
    };

    // The scheme of an address in lower case ("http", "https", "file"), or empty when it has
    // none.
    static std::string Scheme(std::string_view url);
    // Whether the update may download from this address at all.
    static bool IsAllowedUrl(std::string_view url);
    // Why a redirect from `from` to `to` is refused (empty when it may be followed):
    // redirectsSoFar counts the ones already followed. A redirect never leaves http(s), never
    // goes from https to http and never exceeds the limit.
    static std::string RedirectRefusal(std::string_view from, std::string_view to,
                                       int redirectsSoFar, const SLimits& limits);

    // How a transfer ended, as the download saw it: what tells whether the body is whole.
    struct SBodyEnd {
        std::optional<uint64_t> announcedLength; // the Content-Length, when there was one
        bool chunked = false;                    // a chunked body whose end the transfer checked
        bool localFile = false;                  // a file: address, read to its end
        uint64_t received = 0;
        bool endsWithLineEnd = false; // the last bytes were CR LF
    };
    // Why a downloaded body cannot be taken as whole (empty when it can). A body is whole
    // when its announced length was received, or its chunked encoding ended properly, or it
    // is a local file read to its end; and, unless it is empty, it ends with a line end.
    // Anything else may be cut off at a line boundary, and a shorter food database must not
    // replace the user's as if it were the whole one.
    static std::string IncompleteBodyText(const SBodyEnd& end);

    // "Internet Connection: %s".
    static std::string ConnectionLine(bool online);
    static constexpr std::string_view kDownloadingLine =
        "Internet Connection:  Downloading information... please wait.";
    static constexpr std::string_view kCaption = "Automatic Update";
    static constexpr std::string_view kSuccessText = "The food database was successfully updated.";
    // A downloaded file with a bad line. Nothing was imported: the whole file is checked before
    // the database is touched, so the text says so instead of claiming a partial import.
    static std::string BadLineText(long lineNumber);
    // An error of the transfer, cut to the 255 characters a message may show.
    static std::string TransferErrorText(std::string_view error);
};

} // namespace fitquill
