// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/frame/user_name_dialog.h"

#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;

namespace fitquill {

class CDietData;

// The "Users" dialog: chooses the user to open and adds, deletes and renames users. Opened in
// switching mode (the chosen user is opened here) or start-up mode (a choice is forced; the
// start-up sequence opens it).
class CUsersDialog : public QDialog {
    Q_OBJECT

public:
    CUsersDialog(CDietData& data, EUserDialogMode mode, QWidget* parent = nullptr);

    // The name chosen with OK.
    const QString& ChosenName() const { return m_chosen; }

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* NewButton() const { return m_new; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* RenameButton() const { return m_rename; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Fills the list with all users and selects `name`, else the first entry.
    void Refill(const QString& name);
    QString SelectedName() const;
    void OnNew();
    void OnDelete();
    void OnRename();

    CDietData& m_data;
    EUserDialogMode m_mode;
    QString m_chosen;
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_rename = nullptr;
};

} // namespace fitquill
