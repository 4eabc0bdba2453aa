// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace fitquill {

class CDietData;

// How a user dialog was opened.
enum class EUserDialogMode {
    Plain,     // from the Users dialog: only change the user list
    Switching, // from a command: the chosen or new user is opened
    StartUp,   // at start-up: a choice is forced, the start-up sequence opens the user
};

// The "New User" and "Rename User" dialogs: one name in an edit box, OK and Cancel. The dialog
// stays open while the user list refuses the name.
class CUserNameDialog : public QDialog {
    Q_OBJECT

public:
    // New User in the given mode.
    CUserNameDialog(CDietData& data, EUserDialogMode mode, QWidget* parent = nullptr);
    // Rename User for an existing user.
    CUserNameDialog(CDietData& data, const QString& oldName, QWidget* parent = nullptr);

    bool IsRename() const { return !m_oldName.isNull(); }
    // The name added or given (meaningful after OK).
    QString Name() const;

    QLineEdit* Edit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build(const QString& title);
    void Refuse(const QString& caption, const QString& text);

    CDietData& m_data;
    EUserDialogMode m_mode;
    QString m_oldName; // null for New User
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace fitquill
