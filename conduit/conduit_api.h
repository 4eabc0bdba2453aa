// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The contract between a conduit module (Fitquill.so, the journal; Larderon.so, the food
// database) and the HotSync Manager that loads it with dlopen. The module exports exactly the
// six functions below, with C linkage. Every record passed to them is a byte block whose
// fields sit at fixed offsets; integers are little-endian, texts are NUL-terminated within
// their field. Build the records byte by byte from the offsets here: no struct layout is shared.
//
// Context of a run that the records do not carry (read from the process environment when
// OpenConduit is called; the HotSync Manager sets these before the call):
//   FITQUILL_HANDHELD_DIR  the handheld's folder of .pdb files that the module's Sync Manager
//                          opens. Unset or empty: the handheld database cannot be opened and
//                          the run fails with "error opening channel".
//   FITQUILL_HOTSYNC_LOG   a file to which the module appends its HotSync log entries, one line
//                          each: the activity code in decimal, a TAB, the text, a LF (control
//                          characters of the text become spaces). The HotSync Manager reads the
//                          lines after the call and adds them to its log in order. Unset or
//                          empty: the module writes the entries as a session of its own to the
//                          HotSync log ("HotSync.Log") of the user's folder (the path name).
//   FITQUILL_PALM_ROOT     the Palm Desktop folder (users root) when the settings name none,
//                          as for the desktop program; settings come from the same
//                          Quorvel/Fitquill.conf files (XDG_CONFIG_HOME, XDG_CONFIG_DIRS).
//   FITQUILL_RUNTIME_DIR   (else XDG_RUNTIME_DIR) the folder of the desktop program's presence
//                          socket, through which the module asks whether it runs.
//   FITQUILL_TODAY         a fixed date YYYY-MM-DD for "today" (the history trim).
//
// Configuration dialogs are Qt widgets shown from inside the module: it uses the host's
// QApplication, or creates one for the time of the dialog when the host has none and a display
// is available (QT_QPA_PLATFORM, DISPLAY or WAYLAND_DISPLAY set); otherwise the dialog cannot
// be shown and the call reports that as described below.

#include <cstdint>

#if defined(_WIN32)
#if defined(FITQUILL_CONDUIT_BUILD)
#define FITQUILL_CONDUIT_EXPORT __declspec(dllexport)
#else
#define FITQUILL_CONDUIT_EXPORT __declspec(dllimport)
#endif
#elif defined(FITQUILL_CONDUIT_BUILD)
#define FITQUILL_CONDUIT_EXPORT __attribute__((visibility("default")))
#else
#define FITQUILL_CONDUIT_EXPORT
#endif

extern "C" {

// Runs one synchronisation with the HotSync action of the sync properties record. `progress`
// is not used. Always returns 0: the outcome goes to the HotSync log only.
FITQUILL_CONDUIT_EXPORT int32_t OpenConduit(void* progress, const void* syncProperties);
// The conduit's name ("Fitquill" or "Larderon"), at most length - 1 characters and a NUL.
// 0, or -1 when nothing was copied (no buffer, length 0 or 1).
FITQUILL_CONDUIT_EXPORT int32_t GetConduitName(char* buffer, uint16_t length);
// 4 for the journal conduit, 0x300 for the food conduit.
FITQUILL_CONDUIT_EXPORT uint32_t GetConduitVersion(void);
// Query 0: the name (input: a name-query record); 1: the class-library version (4-byte
// output); 2: the default HotSync action (4-byte output). Results: the kConduitErr* codes.
FITQUILL_CONDUIT_EXPORT int32_t GetConduitInfo(int32_t query, const void* input, void* output,
                                               uint32_t* outputSize);
// Shows the "Change HotSync Action" dialog for a preference record. 0 after OK (offsets 0x204
// and 0x208 written), -1 after Cancel, when the dialog cannot be shown or without a record.
FITQUILL_CONDUIT_EXPORT int32_t ConfigureConduit(void* preference);
// Shows the dialog with the user's current settings on a configuration record, which it
// writes in place on OK. 0 whatever the user chose, or a kConduitErr* code.
FITQUILL_CONDUIT_EXPORT int32_t CfgConduit(int32_t kind, void* configuration,
                                           uint32_t* configurationSize);

} // extern "C"

