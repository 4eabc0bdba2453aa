// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

#include <string>

namespace fitquill {

class CDietData;

// One pane of the day entry tabs: a title, the pane's own controls and, at the bottom, the
// day's water count. A pane re-reads the current day on every refresh of the views and writes
// each change back at once.
class CDayEntryPane : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxWater = 99;

    CDayEntryPane(CDietData& data, const QString& title, QWidget* parent = nullptr);

    // Shows the current day; the base shows the water count.
    virtual void Refresh();
    // Stores edits that are still pending in the pane's boxes (before the tabs switch).
    virtual void StorePending() {}
    // The control that takes the focus when the pane is shown.
    virtual QWidget* FirstControl();

    QSpinBox* WaterBox() const { return m_water; }

protected:
    // Where a pane puts its controls, between the title and the water count.
    QVBoxLayout* Body() const { return m_body; }
    // Shows a stored value in a box, unless the box holds a value the user typed and has not
    // handed over yet; an unchanged text is left alone, so a caret in it does not move.
    static void ShowStored(QLineEdit* box, const QString& text);
    // Forgets what was typed and not handed over (another day or user is shown).
    virtual void DiscardPending();
    void showEvent(QShowEvent* event) override;

    CDietData& m_data;

private:
    void StoreWater(int glasses);
    void ApplyColors();

    QVBoxLayout* m_body = nullptr;
    QSpinBox* m_water = nullptr;
    std::string m_shownDay; // journal file and date shown last
};

} // namespace fitquill
