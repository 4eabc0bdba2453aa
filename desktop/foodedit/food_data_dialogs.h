// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_csv.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;

namespace fitquill {

class CDietData;

// "Export Food Data" (all groups, one group or one category) and, with the food selectors
// hidden, "Export User Data". The file is chosen through a save-file dialog; OK is enabled
// once there is one.
class CExportDialog : public QDialog {
    Q_OBJECT

public:
    enum class EKind { FoodData, UserData };

    // group/category preset the selectors (-1: "All Food Groups" / "All Categories").
    CExportDialog(CDietData& data, EKind kind, int group, int category, QWidget* parent = nullptr);

    void SetFile(const QString& path);
    const QString& File() const { return m_file; }
    QLabel* FileLabel() const { return m_fileLabel; }
    QComboBox* GroupCombo() const { return m_groupCombo; }
    QComboBox* CategoryCombo() const { return m_categoryCombo; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    void accept() override;

private:
    void Browse();
    void FillCategories(int select);

    CDietData& m_data;
    EKind m_kind;
    QString m_file;
    QLabel* m_fileLabel = nullptr;
    QComboBox* m_groupCombo = nullptr;
    QComboBox* m_categoryCombo = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

// "Import Food Data": a file chosen through an open-file dialog and one of the four merge
// modes. Import asks to save first when the journal has unsaved changes.
class CImportDialog : public QDialog {
    Q_OBJECT

public:
    // Imports of more lines than this show their progress.
    static constexpr size_t kProgressLines = 3000;

    explicit CImportDialog(CDietData& data, QWidget* parent = nullptr);

    void SetFile(const QString& path);
    const QString& File() const { return m_file; }
    int Mode() const;
    void SetMode(int mode);
    QLabel* FileLabel() const { return m_fileLabel; }
    QPushButton* ImportButton() const { return m_import; }
    // Whether an import ran to its end in this dialog.
    bool Imported() const { return m_imported; }

    void Import();

private:
    void Browse();

    CDietData& m_data;
    QString m_file;
    QLabel* m_fileLabel = nullptr;
    QButtonGroup* m_modes = nullptr;
    QPushButton* m_import = nullptr;
    bool m_imported = false;
};

// The commands that open these dialogs.
void ExportFoodData(CDietData& data, QWidget* parent, int group = -1, int category = -1);
void ExportUserData(CDietData& data, QWidget* parent);
void ImportFoodData(CDietData& data, QWidget* parent);
// Before an import into the food database: while the journal has unsaved changes, asks whether
// to save first (caption: the asking dialog's title). False when the import is not to go on
// (Cancel, or a save that failed and was reported).
bool SaveBeforeFoodImport(CDietData& data, QWidget* owner);
// Before a finished import into a copy (`imported`) takes the place of the open food database:
// a replace that would remove more than half of the foods is asked about (default No), and an
// import that replaces (modes 0 and 1) first keeps the database file as FoodDB.ddb.before-import.
// False when the import is not to go on: the answer was No, or the copy could not be kept
// (reported). A failed import is not asked about; its partial result replaces as documented.
bool ConfirmFoodReplace(CDietData& data, QWidget* owner, const CFoodDB& imported,
                        const SFoodImportResult& result, EFoodImportMode mode);

} // namespace fitquill
