// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/body_measurements.h"
#include "desktop/views/dayentry/day_entry_pane.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QStackedWidget;

namespace fitquill {

// "Body Measurements": the eight girths with help topics, or the percent body fat.
class CMeasurementsPane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CMeasurementsPane(CDietData& data, QWidget* parent = nullptr);

    void Refresh() override;
    void StorePending() override;
    QWidget* FirstControl() override;

    QLineEdit* GirthBox(int girth) const { return m_girths[static_cast<size_t>(girth)]; }
    QListWidget* Topics() const { return m_topics; }
    QLabel* HelpText() const { return m_help; }
    QRadioButton* BodyFatChoice() const { return m_bodyFatChoice; }
    QCheckBox* Automatic() const { return m_automatic; }
    QLineEdit* PercentBox() const { return m_percent; }
    QLabel* PercentText() const { return m_percentText; }

protected:
    void DiscardPending() override;

private:
    QWidget* BuildGirthView();
    QWidget* BuildBodyFatView();
    bool AnyModified() const;

    QRadioButton* m_girthChoice = nullptr;
    QRadioButton* m_bodyFatChoice = nullptr;
    QStackedWidget* m_views = nullptr;
    std::array<QLineEdit*, kGirthCount> m_girths{};
    std::array<QLabel*, kGirthCount> m_units{};
    QListWidget* m_topics = nullptr;
    QLabel* m_help = nullptr;
    QCheckBox* m_automatic = nullptr;
    QLineEdit* m_percent = nullptr;
    QLabel* m_percentText = nullptr;
    bool m_automaticChanged = false;
};

} // namespace fitquill
