// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace fitquill {

class CInstallAid;

// "Install Handheld Software": queues the handheld application and its databases for a HotSync
// user's next HotSync operation, or starts the Pocket PC setup.
class CInstallDialog : public QDialog {
    Q_OBJECT

public:
    // Starts a program in a folder; false when it could not be started.
    using ProcessStarter = std::function<bool(const QString& program, const QString& folder)>;

    // installPath is the program's installation path (empty when there is none); dataFolder
    // holds the handheld files.
    CInstallDialog(CInstallAid& installAid, QString installPath, std::filesystem::path dataFolder,
                   QWidget* parent = nullptr);

    void SetProcessStarter(ProcessStarter starter) { m_startProcess = std::move(starter); }

    // For tests and the buttons.
    QComboBox* DeviceList() const { return m_devices; }
    QComboBox* UserList() const { return m_users; }
    QLabel* VersionLabel() const { return m_version; }
    void Install();
    void Upgrade();

private:
    void FillUsers();
    void OnDeviceChanged();
    bool PalmSelected() const;
    // Queues the files for the selected user; false (after the message) when that failed.
    bool QueueFor(const std::vector<std::string>& files);
    void StartPocketPcSetup();

    CInstallAid& m_installAid;
    QString m_installPath;
    std::filesystem::path m_dataFolder;
    ProcessStarter m_startProcess;
    QLabel* m_version = nullptr;
    QComboBox* m_devices = nullptr;
    QLabel* m_userLabel = nullptr;
    QComboBox* m_users = nullptr;
    QLabel* m_instructions = nullptr;
};

// The command "Install Handheld Software...".
void RunInstallHandheldSoftware(const QString& installPath, const QString& palmDesktopFolder,
                                QWidget* parent);

} // namespace fitquill
