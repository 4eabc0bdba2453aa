// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace fitquill {

// An empty pane in the user's colours, standing where a page or pane of the journal views or
// the food editor goes. It takes the focus like the window it stands for.
class CPlaceholderPane : public QWidget {
    Q_OBJECT

public:
    explicit CPlaceholderPane(const QString& title, QWidget* parent = nullptr);

    const QString& Title() const { return m_title; }
    void SetColors(const QColor& text, const QColor& background);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QColor m_background{255, 255, 192};
};

} // namespace fitquill
