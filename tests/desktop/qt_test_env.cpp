// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every widget test: a QApplication for the whole run, with the program's fonts.
#include "desktop/widgets/fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CQtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        fitquill::RegisterTahoma();
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "fitquill-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new CQtApplicationEnvironment);

} // namespace
