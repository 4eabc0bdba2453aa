// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/clock.h"
#include "core/journal/day_record.h"
#include "desktop/document/diet_data.h"
#include "desktop/print/print_engine.h"
#include "desktop/views/report_renderer.h"

#include <QPainter>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace fitquill::test {

// What a test renderer was asked to draw.
struct SDrawCall {
    EReportKind kind;
    CJournalDate scopeDay;
    CJournalDate currentDay; // the document's current day while drawing
    int first;
    int last;
};

// A report of `count` units of `height` device units each (per unit when `heights` is set);
// it remembers the document's current day whenever it is asked for its units.
class CTestRenderer : public IReportRenderer {
public:
    CTestRenderer(EReportKind kind, CDietData& data, int count, int height,
                  std::vector<SDrawCall>& draws)
        : m_kind(kind), m_data(data), m_count(count), m_height(height), m_draws(draws) {}

    int UnitCount(const SReportScope& scope) override {
        countedDays.push_back(m_data.Journal().CurrentDate());
        scopes.push_back(scope);
        return m_count;
    }
    int UnitHeight(QPainter&, const SReportScope&, int unit, int) override {
        return heights.empty() ? m_height : heights.at(static_cast<size_t>(unit));
    }
    // Writes "unit N of DAY" for every unit, one under the other, so that a printout shows
    // what went where.
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override {
        m_draws.push_back({m_kind, scope.day, m_data.Journal().CurrentDate(), first, last});
        const int line = painter.fontMetrics().height();
        for (int unit = first; unit <= last; ++unit) {
            painter.drawText(rect.left(), rect.top() + (unit - first + 1) * line,
                             QStringLiteral("unit %1 of %2/%3")
                                 .arg(unit)
                                 .arg(scope.day.Month())
                                 .arg(scope.day.Day()));
        }
    }

    std::vector<int> heights;
    std::vector<CJournalDate> countedDays;
    std::vector<SReportScope> scopes;

private:
    EReportKind m_kind;
    CDietData& m_data;
    int m_count;
    int m_height;
    std::vector<SDrawCall>& m_draws;
};

inline CJournalDate D(int day, int month, int year) {
    return CJournalDate(day, month, year);
}

// A document with an empty journal positioned on its fixed today, 15 March 2024, no report
// selected, and an engine whose renderers are test renderers.
class PrintTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
        SDietDataSetup setup;
        setup.installPath = SInstallPath{true, m_folder.path().toStdString() + "/"};
        m_data = std::make_unique<CDietData>(std::move(setup));
        for (int report = 0; report < CDietData::kReportCount; ++report)
            m_data->SetReportFlag(report, false);
    }
    void TearDown() override {
        m_engine.reset();
        m_data.reset();
        CClock::SetFixedDate(std::nullopt);
    }

    void AddDay(const CJournalDate& date) { m_data->Journal().InsertDay(CDayRecord(date)); }

    // Selects a report and gives it a test renderer of count units of height each.
    CTestRenderer& Report(EReportKind kind, int count, int height) {
        m_data->SetReportFlag(static_cast<int>(kind), true);
        auto renderer = std::make_unique<CTestRenderer>(kind, *m_data, count, height, m_draws);
        CTestRenderer& kept = *renderer;
        m_made[kind] = std::move(renderer);
        return kept;
    }

    // Hands out the renderers that Report() made (each once); null for the others.
    ReportRendererFactory Factory() {
        return [this](EReportKind kind) -> std::unique_ptr<IReportRenderer> {
            auto it = m_made.find(kind);
            return it == m_made.end() ? nullptr : std::move(it->second);
        };
    }

    CPrintEngine& Engine() {
        if (!m_engine)
            m_engine = std::make_unique<CPrintEngine>(*m_data, Factory());
        return *m_engine;
    }

    QTemporaryDir m_folder;
    std::unique_ptr<CDietData> m_data;
    std::unique_ptr<CPrintEngine> m_engine;
    std::map<EReportKind, std::unique_ptr<CTestRenderer>> m_made;
    std::vector<SDrawCall> m_draws;
};

} // namespace fitquill::test
