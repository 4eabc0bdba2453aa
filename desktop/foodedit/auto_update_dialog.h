// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_update.h"
#include "desktop/foodedit/food_data_download.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;

namespace fitquill {

class CDietData;

// Whether the machine is online, and the chance to bring it online.
class IConnectivity {
public:
    virtual ~IConnectivity() = default;
    virtual bool IsOnline() = 0;
    // Tries to bring the machine online; true when it now is.
    virtual bool Connect() = 0;
};

// From Qt's network information where the system tells it; where it cannot tell, the machine
// counts as online. There is nothing to dial on a desktop of today, so Connect only looks again.
class CSystemConnectivity : public IConnectivity {
public:
    bool IsOnline() override;
    bool Connect() override { return IsOnline(); }
};

// "Automatic Update": downloads one of the two food-data files and imports it into the open
// user's food database. The download runs on a worker thread; the file is imported into a
// copy of the database first, so that a file that does not import cleanly changes nothing.
class CAutoUpdateDialog : public QDialog {
    Q_OBJECT

public:
    // dataFolder holds the shipped food-data files that the update reads by default;
    // localFile is where the download is kept until it is imported.
    CAutoUpdateDialog(CDietData& data, IConnectivity& connectivity, QString dataFolder,
                      QString localFile, QWidget* parent = nullptr);
    ~CAutoUpdateDialog() override;

    // For tests.
    void SetLimits(const SFoodUpdate::SLimits& limits) { m_limits = limits; }
    void SetChoice(EFoodUpdateChoice choice);
    EFoodUpdateChoice Choice() const;
    QPushButton* UpdateButton() const { return m_update; }
    QString ConnectionText() const;
    bool IsDownloading() const { return m_download && m_download->IsRunning(); }

    // The Update button.
    void Update();
    void reject() override;

    // The local file of the running program: temp.csv in the user's cache folder.
    static QString DefaultLocalFile();

signals:
    // A download has ended and its outcome was handled.
    void UpdateEnded();

private:
    void ShowConnection();
    void OnDownloaded(const SDownloadOutcome& outcome);
    void Import();
    void EndUpdate();

    CDietData& m_data;
    IConnectivity& m_connectivity;
    QString m_dataFolder;
    QString m_localFile;
    SFoodUpdate::SLimits m_limits;
    QLabel* m_connection = nullptr;
    QRadioButton* m_extensions = nullptr;
    QRadioButton* m_reload = nullptr;
    QPushButton* m_update = nullptr;
    QPushButton* m_close = nullptr;
    std::unique_ptr<CFoodDataDownload> m_download;
    EFoodUpdateChoice m_running = EFoodUpdateChoice::Extensions;
};

// The command "Automatic Update...": the dialog for the open user.
void RunAutomaticUpdate(CDietData& data, QWidget* parent);

} // namespace fitquill
