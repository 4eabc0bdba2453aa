// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration dialogs of the built modules in a host that has a QApplication, answered
// from inside their event loop the way a user would.
#include "conduit/conduit_api.h"
#include "tests/conduit/conduit_test_support.h"
#include "tests/conduit/dialog_driver.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include <dlfcn.h>

using namespace fitquill;
using namespace fitquill::testing;

namespace {

class CQtHost : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "hotsync-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kQtHost =
    ::testing::AddGlobalTestEnvironment(new CQtHost);

struct SModule {
    ConfigureConduitFunction configure = nullptr;
    CfgConduitFunction cfg = nullptr;
};

SModule Load(const char* path) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle, nullptr) << dlerror();
    return {reinterpret_cast<ConfigureConduitFunction>(dlsym(handle, "ConfigureConduit")),
            reinterpret_cast<CfgConduitFunction>(dlsym(handle, "CfgConduit"))};
}

const SModule& Journal() {
    static const SModule module = Load(FITQUILL_JOURNAL_CONDUIT);
    return module;
}

const SModule& Food() {
    static const SModule module = Load(FITQUILL_FOOD_CONDUIT);
    return module;
}

template <class T> T* Control(QDialog& dialog, const char* name) {
    T* control = dialog.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// The action buttons that are on, by object name.
std::vector<std::string> Checked(QDialog& dialog) {
    std::vector<std::string> names;
    for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
        if (button->isChecked())
            names.push_back(button->objectName().toStdString());
    }
    return names;
}

std::vector<uint8_t> Configuration(uint32_t creator, int32_t permanent, int32_t next) {
    std::vector<uint8_t> record(0x160, 0);
    Put32(record, 0x000, 1);
    Put32(record, 0x004, 0x160);
    Put32(record, 0x008, creator);
    Put32(record, 0x00C, 4242);
    std::memcpy(record.data() + 0x010, "Ann", 3);
    Put32(record, 0x150, static_cast<uint32_t>(permanent));
    Put32(record, 0x154, static_cast<uint32_t>(next));
    return record;
}

TEST(ConduitDialog, NextActionFivePreselectsDoNothingAndOkStoresSix) {
    std::vector<uint8_t> preference(0x20C, 0);
    Put32(preference, 0x204, 0x77);
    Put32(preference, 0x208, 5);
    CDialogDriver driver([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Fitquill");
        EXPECT_EQ(Control<QGroupBox>(dialog, "control403")->title(), "HotSync Action for Fitquill");
        EXPECT_EQ(Checked(dialog), std::vector<std::string>{"control407"});
        EXPECT_EQ(dialog.findChild<QGroupBox*>("control1006"), nullptr);
        Control<QAbstractButton>(dialog, "ok")->click();
    });
    EXPECT_EQ(Journal().configure(preference.data()), 0);
    EXPECT_TRUE(driver.DialogSeen());
    EXPECT_EQ(Get32(preference, 0x208), 6u);
    EXPECT_EQ(Get32(preference, 0x204), 2u);
}

TEST(ConduitDialog, CancelledConfigurationChangesNothing) {
    std::vector<uint8_t> preference(0x20C, 0x5A);
    Put32(preference, 0x204, 1);
    Put32(preference, 0x208, 3);
    const auto before = preference;
    CDialogDriver driver([](QDialog& dialog) {
        EXPECT_EQ(Checked(dialog), std::vector<std::string>{"control405"});
        Control<QAbstractButton>(dialog, "control404")->click();
        EXPECT_EQ(Checked(dialog), std::vector<std::string>{"control404"});
        Control<QAbstractButton>(dialog, "cancel")->click();
    });
    EXPECT_EQ(Food().configure(preference.data()), -1);
    EXPECT_TRUE(driver.DialogSeen());
    EXPECT_EQ(preference, before);
}

TEST(ConduitDialog, CurrentSettingsShownAndChoiceWrittenIntoTheRecord) {
    std::vector<uint8_t> record = Configuration(0x46517569, 0, 3);
    CDialogDriver driver([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Larderon");
        EXPECT_EQ(Control<QGroupBox>(dialog, "control1006")->title(), "Ann's Current Settings:");
        EXPECT_EQ(Control<QLabel>(dialog, "control1004")->text(), "Synchronize the files.");
        EXPECT_EQ(Control<QLabel>(dialog, "control1005")->text(),
                  "Desktop overwrites Palm organizer.");
        Control<QAbstractButton>(dialog, "control406")->click();
        Control<QCheckBox>(dialog, "control411")->setChecked(true);
        Control<QAbstractButton>(dialog, "ok")->click();
    });
    uint32_t size = 0x160;
    EXPECT_EQ(Food().cfg(0, record.data(), &size), 0);
    EXPECT_TRUE(driver.DialogSeen());
    EXPECT_EQ(Get32(record, 0x158), 2u);
    EXPECT_EQ(Get32(record, 0x15C), 1u);

    // Cancel: still 0, and the record stays as it was.
    const auto before = record;
    CDialogDriver cancel(
        [](QDialog& dialog) { Control<QAbstractButton>(dialog, "cancel")->click(); });
    EXPECT_EQ(Journal().cfg(0, record.data(), &size), 0);
    EXPECT_TRUE(cancel.DialogSeen());
    EXPECT_EQ(record, before);
}

TEST(ConduitDialog, RefusedConfigurationShowsNoDialog) {
    std::vector<uint8_t> record = Configuration(1, 0, 0);
    const auto before = record;
    CDialogDriver driver([](QDialog& dialog) { dialog.reject(); });
    uint32_t size = 0x15F;
    EXPECT_EQ(Journal().cfg(0, record.data(), &size), 0x107A);
    // A dialog would have run its event loop, and the driver would have seen it there.
    EXPECT_FALSE(driver.DialogSeen());
    EXPECT_EQ(record, before);
}

} // namespace
