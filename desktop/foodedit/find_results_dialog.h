// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QListWidget;

namespace fitquill {

class CFoodDB;

// "Find Results": the names of the food items the last search found, the first selected. On
// OK Group(), Category() and Item() address the chosen one.
class CFindResultsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CFindResultsDialog(const CFoodDB& db, QWidget* parent = nullptr);

    int Group() const { return m_group; }
    int Category() const { return m_category; }
    int Item() const { return m_item; }
    QListWidget* List() const { return m_list; }

    void accept() override;

private:
    const CFoodDB& m_db;
    QListWidget* m_list = nullptr;
    int m_group = -1;
    int m_category = -1;
    int m_item = -1;
};

} // namespace fitquill