namespace fitquill {

// Types for dlsym.
using OpenConduitFunction = int32_t (*)(void*, const void*);
using GetConduitNameFunction = int32_t (*)(char*, uint16_t);
using GetConduitVersionFunction = uint32_t (*)();
using GetConduitInfoFunction = int32_t (*)(int32_t, const void*, void*, uint32_t*);
using ConfigureConduitFunction = int32_t (*)(void*);
using CfgConduitFunction = int32_t (*)(int32_t, void*, uint32_t*);

// HotSync actions. Every value other than 0 to 3 does nothing.
constexpr int32_t kHotSyncActionFast = 0;
constexpr int32_t kHotSyncActionSlow = 1;
constexpr int32_t kHotSyncActionHandheldToDesktop = 2;
constexpr int32_t kHotSyncActionDesktopToHandheld = 3;
constexpr int32_t kHotSyncActionDoNothing = 6;

// Preference kinds.
constexpr int32_t kPreferencePermanent = 1;
constexpr int32_t kPreferenceTemporary = 2;

// GetConduitInfo queries and the results of GetConduitInfo and CfgConduit.
constexpr int32_t kConduitQueryName = 0;
constexpr int32_t kConduitQueryClassVersion = 1;
constexpr int32_t kConduitQueryDefaultAction = 2;
constexpr uint32_t kConduitClassVersion = 0x10000000;
constexpr int32_t kConduitErrUnknownQuery = 0x1070;
constexpr int32_t kConduitErrOutputMissing = 0x1071;
constexpr int32_t kConduitErrOutputSize = 0x1073;
constexpr int32_t kConduitErrInputMissing = 0x1074; // also: no configuration record
constexpr int32_t kConduitErrInputInvalid = 0x1075;
constexpr int32_t kConduitErrNoName = 0x1076;
constexpr int32_t kConduitErrOutputSizeMissing = 0x1077;
constexpr int32_t kConduitErrConfigSizeMissing = 0x1078;
constexpr int32_t kConduitErrConfigKind = 0x1079;
constexpr int32_t kConduitErrConfigSize = 0x107A;
constexpr int32_t kConduitErrConfigVersion = 0x107B;

// Sync properties record (OpenConduit), at least kSyncPropertiesSize bytes:
//   0x000  int32    HotSync action
//   0x004  char[256] path name: the user's desktop folder
//   0x104  char[256] local name: the conduit's registered local file name, relative to it
//   0x204  char[256] user name
//   0x304  pointer  first remote database name (a NUL-terminated text of at most 31
//                   characters); as wide as a pointer (8 bytes on x86-64), copied with memcpy
//   0x38C  uint32   creator ID
//   0x390  uint16   card number
// Bytes not named here are not read.
constexpr uint32_t kSyncPropsAction = 0x000;
constexpr uint32_t kSyncPropsPathName = 0x004;
constexpr uint32_t kSyncPropsLocalName = 0x104;
constexpr uint32_t kSyncPropsUserName = 0x204;
constexpr uint32_t kSyncPropsRemoteName = 0x304;
constexpr uint32_t kSyncPropsCreator = 0x38C;
constexpr uint32_t kSyncPropsCardNumber = 0x390;
constexpr uint32_t kSyncPropsTextSize = 256;
constexpr uint32_t kSyncPropertiesSize = 0x392;

// Preference record (ConfigureConduit), at least kPreferenceSize bytes:
//   0x204  int32  preference kind, written on OK (1 permanent, 2 this HotSync only)
//   0x208  int32  HotSync action, read, and written on OK
constexpr uint32_t kPreferenceKind = 0x204;
constexpr uint32_t kPreferenceAction = 0x208;
constexpr uint32_t kPreferenceSize = 0x20C;

// Configuration record (CfgConduit and the dialogs), kConfigurationSize bytes:
//   0x000  int32    record version, must be 1
//   0x004  uint32   record size (0x160)
//   0x008  uint32   creator ID; non-zero: the dialog shows the user's current settings
//   0x00C  uint32   user ID
//   0x010  char[64] user name
//   0x050  256 bytes not used
//   0x150  int32    permanent (default) action, read
//   0x154  int32    next action, read: preselects the dialog
//   0x158  int32    new action, written on OK
//   0x15C  int32    preference kind, written on OK
constexpr uint32_t kConfigVersion = 0x000;
constexpr uint32_t kConfigSize = 0x004;
constexpr uint32_t kConfigCreator = 0x008;
constexpr uint32_t kConfigUserId = 0x00C;
constexpr uint32_t kConfigUserName = 0x010;
constexpr uint32_t kConfigUserNameSize = 64;
constexpr uint32_t kConfigPermanentAction = 0x150;
constexpr uint32_t kConfigNextAction = 0x154;
constexpr uint32_t kConfigNewAction = 0x158;
constexpr uint32_t kConfigPreferenceKind = 0x15C;
constexpr uint32_t kConfigurationSize = 0x160;

// Name-query record (GetConduitInfo query 0 input), kNameQuerySize bytes: version 1 at 0x00,
// size 0x50 at 0x04, then creator ID (0x08), user ID (0x0C) and user name (0x10, 64 bytes)
// as in the configuration record.
constexpr uint32_t kNameQuerySize = 0x50;

// Registration the conduits expect of the HotSync Manager. The local name, with its last four
// characters replaced by ".ddb", leads from the user's folder to the journal file; the food
// conduit finds its file from the same user folder.
constexpr char kJournalRemoteDatabase[] = "FQA-AppDB";
constexpr char kFoodRemoteDatabase[] = "FQA-FoodDB";
constexpr char kJournalLocalName[] = "Fitquill/UserDB.dat";
constexpr char kFoodLocalName[] = "Fitquill/FoodDB.dat";
constexpr uint32_t kConduitCreator = 0x46517569; // 'FQui', the handheld application

// The environment variables of the run's context (see the top of this file).
constexpr char kHandheldFolderVariable[] = "FITQUILL_HANDHELD_DIR";
constexpr char kHotSyncLogVariable[] = "FITQUILL_HOTSYNC_LOG";

} // namespace fitquill
